// The frame of every C entry: a null object gives 0; exceptions (out of memory above all) are caught and
// logged, never passed to the C caller; null pointer arguments are logged errors. Strings handed back are
// cut to 255 characters and zero-terminated in the caller's 256-byte buffer.
#ifndef TVF_ENTRY_FRAME_H
#define TVF_ENTRY_FRAME_H

#include <cstring>
#include <exception>
#include <new>
#include <string_view>

#include "tvf.h"
#include "tvf_object.h"

namespace tvf {

template <typename Body>
int Guarded(tvfHandle_t pt, const char *operation, Body &&body) noexcept {
  if (pt == nullptr) return 0;
  try {
    return body(*pt);
  } catch (const std::bad_alloc &) {
    pt->errors.LogWithText({.code = ErrorCode::kOutOfMemory}, operation);
  } catch (const std::exception &e) {
    pt->errors.LogWithTexts({.code = ErrorCode::kUnexpected}, operation, e.what());
  } catch (...) {
    pt->errors.LogWithTexts({.code = ErrorCode::kUnexpected}, operation, "unknown exception");
  }
  return 0;
}

// False, with a logged error, when `pointer` is null.
inline bool Present(tvfRec &t, const void *pointer, const char *operation, const char *argument) {
  if (pointer != nullptr) return true;
  t.errors.LogWithTexts({.code = ErrorCode::kNullArgument}, operation, argument);
  return false;
}

// Copies s, cut to 255 characters, into a 256-byte buffer (nothing when the buffer is null).
inline void CopyOut(char *buffer, std::string_view s) {
  if (buffer == nullptr) return;
  const size_t n = s.size() < TVF_STRING_SIZE - 1 ? s.size() : TVF_STRING_SIZE - 1;
  std::memcpy(buffer, s.data(), n);
  buffer[n] = '\0';
}

}  // namespace tvf

#endif
