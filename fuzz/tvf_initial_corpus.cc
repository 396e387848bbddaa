// Writes the initial corpus of the TVF reader fuzzer: small files of every kind of symbol, uncompressed and
// with each codec, each prefixed with the fuzzer's mode byte (0: as written, 1: checksums repaired).
// Usage: tvf_initial_corpus DIRECTORY
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "tvf.h"

namespace {

bool WriteSample(const std::string &path, int codec, int records) {
  tvfHandle_t pt;
  if (!XCreate(&pt)) return false;
  tvfSetCompression(pt, codec);
  int err = 0;
  if (!CtvfOpenWrite(pt, path.c_str(), "fuzz corpus", &err)) return false;
  tvfUELRegisterRawStart(pt);
  for (int i = 1; i <= 12; ++i) CtvfUELRegisterRaw(pt, ("l" + std::to_string(i)).c_str());
  tvfUELRegisterDone(pt);
  int nr;
  CtvfAddSetText(pt, "a text", &nr);
  int key[20] = {};
  double v[5] = {};
  CtvfDataWriteRawStart(pt, "i", "a set", 1, 0, 0);
  for (int i = 1; i <= 6; ++i) {
    key[0] = i;
    v[0] = i == 2 ? 1 : 0;
    tvfDataWriteRaw(pt, key, v);
  }
  tvfDataWriteDone(pt);
  CtvfAddAlias(pt, "j", "i");
  CtvfAddAlias(pt, "u", "*");
  CtvfDataWriteRawStart(pt, "p", "a parameter", 2, 1, 0);
  const char *domain[2] = {"i", "*"};
  CtvfSymbolSetDomain(pt, domain);
  for (int r = 0; r < records; ++r) {
    key[0] = 1 + r % 6;  // out of order, each key once
    key[1] = 1 + (r / 6) % 12;
    v[0] = r % 5 == 0 ? std::numeric_limits<double>::infinity() : r * 0.5;
    tvfDataWriteRaw(pt, key, v);
  }
  tvfDataWriteDone(pt);
  CtvfDataWriteRawStart(pt, "x", "", 3, 2, 0);
  for (int r = 0; r < records / 2; ++r) {
    key[0] = 1 + r % 3;
    key[1] = 1 + (r / 3) % 4;
    key[2] = 1 + (r / 12) % 12;
    const double x[5] = {r * 1.0, -0.0, 0, 1e300, 1};
    tvfDataWriteRaw(pt, key, x);
  }
  tvfDataWriteDone(pt);
  const char *relaxed[3] = {"a", "b", "c"};
  CtvfSymbolSetDomainX(pt, 5, relaxed);
  CtvfDataWriteRawStart(pt, "s", "", 0, 1, 0);
  v[0] = 3.5;
  tvfDataWriteRaw(pt, key, v);
  tvfDataWriteDone(pt);
  CtvfDataWriteRawStart(pt, "e", "", 1, 3, 55);
  tvfDataWriteDone(pt);
  bool ok = tvfClose(pt) == 1;
  XFree(&pt);
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tvf_initial_corpus DIRECTORY\n");
    return 2;
  }
  const std::string dir = argv[1];
  int n = 0;
  for (int codec : {0, 1, 2}) {
    for (int records : {3, 40}) {
      const std::string sample = dir + "/sample.tmp";
      if (!WriteSample(sample, codec, records)) {
        std::fprintf(stderr, "tvf_initial_corpus: the sample %s could not be written\n", sample.c_str());
        return 1;
      }
      std::ifstream in(sample, std::ios::binary);
      std::string bytes(std::istreambuf_iterator<char>(in), {});
      std::remove(sample.c_str());
      for (char mode : {'\0', '\1'}) {
        std::ofstream out(dir + "/start" + std::to_string(n++), std::ios::binary);
        out.put(mode);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      }
    }
  }
  return 0;
}
