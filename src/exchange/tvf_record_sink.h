// A record sink that streams records into a TVF file being written (the symbol started there), so that the
// writer copies a symbol still lying in its source without loading it.
#pragma once

#include "core/record_sink.h"
#include "loaders/tvfcc.h"

namespace tvb::exchange {

class TvfRecordSink final : public RecordSink {
 public:
  explicit TvfRecordSink(tvfHandle_t file) : RecordSink(nullptr), file_(file) {}

 private:
  void forward(const int* key, const double* values) override { tvf::ops.tvfDataWriteRaw(file_, key, values); }

  tvfHandle_t file_;
};

}  // namespace tvb::exchange
