// The frame that every operation runs in at the C boundary: the exception guard, and the one place where a
// failed Status becomes the database's last error. Inner routines return a Status and never touch the last
// error themselves; an out-of-memory failure is also written to standard output.
#pragma once

#include <exception>
#include <new>

#include "core/assert.h"
#include "core/messages.h"
#include "core/status.h"
#include "tvbcclib.h"

namespace tvb {

// Stores a failure's message as db's last error (a failure reported elsewhere leaves it as it was). REQUIRES: db
// is not null. Defined with the handle (database/handle.cc).
void storeLastError(tvbHandle* db, const Status& status);

// Writes an out-of-memory failure to standard output (followed by a newline); other statuses are not shown.
void announceOutOfMemory(const Status& status);

// The C result of an operation: 1 when status is ok, else 0 with the failure stored in db.
inline int finish(tvbHandle* db, const Status& status) {
  if (status.ok()) return 1;
  storeLastError(db, status);
  return 0;
}

// The checks a frame makes before its work: true, with the failure stored in db, when status is a failure.
inline bool failed(tvbHandle* db, const Status& status) { return !finish(db, status); }

// Runs work() (returning a Status) and turns an exception into a failure: out of memory names memoryOperation
// (raw record addition reports memory shortage as record addition), any other exception names operation.
template <class Work>
Status guard(const char* operation, const char* memoryOperation, Work&& work) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    return Status::outOfMemory(memoryOperation);
  } catch (const std::exception& e) {
    return Status::error(msg::kUnexpectedException, operation, e.what());
  } catch (...) {
    return Status::error(msg::kUnexpectedException, operation, "unknown exception");
  }
}

// guard(), then finish(): the common frame of an operation.
template <class Work>
int guarded(tvbHandle* db, const char* operation, const char* memoryOperation, Work&& work) {
  return finish(db, guard(operation, memoryOperation, work));
}
template <class Work>
int guarded(tvbHandle* db, const char* operation, Work&& work) {
  return finish(db, guard(operation, operation, work));
}

}  // namespace tvb
