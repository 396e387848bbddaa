// Writing into a caller's message buffer of a given size: texts are cut to size - 1 characters and always
// terminated; nothing is written when there is no buffer (null or size <= 0).
#pragma once

namespace tvb::loaders {

void ClearMessage(char* msg, int msgSize);

// printf-style; the text is cut to the buffer.
[[gnu::format(printf, 3, 4)]] void WriteMessage(char* msg, int msgSize, const char* format, ...);

}  // namespace tvb::loaders
