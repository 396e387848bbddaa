// Internal record operations shared by the record, maintenance and copy code.
#pragma once

#include <memory>
#include <string>

#include "core/database_core.h"
#include "core/record_handle.h"
#include "core/status.h"

namespace tvb {

// "(\"a\",\"b\")": a key for messages, from label texts (const char* or std::string_view).
template <class Text>
std::string formatKey(const Text* labels, int dim);

// Adds a record by label texts, registering new labels. With values (copies), stores them (for sets the
// element text is interned) and makes no handle; without, stores the defaults and returns a new handle in
// *handle. Fails on a bad label, an existing key or a failed load.
Status addRecordByLabels(DatabaseCore& db, tvbSymbol* sym, const char* const* labels, const double* values,
                         const char* text, std::unique_ptr<tvbRecordHandle>* handle);

}  // namespace tvb
