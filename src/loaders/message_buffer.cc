#include "loaders/message_buffer.h"

#include <cstdarg>
#include <cstdio>

namespace tvb::loaders {

void ClearMessage(char* msg, int msgSize) {
  if (msg != nullptr && msgSize > 0) msg[0] = '\0';
}

void WriteMessage(char* msg, int msgSize, const char* format, ...) {
  if (msg == nullptr || msgSize <= 0) return;
  va_list args;
  va_start(args, format);
  std::vsnprintf(msg, static_cast<size_t>(msgSize), format, args);
  va_end(args);
}

}  // namespace tvb::loaders
