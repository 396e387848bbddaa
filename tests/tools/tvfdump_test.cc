// tvfdump run on the TVF tests' sample file: the whole file, one symbol, one symbol as CSV, and the ways it fails.
#include <string>

#include "tool_runs.h"

namespace tvf_test {
namespace {

const std::string kParameterD =
    "parameter d(i,*), 3 records, domain checked \"distance\"\n"
    "  'seattle'.'new-york' 2.5\n"
    "  'seattle'.'chicago' -0\n"
    "  'chicago'.'new-york' +INF\n";

class Tvfdump : public ::testing::Test {
 protected:
  void SetUp() override { WriteSample(file); }
  ScratchDir dir;
  const std::string file = dir.path("sample.tvf");
};

TEST_F(Tvfdump, PrintsTheWholeFile) {
  ExpectRuns(TVFDUMP_PATH,
             {{file, 0,
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
               ""}},
             dir);
}

TEST_F(Tvfdump, PrintsOneSymbolFoundInAnyLetterCase) {
  ExpectRuns(TVFDUMP_PATH,
             {{"--symbol D " + file, 0, kParameterD, ""},
              {"--symbol nothere " + file, 1, "?", "tvfdump: no symbol 'nothere' in the file\n"}},
             dir);
}

// An alias gives its set; fields with commas or quotes are quoted.
TEST_F(Tvfdump, PrintsOneSymbolAsCsv) {
  const std::string quoted = dir.path("quoted.tvf");
  WriteTvf(quoted, {"a,b"}, [](tvfHandle_t writer) {
    int nr;
    ASSERT_EQ(CtvfAddSetText(writer, "say \"hi\"", &nr), 1);
    WriteSymbol(writer, "q", 1, 0, {{{1}, {1}}});
  });
  ExpectRuns(TVFDUMP_PATH,
             {{"--csv d " + file, 0, "i,*,value\nseattle,new-york,2.5\nseattle,chicago,-0\nchicago,new-york,+INF\n", ""},
              {"--csv ii " + file, 0, "*,text\nseattle,on the coast\nchicago,\n", ""},
              {"--csv X " + file, 0, "*,level,marginal,lower,upper,scale\nnew-york,1.25,UNDF,0,EPS,1\n", ""},
              {"--csv s " + file, 0, "value\n3.25\n", ""},
              {"--csv q " + quoted, 0, "*,text\n\"a,b\",\"say \"\"hi\"\"\"\n", ""},
              {"--csv nothere " + file, 1, "?", "tvfdump: no symbol 'nothere' in the file\n"}},
             dir);
}

TEST_F(Tvfdump, RefusesWrongUsage) {
  ExpectRuns(TVFDUMP_PATH,
             {{"--csv d --symbol d " + file, 2, "?", "?"},
              {"", 2, "?", "?"},
              {"--bogus " + file, 2, "?", "?"},
              {file + " " + file, 2, "?", "?"}},
             dir);
}

// Damage in a record block shows once the listing reaches that symbol.
TEST_F(Tvfdump, ReportsADamagedFile) {
  const std::string cut = dir.path("cut.tvf"), damaged = dir.path("damaged.tvf");
  std::vector<char> bytes = ReadFile(file);
  WriteFile(cut, std::vector<char>(bytes.begin(), bytes.begin() + 100));
  bytes[64 + 20 + 1] ^= 0x20;  // in the records of i, the first symbol
  WriteFile(damaged, bytes);
  ExpectRuns(TVFDUMP_PATH,
             {{cut, 1, "?",
               "tvfdump: file '" + cut + "' is truncated: it has 100 of its " + std::to_string(bytes.size()) +
                   " bytes\n"},
              {damaged, 1, "?", "tvfdump: checksum mismatch in the records of symbol 'i'\n"}},
             dir);
}

}  // namespace
}  // namespace tvf_test
