// tvfdump run on the TVF tests' sample file: the whole file, one symbol, and the ways it fails.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tvf_test_support.h"

namespace tvf_test {
namespace {

class Tvfdump : public ::testing::Test {
 protected:
  void SetUp() override { WriteSample(file_); }

  struct Run {
    int status;
    std::string out, err;
  };
  Run Dump(const std::string &arguments) {
    const std::string out = dir_.path("out.txt"), err = dir_.path("err.txt");
    int status = std::system((std::string(TVFDUMP_PATH) + " " + arguments + " >" + out + " 2>" + err).c_str());
    const std::vector<char> out_bytes = ReadFile(out), err_bytes = ReadFile(err);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(out_bytes.begin(), out_bytes.end()),
            std::string(err_bytes.begin(), err_bytes.end())};
  }

  ScratchDir dir_;
  std::string file_ = dir_.path("sample.tvf");
};

const std::string kParameterD =
    "parameter d(i,*), 3 records, domain checked \"distance\"\n"
    "  'seattle'.'new-york' 2.5\n"
    "  'seattle'.'chicago' -0\n"
    "  'chicago'.'new-york' +INF\n";

TEST_F(Tvfdump, PrintsLabelsTextsSymbolsAndRecordsWithSpecialValuesNamed) {
  Run run = Dump(file_);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
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
                "  3.25\n");
}

TEST_F(Tvfdump, PrintsOneSymbolByNameAndRefusesWrongUsage) {
  const struct {
    std::string arguments;
    int status;
    std::string out, err;  // "?" where the text is not checked
  } runs[] = {
      {"--symbol D " + file_, 0, kParameterD, ""},
      {"--symbol nothere " + file_, 1, "?", "tvfdump: no symbol 'nothere' in the file\n"},
      {"", 2, "?", "?"},
      {"--bogus " + file_, 2, "?", "?"},
      {file_ + " " + file_, 2, "?", "?"},
  };
  for (const auto &expected : runs) {
    SCOPED_TRACE(expected.arguments);
    const Run run = Dump(expected.arguments);
    EXPECT_EQ(run.status, expected.status);
    EXPECT_EQ(expected.out == "?" ? "?" : run.out, expected.out);
    EXPECT_EQ(expected.err == "?" ? "?" : run.err, expected.err);
  }
}

TEST_F(Tvfdump, ACorruptFileGivesTheLibrarysMessageAndStatusOne) {
  std::vector<char> bytes = ReadFile(file_);
  WriteFile(file_, std::vector<char>(bytes.begin(), bytes.begin() + 100));
  Run run = Dump(file_);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tvfdump: file '" + file_ + "' is truncated: it has 100 of its " + std::to_string(bytes.size()) +
                         " bytes\n");
  // Damage in a record block shows once the listing reaches that symbol.
  bytes[64 + 20 + 1] ^= 0x20;
  WriteFile(file_, bytes);
  run = Dump(file_);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tvfdump: checksum mismatch in the records of symbol 'i'\n");
}

}  // namespace
}  // namespace tvf_test
