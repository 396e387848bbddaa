// Encoding and decoding of the records of one chunk (layout in record_format.h). The encoder trusts its
// caller to hand records in strictly ascending key order with labels in range; the decoder trusts nothing
// and reports malformed input and out-of-range labels.
#ifndef TVF_RECORD_CODEC_H
#define TVF_RECORD_CODEC_H

#include <cstdint>
#include <cstring>

#include "coding.h"
#include "record_format.h"
#include "special_values.h"

namespace tvf {

class RecordEncoder {
 public:
  RecordEncoder(int dim, int value_count, const SpecialValues *specials)
      : dim_(dim), value_count_(value_count), specials_(specials) {
    Reset();
  }

  // Starts a new chunk: the next record is coded against an all-zero key.
  void Reset() {
    for (int i = 0; i < kMaxDim; ++i) previous_[i] = 0;
  }

  // Writes one record at out, which has room for kMaxRecordSize bytes; returns the end of it.
  // REQUIRES: key greater than the previous key of this chunk, labels >= 1.
  char *Encode(const int32_t *key, const double *values, char *out) {
    int p = 0;
    while (p < dim_ && key[p] == previous_[p]) ++p;
    if (p == dim_) p = 0;  // a scalar (dim 0); equal keys never reach here otherwise

    ValueKind kinds[kMaxValues] = {};
    for (int v = 0; v < value_count_; ++v) kinds[v] = specials_->Classify(values[v]);
    char *q = out;
    *q++ = static_cast<char>(p | (static_cast<int>(kinds[0]) << 5));
    if (value_count_ == kMaxValues) {
      unsigned packed = static_cast<unsigned>(kinds[1]) | static_cast<unsigned>(kinds[2]) << 3 |
                        static_cast<unsigned>(kinds[3]) << 6 | static_cast<unsigned>(kinds[4]) << 9;
      *q++ = static_cast<char>(packed);
      *q++ = static_cast<char>(packed >> 8);
    }
    if (dim_ > 0) {
      q = EncodeVarint32(q, static_cast<uint32_t>(key[p] - previous_[p] - 1));
      previous_[p] = key[p];
      for (int i = p + 1; i < dim_; ++i) {
        q = EncodeVarint32(q, static_cast<uint32_t>(key[i] - 1));
        previous_[i] = key[i];
      }
    }
    for (int v = 0; v < value_count_; ++v) {
      if (kinds[v] == ValueKind::kRaw) {
        std::memcpy(q, &values[v], 8);  // the format is little-endian, as is this machine
        q += 8;
      }
    }
    return q;
  }

 private:
  static constexpr int kMaxDim = 20;
  int dim_;
  int value_count_;
  const SpecialValues *specials_;
  int32_t previous_[kMaxDim];
};

enum class DecodeStatus { kOk, kMalformed, kLabelOutOfRange, kOutOfOrder };

class RecordDecoder {
 public:
  // Decodes a chunk's records [data, data + size) of a symbol of `dim` positions whose labels run from 1 to
  // label_count. `floor` is the last key of the previous chunk (nullptr for the first chunk): the first
  // record must be greater.
  void Reset(const char *data, size_t size, int dim, int value_count, uint32_t label_count, const int32_t *floor);

  bool AtEnd() const { return p_ == limit_; }

  // Decodes the next record into key[0..dim) and values[0..value_count); first_changed receives the
  // 0-based first position that differs from the previous record. On kLabelOutOfRange, *bad_label holds
  // the label number.
  inline DecodeStatus Next(const SpecialValues &specials, int32_t *key, double *values, int *first_changed,
                           int64_t *bad_label);

  const int32_t *last_key() const { return previous_; }

 private:
  static constexpr int kMaxDim = 20;
  const char *p_ = nullptr;
  const char *limit_ = nullptr;
  int dim_ = 0;
  int value_count_ = 1;
  uint32_t label_count_ = 0;
  bool first_ = true;
  bool has_floor_ = false;
  int32_t floor_[kMaxDim] = {};
  int32_t previous_[kMaxDim] = {};
};

// Inline: it runs once per record read.
inline DecodeStatus RecordDecoder::Next(const SpecialValues &specials, int32_t *key, double *values, int *first_changed,
                                        int64_t *bad_label) {
  if (p_ >= limit_) return DecodeStatus::kMalformed;
  const auto lead = static_cast<unsigned char>(*p_++);
  const int p = lead & 0x1f;
  ValueKind kinds[kMaxValues];
  kinds[0] = static_cast<ValueKind>(lead >> 5);
  if (value_count_ == kMaxValues) {
    if (limit_ - p_ < 2) return DecodeStatus::kMalformed;
    unsigned packed = static_cast<unsigned char>(p_[0]) | static_cast<unsigned>(static_cast<unsigned char>(p_[1])) << 8;
    p_ += 2;
    if (packed >> 12) return DecodeStatus::kMalformed;
    for (int v = 1; v < kMaxValues; ++v) kinds[v] = static_cast<ValueKind>((packed >> (3 * (v - 1))) & 7);
  }

  // The first record of a chunk has no predecessor: it must name every position.
  if ((dim_ == 0 && p != 0) || (dim_ > 0 && p >= dim_) || (first_ && p != 0)) return DecodeStatus::kMalformed;
  if (dim_ > 0) {
    uint32_t delta;
    p_ = DecodeVarint32(p_, limit_, &delta);
    if (p_ == nullptr) return DecodeStatus::kMalformed;
    uint64_t label = uint64_t{static_cast<uint32_t>(previous_[p])} + delta + 1;
    if (label > label_count_) {
      *bad_label = static_cast<int64_t>(label);
      return DecodeStatus::kLabelOutOfRange;
    }
    previous_[p] = static_cast<int32_t>(label);
    for (int i = p + 1; i < dim_; ++i) {
      uint32_t v;
      p_ = DecodeVarint32(p_, limit_, &v);
      if (p_ == nullptr) return DecodeStatus::kMalformed;
      uint64_t absolute = uint64_t{v} + 1;
      if (absolute > label_count_) {
        *bad_label = static_cast<int64_t>(absolute);
        return DecodeStatus::kLabelOutOfRange;
      }
      previous_[i] = static_cast<int32_t>(absolute);
    }
  } else if (!first_) {
    return DecodeStatus::kMalformed;  // a scalar has one record
  }
  if (first_ && has_floor_) {
    // Keys continue to rise from one chunk to the next.
    int i = 0;
    while (i < dim_ && previous_[i] == floor_[i]) ++i;
    if (i == dim_ || previous_[i] < floor_[i]) return DecodeStatus::kOutOfOrder;
  }
  first_ = false;

  for (int v = 0; v < value_count_; ++v) {
    if (kinds[v] == ValueKind::kRaw) {
      if (limit_ - p_ < 8) return DecodeStatus::kMalformed;
      uint64_t bits = DecodeFixed64(p_);
      p_ += 8;
      std::memcpy(&values[v], &bits, sizeof bits);
    } else {
      values[v] = specials.ForTag(kinds[v]);
    }
  }
  for (int i = 0; i < dim_; ++i) key[i] = previous_[i];  // short: a loop beats a call of memcpy
  *first_changed = p;
  return DecodeStatus::kOk;
}

}  // namespace tvf

#endif
