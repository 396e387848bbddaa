// The loader's error report for what a caller cannot handle (an operation that the library lacks was called):
// the message and a line end go to standard output, which is flushed, and the process ends with status 123.
#pragma once

namespace tvb::loaders {

inline constexpr int kFatalExitStatus = 123;

[[noreturn]] void ReportFatal(const char* message);

}  // namespace tvb::loaders
