#include "core/assert.h"

#include <cstdio>
#include <cstdlib>

namespace tvb {

void assertionFailed(const char* condition, const char* source) {
  std::fflush(stdout);
  std::fprintf(stderr, "Assertion failed: %s, file %s\n", condition, source);
  std::fflush(stderr);
  std::abort();
}

}  // namespace tvb
