#include "core/frame.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "core/database.h"
#include "core/messages.h"

namespace tvb {
namespace {
int gDebugLevel = 0;
}

void assertionFailed(const char* condition, const char* source) {
  std::fflush(stdout);
  std::fprintf(stderr, "Assertion failed: %s, file %s\n", condition, source);
  std::fflush(stderr);
  std::abort();
}

void setError(tvbHandle* db, const char* format, ...) {
  if (!db) return;  // operations that do not require a database (log output) have nowhere to store it
  va_list args;
  va_start(args, format);
  std::vsnprintf(db->lastError, sizeof db->lastError, format, args);
  va_end(args);
}

void reportOutOfMemory(tvbHandle* db, const char* operation) {
  char text[TRV_SSSIZE];
  std::snprintf(text, sizeof text, msg::kOutOfMemory, operation);
  setError(db, "%s", text);
  std::printf("%s\n", text);
  std::fflush(stdout);
}

void reportUnexpected(tvbHandle* db, const char* operation, const char* what) {
  setError(db, msg::kUnexpectedException, operation, what);
}

int debugLevel() { return gDebugLevel; }
void setDebugLevel(int level) { gDebugLevel = level; }

void trace(int level, const char* format, ...) {
  if (gDebugLevel < level) return;
  for (int i = 1; i < level; ++i) std::fputs("  ", stdout);
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace tvb
