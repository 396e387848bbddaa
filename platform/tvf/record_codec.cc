#include "record_codec.h"

#include <cstring>

#include "coding.h"

namespace tvf {

char *RecordEncoder::Encode(const int32_t *key, const double *values, char *out) {
  int p = 0;
  while (p < dim_ && key[p] == previous_[p]) ++p;
  if (p == dim_) p = 0;  // a scalar (dim 0); equal keys never reach here otherwise

  ValueKind kinds[kMaxValues];
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
    for (int i = p + 1; i < dim_; ++i) q = EncodeVarint32(q, static_cast<uint32_t>(key[i] - 1));
    std::memcpy(previous_, key, sizeof(int32_t) * static_cast<size_t>(dim_));
  }
  for (int v = 0; v < value_count_; ++v) {
    if (kinds[v] == ValueKind::kRaw) {
      uint64_t bits;
      std::memcpy(&bits, &values[v], sizeof bits);
      EncodeFixed64(q, bits);
      q += 8;
    }
  }
  return q;
}

void RecordDecoder::Reset(const char *data, size_t size, int dim, int value_count, uint32_t label_count,
                          const int32_t *floor) {
  p_ = data;
  limit_ = data + size;
  dim_ = dim;
  value_count_ = value_count;
  label_count_ = label_count;
  first_ = true;
  has_floor_ = floor != nullptr;
  if (has_floor_) std::memcpy(floor_, floor, sizeof(int32_t) * static_cast<size_t>(dim));
  std::memset(previous_, 0, sizeof previous_);
}

DecodeStatus RecordDecoder::Next(const SpecialValues &specials, int32_t *key, double *values, int *first_changed,
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
  std::memcpy(key, previous_, sizeof(int32_t) * static_cast<size_t>(dim_));
  *first_changed = p;
  return DecodeStatus::kOk;
}

}  // namespace tvf
