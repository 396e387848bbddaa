// The special values of a library object: which doubles mean UNDF, NA, PINF, MINF and EPS when records are
// written (they become tags in the file), and which doubles the reader hands back for those tags.
// Matching is by bit pattern, so a NaN is special only when its bits equal the NA (or other) slot exactly;
// every other double, NaNs of other payloads, negative zero and subnormals included, is stored bit-exactly.
#ifndef TVF_SPECIAL_VALUES_H
#define TVF_SPECIAL_VALUES_H

#include <cstdint>
#include <cstring>

#include "record_format.h"

namespace tvf {

// Slots of the 7-entry special-value array of the C interface; entries 5 and 6 are reserved: kept and
// handed back unchanged, without meaning for the file.
enum SpecialSlot { kUndf = 0, kNa = 1, kPinf = 2, kMinf = 3, kEps = 4 };
inline constexpr int kSpecialCount = 5;
inline constexpr int kSpecialArraySize = 7;

class SpecialValues {
 public:
  // Defaults on both sides: UNDF 1.0e300, NA a quiet NaN, PINF and MINF the infinities, EPS the smallest
  // positive subnormal; the reserved entries 0.
  SpecialValues();

  // The 7-entry array in force for writing, respectively for reading (the reserved entries are shared).
  void GetForWriting(double *values) const;
  void GetForReading(double *values) const;
  // Fails (false, the two slots in *first and *second) when two of the five slots have the same bit
  // pattern: a written value could then not say which special value it is. Nothing changes on failure.
  bool SetForWriting(const double *values, int *first, int *second);
  // Any values are accepted: several tags may be read back as the same double.
  void SetForReading(const double *values);

  // The tag of a double about to be written: a special slot, zero or one, or raw.
  ValueKind Classify(double v) const {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < kSpecialCount; ++i) {
      if (bits == write_bits_[i]) return static_cast<ValueKind>(static_cast<int>(ValueKind::kUndf) + i);
    }
    if (bits == 0) return ValueKind::kZero;
    if (bits == kOneBits) return ValueKind::kOne;
    return ValueKind::kRaw;
  }

  // The double handed back for a tag other than kRaw.
  double ForTag(ValueKind kind) const { return tag_values_[static_cast<int>(kind)]; }

 private:
  static constexpr uint64_t kOneBits = 0x3ff0000000000000ULL;

  void UpdateTagValues();

  double write_[kSpecialCount];
  double read_[kSpecialCount];
  double reserved_[kSpecialArraySize - kSpecialCount];
  uint64_t write_bits_[kSpecialCount];
  double tag_values_[kValueKindCount];
};

}  // namespace tvf

#endif
