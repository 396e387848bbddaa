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
#include "core/status.h"
#include "core/symbol.h"
#include "platform/tvf/tvf.h"
#include "tvbcclib.h"

namespace tvb {

// Where the data of a database came from.
enum DataSource { FROM_NOSOURCE = 0, FROM_TVF = 1, FROM_TVP = 2, FROM_MEMORY = 3, FROM_CMEX = 4 };

// Reads the records of a symbol that still lie in a data source (TVF file, model instance, host program).
// A database holds the loader of its current source; load on demand and the TVF writer call it.
class SymbolLoader {
 public:
  virtual ~SymbolLoader() = default;
  // The source this loader reads; it serves a database only while initFrom names that source.
  virtual DataSource source() const = 0;
  // Without a target, stores the symbol's records in it (a record with the same key is overwritten). With
  // a target (a TVF object writing a file, the symbol started there), hands each record to tvfDataWriteRaw
  // instead and leaves the symbol unchanged (streaming).
  virtual Status load(tvbHandle* db, tvbSymbol* sym, tvfHandle_t target) = 0;
};

}  // namespace tvb

struct tvbHandle {
  tvbHandle(const char* systemDirectory);
  ~tvbHandle();
  tvbHandle(const tvbHandle&) = delete;
  tvbHandle& operator=(const tvbHandle&) = delete;

  tvfHandle_t tvfHandle = nullptr;  // data-exchange file object: reads the file while initFrom is FROM_TVF
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
  tvbHostFindSymbol hostFindSymbol = nullptr;  // the host program's routines (tvbInitFromCMEX)
  tvbHostDataReadRawStart hostDataReadRawStart = nullptr;
  tvbHostDataReadRaw hostDataReadRaw = nullptr;
  tvbHostDataReadDone hostDataReadDone = nullptr;
  tvbHostElemText hostElemText = nullptr;
  tvbHostLog hostLog = nullptr;
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
  // A freed record handle kept for the next one: lookups and walks make and free a handle per record.
  tvbRecordHandle* spareHandle = nullptr;
  char tvfCreateMsg[TRV_SSSIZE] = {};
  char lastError[TRV_SSSIZE] = {};

  // Marks a symbol changed when write recording is on.
  void recordWrite(tvbSymbol* sym) {
    if (writeRecording) sym->written = true;
  }
};

namespace tvb {

// Loads a symbol whose records still lie in the data source. Fails for a loaded symbol.
Status loadOnDemand(tvbHandle* db, tvbSymbol* sym);

// Makes sure the records of sym are in memory.
inline Status ensureLoaded(tvbHandle* db, tvbSymbol* sym) { return sym->loaded ? Status() : loadOnDemand(db, sym); }

}  // namespace tvb
