// tvfdump run on files written with the TVF library: the whole file, one symbol, and the ways it fails.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "tvf.h"

namespace {

struct DumpResult {
  int status;
  std::string out;
  std::string err;
};

class Tvfdump : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "tvfdump_test_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    file_ = dir_ + "/sample.tvf";
    WriteSample();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void WriteSample() {
    tvfHandle_t pt;
    ASSERT_EQ(XCreate(&pt), 1);
    int err = 0;
    ASSERT_EQ(CtvfOpenWrite(pt, file_.c_str(), "tvfdump test", &err), 1);
    tvfUELRegisterRawStart(pt);
    for (const char *l : {"seattle", "new-york", "chicago"}) CtvfUELRegisterRaw(pt, l);
    tvfUELRegisterDone(pt);
    int nr;
    CtvfAddSetText(pt, "on the coast", &nr);
    int key[20] = {};
    double v[5] = {};
    CtvfDataWriteRawStart(pt, "i", "plants", 1, 0, 0);
    key[0] = 1;
    v[0] = 1;
    tvfDataWriteRaw(pt, key, v);
    key[0] = 3;
    v[0] = 0;
    tvfDataWriteRaw(pt, key, v);
    tvfDataWriteDone(pt);
    CtvfAddAlias(pt, "ii", "i");
    CtvfDataWriteRawStart(pt, "d", "distance", 2, 1, 0);
    const char *domain[2] = {"i", "*"};
    CtvfSymbolSetDomain(pt, domain);
    key[0] = 1;
    key[1] = 2;
    v[0] = 2.5;
    tvfDataWriteRaw(pt, key, v);
    key[1] = 3;
    v[0] = -0.0;
    tvfDataWriteRaw(pt, key, v);
    key[0] = 3;
    key[1] = 2;
    v[0] = std::numeric_limits<double>::infinity();  // the default PINF
    tvfDataWriteRaw(pt, key, v);
    tvfDataWriteDone(pt);
    CtvfDataWriteRawStart(pt, "x", "", 1, 2, 0);
    key[0] = 2;
    const double x[5] = {1.25, 1e300, 0, std::numeric_limits<double>::denorm_min(), 1};
    tvfDataWriteRaw(pt, key, x);
    tvfDataWriteDone(pt);
    ASSERT_EQ(tvfErrorCount(pt), 0);
    ASSERT_EQ(tvfClose(pt), 1);
    XFree(&pt);
  }

  DumpResult Dump(const std::string &arguments) {
    const std::string out = dir_ + "/out.txt", err = dir_ + "/err.txt";
    int status = std::system((std::string(TVFDUMP_PATH) + " " + arguments + " >" + out + " 2>" + err).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
  }

  static std::string Slurp(const std::string &path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string dir_, file_;
};

TEST_F(Tvfdump, PrintsLabelsTextsSymbolsAndRecordsWithSpecialValuesNamed) {
  DumpResult run = Dump(file_);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "TVF format version 1, written by \"tvfdump test\"\n"
            "\n"
            "labels: 3\n"
            "  1 'seattle'\n"
            "  2 'new-york'\n"
            "  3 'chicago'\n"
            "\n"
            "texts: 1\n"
            "  1 \"on the coast\"\n"
            "\n"
            "symbols: 4\n"
            "  1 set i(*), 2 records \"plants\"\n"
            "  2 alias ii alias of i\n"
            "  3 parameter d(i,*), 3 records, domain checked \"distance\"\n"
            "  4 variable x(*), 1 record\n"
            "\n"
            "set i(*), 2 records \"plants\"\n"
            "  'seattle' \"on the coast\"\n"
            "  'chicago'\n"
            "\n"
            "parameter d(i,*), 3 records, domain checked \"distance\"\n"
            "  'seattle'.'new-york' 2.5\n"
            "  'seattle'.'chicago' -0\n"
            "  'chicago'.'new-york' +INF\n"
            "\n"
            "variable x(*), 1 record\n"
            "  'new-york'  level 1.25  marginal UNDF  lower 0  upper EPS  scale 1\n");
}

TEST_F(Tvfdump, PrintsOneSymbolByName) {
  DumpResult run = Dump("--symbol D " + file_);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "parameter d(i,*), 3 records, domain checked \"distance\"\n"
            "  'seattle'.'new-york' 2.5\n"
            "  'seattle'.'chicago' -0\n"
            "  'chicago'.'new-york' +INF\n");
  DumpResult missing = Dump("--symbol nothere " + file_);
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "tvfdump: no symbol 'nothere' in the file\n");
}

TEST_F(Tvfdump, ACorruptFileGivesTheLibrarysMessageAndStatusOne) {
  std::string bytes = Slurp(file_);
  std::ofstream(file_, std::ios::binary | std::ios::trunc).write(bytes.data(), 100);
  DumpResult run = Dump(file_);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tvfdump: file '" + file_ + "' is truncated: it has 100 of its " + std::to_string(bytes.size()) +
                         " bytes\n");

  // Damage in a record block shows once the listing reaches that symbol.
  bytes[64 + 20 + 1] ^= 0x20;
  std::ofstream(file_, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<long>(bytes.size()));
  run = Dump(file_);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tvfdump: checksum mismatch in the records of symbol 'i'\n");
}

TEST_F(Tvfdump, WrongUsage) {
  EXPECT_EQ(Dump("").status, 2);
  EXPECT_EQ(Dump("--bogus " + file_).status, 2);
  EXPECT_EQ(Dump(file_ + " " + file_).status, 2);
}

}  // namespace
