// tvfdump: prints a TVF file's labels, texts, symbols with their domains, and records in readable text,
// special values by name. With --symbol NAME only that symbol; with --csv NAME that symbol as CSV, one row per
// record. A file the library refuses or finds damaged gives the library's message on standard error and exit
// status 1; wrong usage gives status 2.
#include <cstdio>
#include <cstring>
#include <string>

#include "csv_dump.h"
#include "tvf.h"
#include "tvf_dump.h"
#include "tvf_symbols.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: tvfdump [--symbol NAME | --csv NAME] FILE\n");
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  std::string file, symbol, mode;
  for (int i = 1; i < argc; ++i) {
    if ((std::strcmp(argv[i], "--symbol") == 0 || std::strcmp(argv[i], "--csv") == 0) && i + 1 < argc &&
        mode.empty()) {
      mode = argv[i];
      symbol = argv[++i];
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      return Usage();
    } else if (file.empty()) {
      file = argv[i];
    } else {
      return Usage();
    }
  }
  if (file.empty()) return Usage();

  tvfHandle_t pt = nullptr;
  if (!XCreate(&pt)) {
    std::fprintf(stderr, "tvfdump: out of memory\n");
    return 1;
  }
  std::string error;
  bool ok = tvftools::OpenForReading(&pt, file, &error);
  if (ok) {
    if (mode == "--csv") {
      ok = tvfdump::DumpCsv(pt, symbol, stdout, &error);
    } else if (mode == "--symbol") {
      ok = tvfdump::DumpSymbol(pt, symbol, stdout, &error);
    } else {
      ok = tvfdump::DumpAll(pt, stdout, &error);
    }
    tvfClose(pt);
  }
  XFree(&pt);
  std::fflush(stdout);
  if (!ok) {
    std::fprintf(stderr, "tvfdump: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
