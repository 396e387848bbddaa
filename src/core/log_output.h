// Where the messages of tvbPrintLog go: to standard output, each followed by a newline, or to the log routine
// that a host program handed over (tvbInitFromCMEX) as length-prefixed strings of at most 255 characters.
#pragma once

#include "tvbcclib.h"

namespace tvb {

class LogOutput {
 public:
  // From now on messages go to log (with hostHandle); a null log means standard output.
  void sendTo(tvbHostLog log, void* hostHandle) {
    log_ = log;
    hostHandle_ = hostHandle;
  }

  void print(const char* message) const;

 private:
  tvbHostLog log_ = nullptr;
  void* hostHandle_ = nullptr;  // the host's own value, handed back to it
};

}  // namespace tvb
