// tvfdiff: compares two TVF files and reports, one line each, the symbols that only one of them has, the symbols
// whose kind, domain or text differ, and the records that differ (by labels, any letter case), values shown as
// tvfdump shows them. With --tolerance T, numbers a and b agree when |a - b| <= T * max(1, |a|, |b|).
// Exit status: 0 when the files hold the same data, 1 when they differ, 2 for wrong usage or a file that cannot
// be read (the library's message on standard error).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tvf.h"
#include "tvf_diff.h"
#include "tvf_symbols.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: tvfdiff A.tvf B.tvf [--tolerance T]\n");
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  std::string files[2];
  int given = 0;
  double tolerance = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--tolerance") == 0 && i + 1 < argc) {
      char *end = nullptr;
      tolerance = std::strtod(argv[++i], &end);
      if (end == argv[i] || *end != '\0' || !(tolerance >= 0)) return Usage();
    } else if ((argv[i][0] == '-' && argv[i][1] != '\0') || given == 2) {
      return Usage();
    } else {
      files[given++] = argv[i];
    }
  }
  if (given != 2) return Usage();

  tvfHandle_t handles[2] = {nullptr, nullptr};
  std::string error;
  bool ok = true;
  for (int f = 0; f < 2 && ok; ++f) {
    ok = XCreate(&handles[f]) != 0;
    if (!ok) error = "out of memory";
    if (ok && !tvftools::OpenForReading(&handles[f], files[f], &error)) ok = false;
  }
  long differences = -1;
  if (ok) differences = tvfdiff::Compare({handles[0], files[0]}, {handles[1], files[1]}, tolerance, stdout, &error);
  for (tvfHandle_t &pt : handles) XFree(&pt);  // closes an open file
  std::fflush(stdout);
  if (differences < 0) {
    std::fprintf(stderr, "tvfdiff: %s\n", error.c_str());
    return 2;
  }
  if (differences > 0)
    std::printf("%s and %s differ in %ld %s\n", files[0].c_str(), files[1].c_str(), differences,
                differences == 1 ? "place" : "places");
  return differences > 0 ? 1 : 0;
}
