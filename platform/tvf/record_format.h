// How one record is coded inside a chunk. Records of a chunk are in strictly ascending key order; the key of
// the previous record (all zeros at the start of a chunk) is the reference for the next:
//
//   lead byte    bits 0-4: p, the first key position that differs from the previous record (0 for a scalar);
//                bits 5-7: the kind of value 0
//   kinds        five-value records only: 16 bits little-endian, the kinds of values 1 to 4 at 3 bits each
//                (bits 12-15 zero)
//   key          position p: varint of (key[p] - previous[p] - 1); positions after p: varint of (key - 1);
//                positions before p are the previous record's
//   values       for each value of kind kRaw, in order: its 8 bytes, little-endian
//
// A two-dimensional parameter whose keys step through the last position so costs 1 + 1 + 8 bytes a record.
#ifndef TVF_RECORD_FORMAT_H
#define TVF_RECORD_FORMAT_H

#include <bit>
#include <cstddef>
#include <cstdint>

namespace tvf {

// Values and fixed-width fields are copied as they lie in memory.
static_assert(std::endian::native == std::endian::little, "the TVF coding assumes a little-endian machine");

// The tag of a value: raw bits follow, or one of the special values, or a common constant.
enum class ValueKind : uint8_t { kRaw = 0, kUndf = 1, kNa = 2, kPinf = 3, kMinf = 4, kEps = 5, kZero = 6, kOne = 7 };
inline constexpr int kValueKindCount = 8;

inline constexpr int kMaxValues = 5;
// Lead byte, kinds, 20 varints of at most 5 bytes, five raw values.
inline constexpr size_t kMaxRecordSize = 1 + 2 + 20 * 5 + kMaxValues * 8;

// Values per record of a symbol type: sets and parameters one, variables and equations five.
inline int ValueCountOfType(int type) { return (type == 2 || type == 3) ? 5 : 1; }

}  // namespace tvf

#endif
