// Helpers for the tests of the TVF library and of its tools: an object that frees itself, the scratch directory,
// short forms of the write and read sequences that the database goes through, and a sample file.
#ifndef TVF_TESTS_TVF_TEST_SUPPORT_H
#define TVF_TESTS_TVF_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "tvf.h"

namespace tvf_test {

// A library object for one test.
class Object {
 public:
  Object() { EXPECT_EQ(XCreate(&pt_), 1); }
  ~Object() { XFree(&pt_); }
  Object(const Object &) = delete;
  Object &operator=(const Object &) = delete;
  operator tvfHandle_t() const { return pt_; }

 private:
  tvfHandle_t pt_ = nullptr;
};

using tvbtest::ScratchDir;

// One record as the library hands it over: the key's first dim entries, five values and, when read, the first
// position (from 1) in which its key differs from the one before.
struct Record {
  std::vector<int> key;
  std::vector<double> values;
  int dim_first = 0;
};

inline std::string ErrorText(tvfHandle_t pt, int number) {
  char text[TVF_STRING_SIZE];
  EXPECT_EQ(CtvfErrorStr(pt, number, text), 1);
  return text;
}

// Every error still on the log, most recent first, as texts (the log is emptied).
inline std::vector<std::string> DrainErrors(tvfHandle_t pt) {
  std::vector<std::string> texts;
  for (int e = tvfGetLastError(pt); e != 0; e = tvfGetLastError(pt)) texts.push_back(ErrorText(pt, e));
  return texts;
}

// Labels "l1" to "ln".
inline std::vector<std::string> Labels(int n) {
  std::vector<std::string> labels;
  for (int i = 1; i <= n; ++i) labels.push_back("l" + std::to_string(i));
  return labels;
}

// Opens `path` for writing with the given labels registered (numbers 1, 2, ...).
inline void OpenWriteWithLabels(tvfHandle_t pt, const std::string &path, const std::vector<std::string> &labels) {
  int err = -1;
  ASSERT_EQ(CtvfOpenWrite(pt, path.c_str(), "tvf tests", &err), 1) << ErrorText(pt, err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(tvfUELRegisterRawStart(pt), 1);
  for (const std::string &l : labels) ASSERT_EQ(CtvfUELRegisterRaw(pt, l.c_str()), 1) << l;
  ASSERT_EQ(tvfUELRegisterDone(pt), 1);
}

// Writes a whole file with a codec (0 none, 1 lz4, 2 zstd): opens it with the labels, lets `body` write and
// closes it; fails the test when an error is left on the log.
inline void WriteTvf(const std::string &path, const std::vector<std::string> &labels,
                     const std::function<void(tvfHandle_t)> &body, int codec = 0) {
  Object writer;
  ASSERT_EQ(tvfSetCompression(writer, codec), 1);
  OpenWriteWithLabels(writer, path, labels);
  body(writer);
  EXPECT_EQ(DrainErrors(writer), std::vector<std::string>{});
  ASSERT_EQ(tvfClose(writer), 1);
}

// Writes records of a symbol in the given order, keys as label numbers, after its checked domain if one is given.
inline void WriteSymbol(tvfHandle_t pt, const std::string &name, int dim, int type, const std::vector<Record> &records,
                        const std::vector<std::string> &checked_domain = {}, const std::string &text = "",
                        int user_info = 0) {
  ASSERT_EQ(CtvfDataWriteRawStart(pt, name.c_str(), text.c_str(), dim, type, user_info), 1);
  std::vector<const char *> names;
  for (const std::string &d : checked_domain) names.push_back(d.c_str());
  ASSERT_EQ(names.empty() ? 1 : CtvfSymbolSetDomain(pt, names.data()), 1);
  for (const Record &r : records) {
    int key[TVF_MAX_DIM] = {};
    double values[TVF_VALUE_COUNT] = {};
    std::copy(r.key.begin(), r.key.end(), key);
    std::copy(r.values.begin(), r.values.end(), values);
    tvfDataWriteRaw(pt, key, values);
  }
  ASSERT_EQ(tvfDataWriteDone(pt), 1);
}

// A small file with a bit of everything: labels, a text, a set, an alias, a parameter with a checked domain and
// special values, a variable and a scalar.
inline void WriteSample(const std::string &path, int codec = 0) {
  WriteTvf(
      path, {"seattle", "new-york", "chicago"},
      [](tvfHandle_t writer) {
        int nr;
        ASSERT_EQ(CtvfAddSetText(writer, "on the coast", &nr), 1);
        WriteSymbol(writer, "i", 1, 0, {{{1}, {1}}, {{3}, {0}}}, {}, "plants");
        ASSERT_EQ(CtvfAddAlias(writer, "ii", "i"), 1);
        const double inf = std::numeric_limits<double>::infinity();  // the default PINF
        WriteSymbol(writer, "d", 2, 1, {{{1, 2}, {2.5}}, {{1, 3}, {-0.0}}, {{3, 2}, {inf}}}, {"i", "*"}, "distance");
        WriteSymbol(writer, "x", 1, 2, {{{2}, {1.25, 1e300, 0, std::numeric_limits<double>::denorm_min(), 1}}});
        WriteSymbol(writer, "s", 0, 1, {{{}, {3.25}}});
      },
      codec);
}

inline void OpenRead(tvfHandle_t pt, const std::string &path) {
  int err = -1;
  ASSERT_EQ(CtvfOpenRead(pt, path.c_str(), &err), 1) << ErrorText(pt, err);
  EXPECT_EQ(err, 0);
}

// Reads every record of symbol `number`; fails the test when the read ends with an error.
inline std::vector<Record> ReadSymbol(tvfHandle_t pt, int number) {
  char name[TVF_STRING_SIZE];
  int dim = 0, type = 0, count = -1;
  EXPECT_EQ(CtvfSymbolInfo(pt, number, name, &dim, &type), 1);
  EXPECT_EQ(tvfDataReadRawStart(pt, number, &count), 1);
  const int errors_before = tvfErrorCount(pt);
  std::vector<Record> records;
  int key[TVF_MAX_DIM], dim_first = 0;
  double values[TVF_VALUE_COUNT];
  for (int i = 0; i <= count && tvfDataReadRaw(pt, key, values, &dim_first) == 1; ++i) {
    records.push_back({std::vector<int>(key, key + dim), std::vector<double>(values, values + 5), dim_first});
  }
  EXPECT_EQ(static_cast<int>(records.size()), count) << "records of " << name << " read, and announced";
  EXPECT_EQ(tvfErrorCount(pt), errors_before);
  EXPECT_EQ(tvfDataReadDone(pt), 1);
  return records;
}

// Reads every record of every symbol as the database does, allocating nothing itself; true when every call
// succeeded and no error was logged.
inline bool ReadEverything(tvfHandle_t pt) {
  int symbols = 0, labels = 0, count = 0, key[TVF_MAX_DIM], dim_first;
  double values[TVF_VALUE_COUNT];
  char text[TVF_STRING_SIZE];
  bool ok = tvfSystemInfo(pt, &symbols, &labels) == 1;
  for (int s = 1; s <= symbols; ++s) {
    ok = CtvfSymbolInfoX(pt, s, &count, &labels, text) && ok;
    ok = tvfDataReadRawStart(pt, s, &count) && ok;
    for (int r = 0; r < count; ++r) ok = tvfDataReadRaw(pt, key, values, &dim_first) && ok;
    ok = tvfDataReadDone(pt) && ok;
  }
  return tvfErrorCount(pt) == 0 && ok;
}

inline int SymbolNumber(tvfHandle_t pt, const std::string &name) {
  int number = -1;
  EXPECT_EQ(CtvfFindSymbol(pt, name.c_str(), &number), 1) << name;
  return number;
}

inline std::vector<char> ReadFile(const std::string &path) {
  return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

inline void WriteFile(const std::string &path, const std::vector<char> &bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The names in a directory, sorted.
inline std::vector<std::string> Entries(const ScratchDir &dir) {
  std::vector<std::string> names;
  for (const auto &entry : std::filesystem::directory_iterator(dir.path(""))) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

inline uint64_t Bits(double v) { return std::bit_cast<uint64_t>(v); }
inline double FromBits(uint64_t b) { return std::bit_cast<double>(b); }

// Whether `got` holds the records of `want`: the same keys, the values the same bit for bit (those not given are
// 0) and, where `want` gives one, the same first changed position.
inline ::testing::AssertionResult SameRecords(const std::vector<Record> &got, const std::vector<Record> &want) {
  const auto text = [](const Record &r, int first) {
    std::ostringstream out;
    out << ::testing::PrintToString(r.key) << " first " << first << std::hex;
    for (size_t v = 0; v < TVF_VALUE_COUNT; ++v) out << " " << (v < r.values.size() ? Bits(r.values[v]) : 0);
    return out.str();
  };
  if (got.size() != want.size()) return ::testing::AssertionFailure() << got.size() << " records, not " << want.size();
  for (size_t i = 0; i < got.size(); ++i) {
    const int first = want[i].dim_first != 0 ? want[i].dim_first : got[i].dim_first;
    bool same = got[i].key == want[i].key && got[i].dim_first == first;
    for (size_t v = 0; v < TVF_VALUE_COUNT; ++v) {
      same = same && Bits(got[i].values[v]) == Bits(v < want[i].values.size() ? want[i].values[v] : 0.0);
    }
    if (!same) {
      return ::testing::AssertionFailure()
             << "record " << i << ": " << text(got[i], got[i].dim_first) << " instead of " << text(want[i], first);
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace tvf_test

#endif
