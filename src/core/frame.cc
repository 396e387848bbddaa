#include "core/frame.h"

#include <cstdio>

namespace tvb {

void announceOutOfMemory(const Status& status) {
  if (!status.isOutOfMemory()) return;
  std::printf("%s\n", status.message());
  std::fflush(stdout);
}

}  // namespace tvb
