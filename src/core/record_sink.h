// RecordSink: where a data source puts the records it reads. A StoreSink stores them in the symbol's own
// record store (loading on demand); the TVF writer has a sink of its own that streams them into a file being
// written. A source knows only this interface.
//
// Storing is the common case, with millions of records per load: it runs inline in the source's loop, without
// a call per record; any other sink receives the records through forward().
#pragma once

#include <cstring>

#include "core/record_store.h"
#include "core/symbol.h"

namespace tvb {

class RecordSink {
 public:
  virtual ~RecordSink() = default;

  // key holds 20 label numbers (the first dim count), values 5 doubles (the first only for sets and
  // parameters). A stored record with the same key gets the new values. May throw std::bad_alloc.
  void put(const int* key, const double* values) {
    if (!store_) return forward(key, values);
    double* stored = store_->valuesToWrite(key);
    // Fixed-size copies: a call to memmove per record shows.
    if (store_->valueCount() == 1) {
      stored[0] = values[0];
    } else {
      std::memcpy(stored, values, 5 * sizeof(double));
    }
  }

  // Whether the value of a set record must be a number of this database's element texts (a store), rather than
  // the number the source gives (a file being written takes it as it comes).
  bool wantsDatabaseTextNumbers() const { return store_ != nullptr; }

 protected:
  // store: where the records go, or null for a sink that forwards them.
  explicit RecordSink(RecordStore* store) : store_(store) {}

  // Takes a record of a sink that does not store.
  virtual void forward(const int* key, const double* values) = 0;

 private:
  RecordStore* store_;
};

// Stores records in a symbol.
class StoreSink final : public RecordSink {
 public:
  // REQUIRES: sym is not an alias or the Universe.
  explicit StoreSink(tvbSymbol* sym) : RecordSink(sym->records.get()) {}

 private:
  void forward(const int*, const double*) override {}
};

}  // namespace tvb
