#include "core/log_output.h"

#include <cstdio>
#include <cstring>

namespace tvb {

void LogOutput::print(const char* message) const {
  if (!log_) {
    std::printf("%s\n", message);
    std::fflush(stdout);
    return;
  }
  char lengthPrefixed[TRV_SSSIZE];
  size_t n = std::strlen(message);
  if (n > 255) n = 255;
  lengthPrefixed[0] = static_cast<char>(n);
  std::memcpy(lengthPrefixed + 1, message, n);
  log_(lengthPrefixed, hostHandle_);
}

}  // namespace tvb
