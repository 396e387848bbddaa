// Where the data of a database came from (initFrom), and the source that still holds the records of symbols
// not yet loaded: a TVF file, a model instance or a host program. Such a symbol is loaded from it the first
// time an operation needs its records (load on demand), and the TVF writer streams its records from it into
// a new file without loading them.
#pragma once

#include <memory>

#include "core/record_sink.h"
#include "core/status.h"
#include "core/symbol.h"

namespace tvb {

enum class InitFrom { FROM_NOSOURCE = 0, FROM_TVF = 1, FROM_TVP = 2, FROM_MEMORY = 3, FROM_CMEX = 4 };

// A source of records: a file, a model or a host program. Each kind lives in the area that knows it.
class RecordSource {
 public:
  virtual ~RecordSource() = default;

  // FROM_TVF, FROM_TVP or FROM_CMEX.
  virtual InitFrom kind() const = 0;

  // Passes every record of sym to sink. REQUIRES: sym is not an alias or the Universe.
  virtual Status read(const tvbSymbol& sym, RecordSink& sink) = 0;
};

class DataSource {
 public:
  InitFrom initFrom() const { return initFrom_; }

  // A database filled in memory (a symbol added, a copy made) that had no source has FROM_MEMORY.
  void noteFilledInMemory() {
    if (initFrom_ == InitFrom::FROM_NOSOURCE) initFrom_ = InitFrom::FROM_MEMORY;
  }

  // Records come from source from now on; initFrom becomes its kind. A source it replaces goes.
  void attach(std::unique_ptr<RecordSource> source);

  // The source goes (a file being read is closed); initFrom becomes FROM_MEMORY, and symbols not loaded can no
  // longer be loaded.
  void detach();

  // Loads a symbol whose records still lie in the source. Fails for a loaded symbol, and in a database without a
  // source (the symbol then counts as loaded, and empty). A load that fails (damaged records, a read error, out
  // of memory) keeps no record and leaves the symbol not loaded, so that it never passes for an empty one: the
  // next use reads it again, and once the source is gone the failure kept in sym->loadFailure is the answer.
  Status load(tvbSymbol* sym);

  // Streams the records of a symbol that is not loaded into sink, leaving it not loaded; a database filled in
  // memory has none for it.
  Status stream(const tvbSymbol& sym, RecordSink& sink);

 private:
  // The source, when it serves the current initFrom.
  RecordSource* serving() const { return source_ && source_->kind() == initFrom_ ? source_.get() : nullptr; }

  InitFrom initFrom_ = InitFrom::FROM_NOSOURCE;
  std::unique_ptr<RecordSource> source_;
};

}  // namespace tvb
