#include "loaders/library_file_name.h"

#include <algorithm>
#include <cstring>

namespace tvb::loaders {
namespace {

// Appends at most the room left (keeping the terminating zero); returns the new length.
size_t AppendBounded(char* buffer, size_t length, const char* text) {
  const size_t room = kFileNameSize - 1 - length;
  const size_t count = std::min(std::strlen(text), room);
  std::memcpy(buffer + length, text, count);
  buffer[length + count] = '\0';
  return length + count;
}

}  // namespace

LibraryFileName ComposeLibraryFileName(const char* dir, const char* baseName) {
  LibraryFileName name;
  name.text[0] = '\0';
  size_t length = 0;
  if (dir != nullptr && dir[0] != '\0') {
    length = AppendBounded(name.text, length, dir);
    if (name.text[length - 1] != '/') length = AppendBounded(name.text, length, "/");
  }
  length = AppendBounded(name.text, length, "lib");
  length = AppendBounded(name.text, length, baseName);
  AppendBounded(name.text, length, ".so");
  return name;
}

}  // namespace tvb::loaders
