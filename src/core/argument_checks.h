// The checks an operation makes on the handles and pointers it is given before it touches anything. A symbol or
// record handle must belong to the database the operation is called with: a handle of another database would be
// read through this database's label table, or register this database's labels in another's records. A pointer
// that the operation reads from or writes to must be given. The checks cost a comparison when they pass.
#pragma once

#include "core/assert.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/record_handle.h"
#include "core/status.h"

namespace tvb {

// The failures, kept out of line so that the passing checks stay small where they are inlined.
[[gnu::cold]] Status foreignSymbol(const tvbSymbol* sym);
[[gnu::cold]] Status foreignRecord(const tvbRecordHandle* rec);
[[gnu::cold]] Status nullArgument(const char* operation, const char* argument);

// A null handle passes: each operation reports that with its own message.
inline Status checkSymbolOf(const DatabaseCore& db, const tvbSymbol* sym) {
  return !sym || sym->db == &db ? Status() : foreignSymbol(sym);
}
inline Status checkRecordOf(const DatabaseCore& db, const tvbRecordHandle* rec) {
  return !rec || rec->symbol->db == &db ? Status() : foreignRecord(rec);
}
inline Status checkGiven(const void* pointer, const char* operation, const char* argument) {
  return pointer ? Status() : nullArgument(operation, argument);
}

// The Py form of an operation that makes a handle: run(&handle) gives the status, which goes to *status, and the
// handle is the result. Without a status pointer the operation does not run: its caller could not tell a
// failure from a success.
template <class Handle, class Run>
Handle* pyForm(tvbHandle* ptvb, int* status, const char* operation, Run&& run) {
  TVB_ASSERT(ptvb != NULL);
  if (!status) {
    storeLastError(ptvb, nullArgument(operation, "status"));
    return nullptr;
  }
  Handle* handle = nullptr;
  *status = run(&handle);
  return handle;
}

}  // namespace tvb
