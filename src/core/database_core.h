// DatabaseCore: what the database core owns: the label table, the symbol table with the records, the element
// texts, the special values, write recording, the data source of symbols not yet loaded, the log output and
// the system directory. Each part keeps its own state and rules; the core's operations use them together.
// The areas above the core (exchange, domains, the model link) keep their own parts beside it in the database
// (database/database.h), and reach it through the C handle with coreOf().
#pragma once

#include <memory>
#include <string>

#include "core/data_source.h"
#include "core/element_texts.h"
#include "core/label_table.h"
#include "core/log_output.h"
#include "core/special_values.h"
#include "core/status.h"
#include "core/symbol_table.h"
#include "core/write_recording.h"
#include "tvbcclib.h"

namespace tvb {

class DatabaseCore {
 public:
  // REQUIRES (asserted): systemDirectory is shorter than 256 characters.
  explicit DatabaseCore(const char* systemDirectory);
  ~DatabaseCore();
  DatabaseCore(const DatabaseCore&) = delete;
  DatabaseCore& operator=(const DatabaseCore&) = delete;

  const std::string sysDir;  // where the external libraries and configuration files are looked for; may be empty
  LabelTable labels;
  ElementTexts elemTexts;
  SymbolTable symbols;
  SpecialValues specialValues;
  WriteRecording writeRecording;
  DataSource dataSource;
  LogOutput log;
  // A freed record handle kept for the next one: lookups and walks make and free a handle per record.
  std::unique_ptr<tvbRecordHandle> spareHandle;
};

// The core of the database that handle wraps. Defined where the handle is (database/).
DatabaseCore& coreOf(tvbHandle* handle);

// Makes sure the records of sym are in memory, loading them from its database's source when they are not.
inline Status ensureLoaded(tvbSymbol* sym) { return sym->loaded ? Status() : sym->db->dataSource.load(sym); }

}  // namespace tvb
