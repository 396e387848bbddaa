#include "core/argument_checks.h"

#include "core/messages.h"

namespace tvb {

Status foreignSymbol(const tvbSymbol* sym) { return Status::error(msg::kForeignSymbolHandle, sym->name.c_str()); }

Status foreignRecord(const tvbRecordHandle* rec) {
  return Status::error(msg::kForeignRecordHandle, rec->symbol->name.c_str());
}

Status nullArgument(const char* operation, const char* argument) {
  return Status::error(msg::kNullArgument, operation, argument);
}

}  // namespace tvb
