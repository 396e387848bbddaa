#include "core/status.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/messages.h"

namespace tvb {

Status Status::error(const char* format, ...) {
  Status status;
  status.kind_ = Kind::kFailed;
  va_list args;
  va_start(args, format);
  std::vsnprintf(status.message_, sizeof status.message_, format, args);
  va_end(args);
  return status;
}

Status Status::outOfMemory(const char* operation) {
  Status status;
  status.kind_ = Kind::kOutOfMemory;
  std::snprintf(status.message_, sizeof status.message_, msg::kOutOfMemory, operation);
  return status;
}

Status Status::reportedElsewhere() {
  Status status;
  status.kind_ = Kind::kReportedElsewhere;
  return status;
}

void Status::copyFrom(const Status& other) {
  kind_ = other.kind_;
  if (other.hasMessage()) std::memcpy(message_, other.message_, std::strlen(other.message_) + 1);
}

}  // namespace tvb
