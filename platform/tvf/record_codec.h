// Encoding and decoding of the records of one chunk (layout in record_format.h). The encoder trusts its
// caller to hand records in strictly ascending key order with labels in range; the decoder trusts nothing
// and reports malformed input and out-of-range labels.
#ifndef TVF_RECORD_CODEC_H
#define TVF_RECORD_CODEC_H

#include <cstdint>

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
  char *Encode(const int32_t *key, const double *values, char *out);

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
  DecodeStatus Next(const SpecialValues &specials, int32_t *key, double *values, int *first_changed,
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

}  // namespace tvf

#endif
