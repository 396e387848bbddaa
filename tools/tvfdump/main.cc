// tvfdump: prints a TVF file's labels, texts, symbols with their domains, and records in readable text,
// special values by name. With --symbol NAME only that symbol. A file the library refuses or finds damaged
// gives the library's message on standard error and exit status 1; wrong usage gives status 2.
#include <cstdio>
#include <cstring>
#include <string>

#include "tvf.h"
#include "tvf_dump.h"
#include "value_text.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: tvfdump [--symbol NAME] FILE\n");
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  std::string file, symbol;
  bool one_symbol = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--symbol") == 0 && i + 1 < argc) {
      symbol = argv[++i];
      one_symbol = true;
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
  int err = 0;
  std::string error;
  bool ok = CtvfOpenRead(pt, file.c_str(), &err) != 0;
  if (!ok) {
    char text[TVF_STRING_SIZE];
    CtvfErrorStr(pt, err, text);
    error = text;
  } else {
    double specials[TVF_SPECIAL_VALUE_COUNT];
    tvfGetSpecialValues(pt, specials);
    tvfdump::MarkerSpecialValues(specials);
    tvfSetReadSpecialValues(pt, specials);
    ok = one_symbol ? tvfdump::DumpSymbol(pt, symbol, stdout, &error) : tvfdump::DumpAll(pt, stdout, &error);
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
