#include "loaders/fatal_report.h"

#include <cstdio>
#include <cstdlib>

namespace tvb::loaders {

void ReportFatal(const char* message) {
  std::fputs(message, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  std::exit(kFatalExitStatus);
}

}  // namespace tvb::loaders
