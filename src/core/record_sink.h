// RecordSink: where a data source puts the records it reads. A StoreSink stores them in the symbol's own
// record store (loading on demand); the TVF writer has a sink of its own that streams them into a file being
// written. A source knows only this interface.
#pragma once

#include <cstring>

#include "core/record_store.h"
#include "core/symbol.h"

namespace tvb {

class RecordSink {
 public:
  virtual ~RecordSink() = default;

  // key holds 20 label numbers (the first dim count), values 5 doubles (the first only for sets and
  // parameters). May throw std::bad_alloc.
  virtual void put(const int* key, const double* values) = 0;

  // Whether the value of a set record must be a number of this database's element texts (a store), rather than
  // the number the source gives (a file being written takes it as it comes).
  virtual bool wantsDatabaseTextNumbers() const = 0;
};

// Stores records in a symbol; a stored record with the same key gets the new values.
class StoreSink final : public RecordSink {
 public:
  // REQUIRES: sym is not an alias or the Universe.
  explicit StoreSink(tvbSymbol* sym) : store_(sym->records.get()) {}

  void put(const int* key, const double* values) override {
    double* stored = store_->appendIfLast(key);
    if (!stored) stored = store_->values(store_->insert(key).first);
    // Fixed-size copies: millions of records pass here, and a call to memmove per record shows.
    if (store_->valueCount() == 1) {
      stored[0] = values[0];
    } else {
      std::memcpy(stored, values, 5 * sizeof(double));
    }
  }
  bool wantsDatabaseTextNumbers() const override { return true; }

 private:
  RecordStore* store_;
};

}  // namespace tvb
