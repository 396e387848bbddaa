// The frame that every operation runs in: fatal assertions for contract violations, the last-error text of
// a database, the exception guard at the C boundary, and the process-wide trace output.
// Failures never allocate: messages are formatted straight into the handle's fixed 256-byte buffer.
#pragma once

#include <exception>
#include <new>
#include <utility>

struct tvbHandle;

namespace tvb {

// Prints "Assertion failed: <condition>, file <source>" to standard error and aborts.
[[noreturn]] void assertionFailed(const char* condition, const char* source);

// Stores a printf-formatted message, cut to 255 characters, as the database's last error.
void setError(tvbHandle* db, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Out of memory: "Out of memory in <operation>" on standard output and as the last error.
void reportOutOfMemory(tvbHandle* db, const char* operation);
// Any other exception: "Unexpected exception in <operation>: <what>" as the last error.
void reportUnexpected(tvbHandle* db, const char* operation, const char* what);

// Runs work() (returning the operation's result) and turns exceptions into the failure result. The
// out-of-memory text may name another operation than the unexpected-exception text (raw record addition
// reports memory shortage as record addition).
template <class Result, class Work>
Result guarded(tvbHandle* db, const char* operation, const char* memoryOperation, Result failure, Work&& work) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    reportOutOfMemory(db, memoryOperation);
  } catch (const std::exception& e) {
    reportUnexpected(db, operation, e.what());
  } catch (...) {
    reportUnexpected(db, operation, "unknown exception");
  }
  return failure;
}

template <class Work>
int guarded(tvbHandle* db, const char* operation, Work&& work) {
  return guarded<int>(db, operation, operation, 0, std::forward<Work>(work));
}

// Process-wide trace level, set by tvbSetDebug.
int debugLevel();
void setDebugLevel(int level);
// Writes a trace line of the given level (indented by two blanks per level above 1) when the level is on.
void trace(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace tvb

// Contract checks of the core; the condition's text names the violated contract.
#define TVB_ASSERT(condition) ((condition) ? (void)0 : ::tvb::assertionFailed(#condition, "tvbcoorg"))
