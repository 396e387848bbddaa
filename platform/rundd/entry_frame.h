// The frame of every C entry: the handle must be an object of the entry's kind (else the failure result and
// nothing else); exceptions are caught, kept as the object's last error and never passed to the C caller.
#ifndef RUNDD_ENTRY_FRAME_H
#define RUNDD_ENTRY_FRAME_H

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "messages.h"
#include "tagged_object.h"

namespace rundd {

// Keeps the text that make() formats as the object's last error; when even that fails for want of memory,
// the last error is emptied rather than left stale.
template <class Make>
void Report(TaggedObject &object, Make &&make) noexcept {
  try {
    object.last_error = make();
  } catch (...) {
    object.last_error.clear();
  }
}

// Runs body(object) for the object of kind T behind handle; failure when there is none or body throws.
template <class T, class R, class Body>
R Guarded(void *handle, const char *operation, R failure, Body &&body) noexcept {
  T *object = FromHandle<T>(handle);
  if (object == nullptr) return failure;
  try {
    return body(*object);
  } catch (const std::bad_alloc &) {
    Report(*object, [&] { return msg::OutOfMemory(operation); });
  } catch (const std::exception &e) {
    Report(*object, [&] { return msg::Unexpected(operation, e.what()); });
  } catch (...) {
    Report(*object, [&] { return msg::Unexpected(operation, "unknown exception"); });
  }
  return failure;
}

// Makes a new T(args...) for *pt: 1, or 0 with *pt NULL when it cannot be made.
template <class T, class... Args>
int CreateObject(void **pt, Args &&...args) noexcept {
  if (pt == nullptr) return 0;
  *pt = nullptr;
  try {
    *pt = ToHandle(new T(std::forward<Args>(args)...));
    return 1;
  } catch (...) {
    return 0;
  }
}

// Frees the T behind *pt (nothing for NULL or another kind) and sets *pt to NULL; an object that belongs to an
// instance is left alone, to be freed with it. 1.
template <class T>
int FreeObject(void **pt) noexcept {
  if (pt == nullptr) return 1;
  T *object = FromHandle<T>(*pt);
  if constexpr (requires { object->owned_by_instance; }) {
    if (object != nullptr && object->owned_by_instance) return 1;
  }
  delete object;
  *pt = nullptr;
  return 1;
}

// Copies s, cut to size - 1 characters, into a buffer of size characters (nothing when it is null or empty).
inline void CopyOut(char *buffer, int size, std::string_view s) {
  if (buffer == nullptr || size <= 0) return;
  const size_t n = std::min(s.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, s.data(), n);
  buffer[n] = '\0';
}

// The same for the 256-character buffers of signature code 12.
inline constexpr int kStringSize = 256;
inline void CopyOut(char *buffer, std::string_view s) { CopyOut(buffer, kStringSize, s); }

// The last error of the T behind pt into a 256-character buffer: 1, or 0 and "" when there is no such object.
template <class T>
int CopyLastError(void *pt, const char *operation, char *msg) noexcept {
  CopyOut(msg, "");
  return Guarded<T>(pt, operation, 0, [&](T &object) {
    CopyOut(msg, object.last_error);
    return 1;
  });
}

}  // namespace rundd

#endif
