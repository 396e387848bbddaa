#include "core/frame.h"

#include <cstdio>
#include <cstring>

#include "core/database.h"

namespace tvb {

void storeLastError(tvbHandle* db, const Status& status) {
  if (!status.hasMessage()) return;
  const char* text = status.message();
  std::memcpy(db->lastError, text, std::strlen(text) + 1);
  announceOutOfMemory(status);
}

void announceOutOfMemory(const Status& status) {
  if (!status.isOutOfMemory()) return;
  std::printf("%s\n", status.message());
  std::fflush(stdout);
}

}  // namespace tvb
