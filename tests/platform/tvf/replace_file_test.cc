// A file being written takes the place of the file of its name only when it is closed without errors; until
// then, and when it is not, the old file stays as it was, its readers go on reading it, and nothing else is
// left in its directory.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "tvf_test_support.h"

namespace tvf_test {
namespace {

using Names = std::vector<std::string>;

// Opens `path` for writing and writes parameter p with one record of value `value`.
void StartVersion(tvfHandle_t writer, const std::string &path, double value) {
  OpenWriteWithLabels(writer, path, {"a", "b"});
  WriteSymbol(writer, "p", 1, 1, {{{1}, {value}}});
}

double ValueOfP(const std::string &path) {
  Object reader;
  OpenRead(reader, path);
  const std::vector<Record> records = ReadSymbol(reader, SymbolNumber(reader, "p"));
  return records.empty() ? -1 : records[0].values[0];
}

TEST(ReplacingAFile, TheNewFileTakesThePlaceOfTheOldOnlyWhenClosedWithoutErrors) {
  struct Ending {
    const char *what;
    void (*end)(tvfHandle_t writer);
    bool replaces;
  };
  const Ending endings[] = {
      {"closed with a symbol still open",
       [](tvfHandle_t w) {
         ASSERT_EQ(CtvfDataWriteRawStart(w, "q", "", 0, 1, 0), 1);
         EXPECT_EQ(tvfClose(w), 1);
       },
       true},
      {"closed after a refused checked domain",
       [](tvfHandle_t w) {
         ASSERT_EQ(CtvfDataWriteRawStart(w, "q", "", 1, 1, 0), 1);
         const char *names[1] = {"nowhere"};
         EXPECT_EQ(CtvfSymbolSetDomain(w, names), 0);
         EXPECT_EQ(tvfClose(w), 1);
       },
       true},
      {"closed after a refused record",
       [](tvfHandle_t w) {
         ASSERT_EQ(CtvfDataWriteRawStart(w, "q", "", 1, 1, 0), 1);
         int key[TVF_MAX_DIM] = {3};
         double values[TVF_VALUE_COUNT] = {};
         EXPECT_EQ(tvfDataWriteRaw(w, key, values), 0);
         EXPECT_EQ(tvfClose(w), 0);
       },
       false},
      {"freed without closing", [](tvfHandle_t) {}, false},
  };
  for (bool old_file : {false, true}) {
    for (const Ending &ending : endings) {
      SCOPED_TRACE(std::string(ending.what) + (old_file ? ", over an old file" : ", no old file"));
      ScratchDir dir;
      const std::string path = dir.path("f.tvf");
      if (old_file) {
        Object writer;
        StartVersion(writer, path, 1);
        ASSERT_EQ(tvfClose(writer), 1);
      }
      const std::vector<char> old_bytes = ReadFile(path);
      {
        Object writer;
        StartVersion(writer, path, 2);
        ending.end(writer);
      }
      EXPECT_EQ(Entries(dir), old_file || ending.replaces ? Names{"f.tvf"} : Names{});
      if (ending.replaces) {
        EXPECT_EQ(ValueOfP(path), 2);
      } else {
        EXPECT_EQ(ReadFile(path), old_bytes);
      }
    }
  }
}

// The new file has no name until it is put in place, so a process that ends half way leaves none behind.
TEST(ReplacingAFile, AProcessEndingHalfWayLeavesTheOldFileAndNothingElse) {
  ScratchDir dir;
  const std::string path = dir.path("f.tvf");
  WriteSample(path);
  const std::vector<char> old_bytes = ReadFile(path);
  const tvb::testing::ChildResult child = tvb::testing::RunInChild([&] {
    Object writer;
    StartVersion(writer, path, 2);
    std::abort();
  });
  EXPECT_EQ(child.exitStatus, 128 + SIGABRT);
  EXPECT_EQ(Entries(dir), Names{"f.tvf"});
  EXPECT_EQ(ReadFile(path), old_bytes);
}

// Load, change, save under the same name: the records of the old file are read while the new one is written.
TEST(ReplacingAFile, AFileCanBeWrittenFromItsOwnRecords) {
  ScratchDir dir;
  const std::string path = dir.path("f.tvf");
  WriteSample(path);
  Object reader;
  OpenRead(reader, path);
  std::vector<Record> distances;
  WriteTvf(path, {"seattle", "new-york", "chicago"}, [&](tvfHandle_t writer) {
    distances = ReadSymbol(reader, SymbolNumber(reader, "d"));
    WriteSymbol(writer, "d", 2, 1, distances);
  });
  EXPECT_EQ(ReadSymbol(reader, SymbolNumber(reader, "x")).size(), 1u) << "the old file, still read";
  Object new_reader;
  OpenRead(new_reader, path);
  int symbols = 0, labels = 0;
  ASSERT_EQ(tvfSystemInfo(new_reader, &symbols, &labels), 1);
  EXPECT_EQ(symbols, 1);
  EXPECT_TRUE(SameRecords(ReadSymbol(new_reader, 1), distances));
  EXPECT_EQ(Entries(dir), Names{"f.tvf"});
}

// A link is followed and the permissions are kept.
TEST(ReplacingAFile, TheReplacedFileKeepsItsPlaceAndMode) {
  ScratchDir dir;
  const std::string real = dir.path("real.tvf"), link = dir.path("link.tvf");
  WriteSample(real);
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.tvf", link.c_str()), 0);
  {
    Object writer;
    StartVersion(writer, link, 2);
    ASSERT_EQ(tvfClose(writer), 1);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ValueOfP(real), 2);
  struct stat st;
  ASSERT_EQ(stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(dir), (Names{"link.tvf", "real.tvf"}));
}

TEST(ReplacingAFile, OnlyRegularFilesAreMadeOrReplaced) {
  ScratchDir dir;
  for (const auto &[path, reason] : {std::pair<std::string, std::string>{dir.path(""), "Is a directory"},
                                     {"/dev/null", "not a regular file"},
                                     {"/nonexistent-dir/x.tvf", "No such file or directory"}}) {
    Object writer;
    int err = 0;
    EXPECT_EQ(CtvfOpenWrite(writer, path.c_str(), "", &err), 0);
    EXPECT_EQ(ErrorText(writer, err), "cannot create TVF file (" + reason + ")");
  }
  EXPECT_EQ(Entries(dir), Names{});
}

}  // namespace
}  // namespace tvf_test
