// tvbHandle: one database. It owns the label table, the symbols with their records, the element texts, the
// special values and the links to data sources and external libraries. A database is used by one thread
// at a time; different databases are independent.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/case_insensitive.h"
#include "core/element_texts.h"
#include "core/label_table.h"
#include "core/special_values.h"
#include "core/symbol.h"
#include "tvbcclib.h"

namespace tvb {

// Where the data of a database came from.
enum DataSource { FROM_NOSOURCE = 0, FROM_TVF = 1, FROM_TVP = 2, FROM_MEMORY = 3, FROM_CMEX = 4 };

// Loads the records of a symbol that still lie in a data source (file, model instance, host program).
class SymbolLoader {
 public:
  virtual ~SymbolLoader() = default;
  // Stores the symbol's records; on failure returns false with the reason in the database's last error.
  virtual bool load(tvbHandle* db, tvbSymbol* sym) = 0;
};

using HostLog = void (*)(const char* lengthPrefixed, void* hostHandle);

}  // namespace tvb

struct tvbHandle {
  tvbHandle(const char* systemDirectory);
  ~tvbHandle();
  tvbHandle(const tvbHandle&) = delete;
  tvbHandle& operator=(const tvbHandle&) = delete;

  void* tvfHandle = nullptr;  // data-exchange file object
  void* algHandle = nullptr;
  void* tvp_ = nullptr;
  void* tvh_ = nullptr;
  void* dct_ = nullptr;
  void* cfg_ = nullptr;
  int tvfErrNr = 0;
  int initFrom = tvb::FROM_NOSOURCE;
  std::string sysDir;
  bool useAltBounds = false;
  int solverNumber = 0;
  tvb::HostLog hostLog = nullptr;
  void* hostHandle = nullptr;
  tvb::ElementTexts elemTexts;
  int dvAllSymbolMode = 0;
  std::unique_ptr<tvbSymbol> universe;
  tvb::SpecialValues specialValues;
  tvb::LabelTable labels;
  std::unordered_map<std::string, tvbSymbol*, tvb::CaseInsensitiveHash, tvb::CaseInsensitiveEqual> symbolMap;
  std::vector<std::unique_ptr<tvbSymbol>> symbols;  // every symbol but the Universe, in creation order
  std::vector<tvbSymbol*> symbolIndex;              // the symbols reachable by index: no aliases
  bool writeRecording = false;
  std::unique_ptr<tvb::SymbolLoader> loader;  // the loader of the data source named by initFrom
  char tvfCreateMsg[TRV_SSSIZE] = {};
  char lastError[TRV_SSSIZE] = {};

  // Marks a symbol changed when write recording is on.
  void recordWrite(tvbSymbol* sym) {
    if (writeRecording) sym->written = true;
  }
};

namespace tvb {

// Loads a symbol whose records still lie in the data source. Fails for a loaded symbol.
bool loadOnDemand(tvbHandle* db, tvbSymbol* sym);

// Makes sure the records of sym are in memory; false (message stored) when loading failed.
inline bool ensureLoaded(tvbHandle* db, tvbSymbol* sym) { return sym->loaded || loadOnDemand(db, sym); }

}  // namespace tvb
