// Where a loader puts the records it reads from a data source: into the symbol's own store (on-demand
// loading), or straight into a TVF file being written (streaming, which leaves the symbol untouched).
#pragma once

#include <cstring>

#include "core/symbol.h"
#include "loaders/tvfcc.h"

namespace tvb::exchange {

class RecordTarget {
 public:
  // REQUIRES: sym is not an alias or the Universe. file is null, or a TVF object whose symbol is started.
  RecordTarget(tvbSymbol* sym, tvfHandle_t file) : store_(sym->records.get()), file_(file) {}

  bool streaming() const { return file_ != nullptr; }

  // key holds 20 label numbers (the first dim count), values 5 doubles (the first only for sets and
  // parameters). A stored record with the same key gets the new values. May throw std::bad_alloc.
  void put(const int* key, const double* values) {
    if (file_) {
      tvf::ops.tvfDataWriteRaw(file_, key, values);
      return;
    }
    double* stored = store_->appendIfLast(key);
    if (!stored) stored = store_->values(store_->insert(key).first);
    // Fixed-size copies: millions of records pass here, and a call to memmove per record shows.
    if (store_->valueCount() == 1) {
      stored[0] = values[0];
    } else {
      std::memcpy(stored, values, 5 * sizeof(double));
    }
  }

 private:
  RecordStore* store_;
  tvfHandle_t file_;
};

}  // namespace tvb::exchange
