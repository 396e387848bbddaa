// tvbSymbol: a set, parameter, variable, equation or alias of a database, with its domains and records.
// The database's symbol table owns its symbols; they live until the database is freed. The Universe is a
// symbol without a store: its records are the database's labels.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/record_store.h"
#include "core/status.h"
#include "tvbcclib.h"

namespace tvb {
class DatabaseCore;
}

struct tvbSymbol {
  int dim = 0;
  int type = TRV_DT_SET;
  int userInfo = 0;
  int number = 0;             // count of named symbols when this one was created
  bool loaded = true;         // false while the records still lie in the data source
  bool usedAsDomain = false;  // another symbol names this set as a domain
  bool written = false;       // changed while write recording was on
  std::string name;
  std::string text;
  tvb::DatabaseCore* db = nullptr;            // the database that owns the symbol
  tvbSymbol* aliasOf = this;                  // the set an alias stands for; itself otherwise
  std::vector<tvbSymbol*> domains;            // per position; null where only a relaxed name is known
  std::vector<std::string> domainNames;       // per position, kept where domains[i] is null
  std::unique_ptr<tvb::RecordStore> records;  // null for the Universe and aliases
  // Why the records could not be read from the source, while the symbol stays not loaded: once the source is
  // gone it reports this instead of passing for an empty symbol, until it is cleared or replaced.
  std::unique_ptr<tvb::Status> loadFailure;

  bool isUniverse() const;
  // The records are in memory from now on (cleared or replaced by the caller); a failed load is forgotten.
  void markLoaded() {
    loaded = true;
    loadFailure.reset();
  }
  // Empties the symbol, whose records are to be read from a (new) source when next needed. REQUIRES: not an
  // alias or the Universe.
  void awaitSource() {
    records->clear();
    loaded = false;
    loadFailure.reset();
  }
  int64_t recordCount() const;  // the label count for the Universe
};

namespace tvb {

// Number of doubles in a record of this symbol type: 5 for variables and equations, 1 otherwise.
inline int valueCountOf(int type) { return type == TRV_DT_VAR || type == TRV_DT_EQU ? 5 : 1; }

// Names of the symbol types, in type-code order.
const char* typeName(int type);

// A variable's subtype (its variable type) or an equation's (its equation type) out of range is refused;
// other types take any user information.
Status checkSubtype(int type, int userInfo, const char* name);

// The values a new record receives when none are given: zeros for sets and parameters, the row of the
// variable or equation type for variables and equations.
void defaultValues(const tvbSymbol& sym, double* values);

}  // namespace tvb
