#include "core/trace.h"

#include <cstdarg>
#include <cstdio>

namespace tvb {
namespace {
int gDebugLevel = 0;
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
