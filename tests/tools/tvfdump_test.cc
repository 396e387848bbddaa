// tvfdump run on the TVF tests' sample file: the whole file, one symbol, and the ways it fails.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tvf_test_support.h"

namespace tvf_test {
namespace {

const std::string kParameterD =
    "parameter d(i,*), 3 records, domain checked \"distance\"\n"
    "  'seattle'.'new-york' 2.5\n"
    "  'seattle'.'chicago' -0\n"
    "  'chicago'.'new-york' +INF\n";

TEST(Tvfdump, PrintsTheFileOrOneSymbolAndFailsOnWrongUsageOrADamagedFile) {
  ScratchDir dir;
  const std::string file = dir.path("sample.tvf"), cut = dir.path("cut.tvf"), damaged = dir.path("damaged.tvf");
  WriteSample(file);
  std::vector<char> bytes = ReadFile(file);
  WriteFile(cut, std::vector<char>(bytes.begin(), bytes.begin() + 100));
  bytes[64 + 20 + 1] ^= 0x20;  // in the records of i, the first symbol
  WriteFile(damaged, bytes);
  const struct {
    std::string arguments;
    int status;
    std::string out, err;  // "?" where the text is not checked
  } runs[] = {
      {file, 0,
       "TVF format version 1, written by \"tvf tests\"\n"
       "\n"
       "labels: 3\n"
       "  1 'seattle'\n"
       "  2 'new-york'\n"
       "  3 'chicago'\n"
       "\n"
       "texts: 1\n"
       "  1 \"on the coast\"\n"
       "\n"
       "symbols: 5\n"
       "  1 set i(*), 2 records \"plants\"\n"
       "  2 alias ii alias of i\n"
       "  3 parameter d(i,*), 3 records, domain checked \"distance\"\n"
       "  4 variable x(*), 1 record\n"
       "  5 parameter s, 1 record\n"
       "\n"
       "set i(*), 2 records \"plants\"\n"
       "  'seattle' \"on the coast\"\n"
       "  'chicago'\n"
       "\n" +
           kParameterD +
           "\n"
           "variable x(*), 1 record\n"
           "  'new-york'  level 1.25  marginal UNDF  lower 0  upper EPS  scale 1\n"
           "\n"
           "parameter s, 1 record\n"
           "  3.25\n",
       ""},
      {"--symbol D " + file, 0, kParameterD, ""},
      {"--symbol nothere " + file, 1, "?", "tvfdump: no symbol 'nothere' in the file\n"},
      {"", 2, "?", "?"},
      {"--bogus " + file, 2, "?", "?"},
      {file + " " + file, 2, "?", "?"},
      {cut, 1, "?",
       "tvfdump: file '" + cut + "' is truncated: it has 100 of its " + std::to_string(bytes.size()) + " bytes\n"},
      // Damage in a record block shows once the listing reaches that symbol.
      {damaged, 1, "?", "tvfdump: checksum mismatch in the records of symbol 'i'\n"},
  };
  for (const auto &expected : runs) {
    SCOPED_TRACE(expected.arguments);
    const std::string out = dir.path("out.txt"), err = dir.path("err.txt");
    const int status = std::system((TVFDUMP_PATH " " + expected.arguments + " >" + out + " 2>" + err).c_str());
    const std::vector<char> out_bytes = ReadFile(out), err_bytes = ReadFile(err);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, expected.status);
    EXPECT_EQ(expected.out == "?" ? "?" : std::string(out_bytes.begin(), out_bytes.end()), expected.out);
    EXPECT_EQ(expected.err == "?" ? "?" : std::string(err_bytes.begin(), err_bytes.end()), expected.err);
  }
}

}  // namespace
}  // namespace tvf_test
