// Status: the outcome of an inner routine, ok or a failure with its message. The message is formatted once,
// where the failure is found, and cut to 255 characters like every message of the library; the C boundary
// copies it into the database's last error (core/frame.h). Out of memory is a failure of its own kind, as the
// boundary also writes it to standard output. Making or copying a Status never allocates.
#pragma once

#include "tvbcclib.h"

namespace tvb {

class [[nodiscard]] Status {
 public:
  Status() = default;  // ok
  Status(const Status& other) { copyFrom(other); }
  Status& operator=(const Status& other) {
    copyFrom(other);
    return *this;
  }

  // A failure whose message is format filled in printf-style.
  static Status error(const char* format, ...) __attribute__((format(printf, 1, 2)));
  // "Out of memory in <operation>".
  static Status outOfMemory(const char* operation);
  // A failure that a caller's own routine (a host program's) has reported already: it has no message, and the
  // last error keeps what it held.
  static Status reportedElsewhere();

  bool ok() const { return kind_ == Kind::kOk; }
  bool isOutOfMemory() const { return kind_ == Kind::kOutOfMemory; }
  bool hasMessage() const { return kind_ == Kind::kFailed || kind_ == Kind::kOutOfMemory; }
  // The message of a failure (at most 255 characters); empty when there is none.
  const char* message() const { return hasMessage() ? message_ : ""; }

 private:
  enum class Kind : unsigned char { kOk, kFailed, kOutOfMemory, kReportedElsewhere };

  void copyFrom(const Status& other);

  Kind kind_ = Kind::kOk;
  char message_[TRV_SSSIZE];  // set only for a failure
};

// Returns the status of expression from the calling routine when it is a failure.
#define TVB_RETURN_IF_FAILED(expression)     \
  do {                                       \
    ::tvb::Status tvbStatus_ = (expression); \
    if (!tvbStatus_.ok()) return tvbStatus_; \
  } while (0)

}  // namespace tvb
