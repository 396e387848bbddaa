#include "record_codec.h"

#include <cstring>

#include "coding.h"

namespace tvf {

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

}  // namespace tvf
