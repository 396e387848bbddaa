// Files written and read back through the C interface: values bit for bit, special values, keys of every
// width, every symbol type, empty symbols, labels, texts, aliases, domains, record order and large symbols.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tvf_test_support.h"

namespace tvf_test {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kInternal[7] = {
    1e300, std::numeric_limits<double>::quiet_NaN(), kInf, -kInf, std::numeric_limits<double>::denorm_min(), 0, 0};
constexpr double kWriterSpecials[7] = {1e300, 2e300, 3e300, 4e300, 5e300, 0, 0};

class RoundTrip : public ::testing::Test {
 protected:
  // Writes the file (see WriteTvf) and opens it in reader_.
  void WriteThenOpen(const std::vector<std::string> &labels, const std::function<void(tvfHandle_t)> &body,
                     int codec = 0) {
    WriteTvf(path_, labels, body, codec);
    OpenRead(reader_, path_);
  }

  ScratchDir dir_;
  std::string path_ = dir_.path("f.tvf");
  Object reader_;
};

// A symbol's catalog entry: "name dim type subtype records 'text'".
std::string Describe(tvfHandle_t pt, int number) {
  char name[256] = "", text[256] = "";
  int dim = -1, type = -1, count = -1, subtype = -1;
  EXPECT_EQ(CtvfSymbolInfo(pt, number, name, &dim, &type), 1);
  EXPECT_EQ(CtvfSymbolInfoX(pt, number, &count, &subtype, text), 1);
  return std::string(name) + " " + std::to_string(dim) + " " + std::to_string(type) + " " + std::to_string(subtype) +
         " " + std::to_string(count) + " '" + text + "'";
}

// A symbol's domain: what CtvfSymbolGetDomainX returns (the kind of names), then the names.
std::string Domain(tvfHandle_t pt, int number) {
  char buffers[20][256], name[256];
  char *names[20];
  for (int d = 0; d < 20; ++d) names[d] = buffers[d];
  int dim = 0, type = 0;
  CtvfSymbolInfo(pt, number, name, &dim, &type);
  std::string domain = std::to_string(CtvfSymbolGetDomainX(pt, number, names));
  for (int d = 0; d < dim; ++d) domain += (d == 0 ? " " : ",") + std::string(names[d]);
  return domain;
}

TEST_F(RoundTrip, OrdinaryDoublesComeBackBitForBitWhateverTheSpecialValues) {
  // With the default special values, and with others on both sides (infinity is then ordinary too).
  // +0, -0, two subnormals, the smallest normal, the largest finite, NaNs with payloads other than the NA one
  // (the last the default NaN of arithmetic), 1.0, pi, -2^31, infinity and the double next to UNDF.
  const std::vector<uint64_t> bits = {0x0000000000000000, 0x8000000000000000, 0x0000000000000002,
                                      0x800fffffffffffff, 0x0010000000000000, 0x7fefffffffffffff,
                                      0x7ff0000000000001, 0x7ff8000000000123, 0x7ff8000000000001,
                                      0xfff8000000000000, 0x3ff0000000000000, 0x400921fb54442d18,
                                      0xc1e0000000000000, 0x7ff0000000000000, Bits(std::nextafter(1e300, 2e300))};
  std::vector<Record> records;
  for (size_t i = 0; i < bits.size(); ++i) records.push_back({{static_cast<int>(i) + 1}, {FromBits(bits[i])}});
  for (bool others : {false, true}) {
    SCOPED_TRACE(others ? "other special values" : "default special values");
    Object reader;
    WriteTvf(path_, Labels(static_cast<int>(bits.size())), [&](tvfHandle_t writer) {
      ASSERT_EQ(others ? tvfSetSpecialValues(writer, kWriterSpecials) : 1, 1);
      WriteSymbol(writer, "p", 1, 1, records);
    });
    OpenRead(reader, path_);
    const double reader_specials[7] = {-1, -2, -3, -4, -5, 0, 0};
    ASSERT_EQ(others ? tvfSetReadSpecialValues(reader, reader_specials) : 1, 1);
    EXPECT_TRUE(SameRecords(ReadSymbol(reader, 1), records));
  }
}

TEST_F(RoundTrip, SpecialValuesInEverySlotAreTranslatedToTheReadersValues) {
  // The writer's representation (what the database's caller uses) and the reader's (internal) differ.
  const std::vector<double> base = {0.25, 0.5, 0.75, 1.25, 1.5};
  std::vector<Record> records, expected;  // record r has special r % 5 in slot r / 5
  for (int r = 0; r < 25; ++r) {
    records.push_back({{r + 1}, base});
    expected.push_back({{r + 1}, base});
    records.back().values[static_cast<size_t>(r / 5)] = kWriterSpecials[r % 5];
    expected.back().values[static_cast<size_t>(r / 5)] = kInternal[r % 5];
  }
  WriteThenOpen(Labels(25), [&](tvfHandle_t writer) {
    ASSERT_EQ(tvfSetSpecialValues(writer, kWriterSpecials), 1);
    WriteSymbol(writer, "x", 1, 2, records);
  });
  double specials[7];
  ASSERT_EQ(tvfGetSpecialValues(reader_, specials), 1);
  std::copy(kInternal, kInternal + 5, specials);
  ASSERT_EQ(tvfSetReadSpecialValues(reader_, specials), 1);
  EXPECT_TRUE(SameRecords(ReadSymbol(reader_, 1), expected));
}

// A refused array changes nothing.
TEST_F(RoundTrip, SpecialValuesWithOneDoubleInTwoSlotsAreRefused) {
  const double same_twice[7] = {1e300, 2e300, 0.0, 4e300, 0.0, 0, 0};
  EXPECT_EQ(tvfSetSpecialValues(reader_, same_twice), 0);
  EXPECT_EQ(DrainErrors(reader_), std::vector<std::string>{"special values PINF and EPS are the same double, so "
                                                           "written values would be ambiguous"});
  double now[7];
  ASSERT_EQ(tvfGetSpecialValues(reader_, now), 1);
  EXPECT_EQ(Bits(now[2]), Bits(kInternal[2]));
}

// Label numbers that need three-byte varints.
TEST_F(RoundTrip, TwentyDimensionalKeysComeBackSortedWithTheFirstChangedPosition) {
  const int label_count = 70000;
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> label(1, label_count);
  std::vector<Record> records;
  for (int i = 0; i < 2000; ++i) {
    records.push_back({{}, {static_cast<double>(i)}});
    for (int d = 0; d < 20; ++d) records.back().key.push_back(d < 18 && i % 3 ? (d % 5) + 1 : label(rng));
  }
  // Keys that differ only in the first or only in the last position.
  records.push_back({std::vector<int>(20, label_count), {-2}});
  records.push_back({std::vector<int>(20, 1), {-1}});
  std::sort(records.begin(), records.end(), [](const Record &a, const Record &b) { return a.key < b.key; });
  records.erase(
      std::unique(records.begin(), records.end(), [](const Record &a, const Record &b) { return a.key == b.key; }),
      records.end());
  for (size_t i = 0; i < records.size(); ++i) {  // the first position that differs from the record before
    int first = 1;
    while (i > 0 && records[i].key[first - 1] == records[i - 1].key[first - 1]) ++first;
    records[i].dim_first = first;
  }
  std::vector<Record> shuffled = records;
  std::shuffle(shuffled.begin(), shuffled.end(), rng);

  WriteThenOpen(Labels(label_count), [&](tvfHandle_t writer) { WriteSymbol(writer, "p20", 20, 1, shuffled); });
  EXPECT_TRUE(SameRecords(ReadSymbol(reader_, 1), records));
}

TEST_F(RoundTrip, TheWholeCatalogComesBack) {
  const std::string longest(63, 'z'), long_text(255, 't');
  const std::vector<double> x1 = {1.5, -0.0, 0.0, kInf, 1.0}, e2 = {2, 3, 4, 5, 6};
  WriteThenOpen({"seattle", "San Diego", "", longest, "caf\xc3\xa9"}, [&](tvfHandle_t writer) {
    int nr = 0;
    ASSERT_EQ(CtvfAddSetText(writer, "first text", &nr), 1);
    EXPECT_EQ(nr, 1);
    ASSERT_EQ(CtvfAddSetText(writer, "first text", &nr), 1);
    EXPECT_EQ(nr, 2) << "texts are numbered as given, repeats included";
    ASSERT_EQ(CtvfAddSetText(writer, long_text.c_str(), &nr), 1);
    EXPECT_EQ(nr, 3);
    WriteSymbol(writer, "i", 1, 0, {{{1}, {1}}, {{2}, {3}}, {{4}, {0}}});
    ASSERT_EQ(CtvfAddAlias(writer, "j", "I"), 1) << "set names are found in any letter case";
    ASSERT_EQ(CtvfAddAlias(writer, "k", "j"), 1) << "an alias of an alias stands for the set";
    ASSERT_EQ(CtvfAddAlias(writer, "u", "*"), 1);
    WriteSymbol(writer, "checked", 3, 1, {{{1, 3, 4}, {1}}}, {"i", "*", "j"});
    WriteSymbol(writer, "relaxed", 2, 1, {{{3, 3}, {1}}});
    const char *relaxed[2] = {"anything", ""};
    ASSERT_EQ(CtvfSymbolSetDomainX(writer, 6, relaxed), 1);
    WriteSymbol(writer, "none", 2, 1, {});
    WriteSymbol(writer, "s", 0, 1, {{{}, {42.5}}});
    WriteSymbol(writer, "e", 0, 1, {});
    WriteSymbol(writer, "v", 3, 2, {});
    WriteSymbol(writer, "x", 1, 2, {{{1}, x1}}, {}, "a variable", 3);
    WriteSymbol(writer, "eq", 1, 3, {{{2}, e2}}, {}, "", 55);
  });
  int uels = -1, high = -1, symbols = -1;
  ASSERT_EQ(tvfUMUelInfo(reader_, &uels, &high), 1);
  EXPECT_EQ(uels, 5);
  ASSERT_EQ(tvfSystemInfo(reader_, &symbols, &uels), 1);
  EXPECT_EQ(symbols, 12);
  std::vector<std::string> labels, texts;
  char text[256];
  int mapping = 0;
  for (int n = 0; n <= 6; ++n) labels.push_back(CtvfUMUelGet(reader_, n, text, &mapping) == 1 ? text : "(none)");
  EXPECT_EQ(labels, (std::vector<std::string>{"(none)", "seattle", "San Diego", "", longest, "caf\xc3\xa9", "(none)"}));
  for (int n = 1; CtvfGetElemText(reader_, n, text, &mapping) != 0; ++n) texts.push_back(text);
  EXPECT_EQ(texts, (std::vector<std::string>{"first text", "first text", long_text}));

  EXPECT_EQ(ReadSymbol(reader_, 1)[1].values[0], 3.0) << "a set record carries its text number";
  std::vector<Record> universe = ReadSymbol(reader_, SymbolNumber(reader_, "*"));
  ASSERT_EQ(universe.size(), 5u);
  EXPECT_EQ(universe[4].key, std::vector<int>{5});
  EXPECT_EQ(SymbolNumber(reader_, "*"), 0);
  // The subtype of an alias is its set's number (0 for the Universe); an alias reads as what it stands for.
  EXPECT_EQ(Describe(reader_, SymbolNumber(reader_, "J")), "j 1 4 1 3 ''");
  EXPECT_EQ(Describe(reader_, SymbolNumber(reader_, "k")), "k 1 4 1 3 ''");
  EXPECT_EQ(Describe(reader_, SymbolNumber(reader_, "U")), "u 1 4 0 5 ''");
  for (int alias : {2, 3}) EXPECT_EQ(ReadSymbol(reader_, alias).size(), 3u);
  EXPECT_EQ(ReadSymbol(reader_, 4).size(), 5u);
  EXPECT_EQ(Domain(reader_, 5), "3 i,*,j");
  EXPECT_EQ(Domain(reader_, 6), "2 anything,");
  EXPECT_EQ(Domain(reader_, 7), "1 *,*");
  EXPECT_EQ(Domain(reader_, 13), "0");
  EXPECT_EQ(Describe(reader_, 8), "s 0 1 0 1 ''");
  EXPECT_EQ(Describe(reader_, 9), "e 0 1 0 0 ''");
  EXPECT_EQ(Describe(reader_, 10), "v 3 2 0 0 ''");
  EXPECT_EQ(Describe(reader_, 11), "x 1 2 3 1 'a variable'");
  EXPECT_EQ(Describe(reader_, 12), "eq 1 3 55 1 ''");
  EXPECT_EQ(ReadSymbol(reader_, 8)[0].values[0], 42.5);
  for (int empty : {9, 10}) EXPECT_TRUE(ReadSymbol(reader_, empty).empty());
  EXPECT_TRUE(SameRecords(ReadSymbol(reader_, 11), {{{1}, x1}}));
  EXPECT_EQ(ReadSymbol(reader_, 12)[0].values, e2);
  EXPECT_EQ(ReadSymbol(reader_, 1).size(), 3u);
}

// Also after a read abandoned half way.
TEST_F(RoundTrip, SymbolsAreReadInAnyOrderAndAgain) {
  WriteSample(path_);
  OpenRead(reader_, path_);
  int count = 0, key[20], dim_first;
  double values[5];
  ASSERT_EQ(tvfDataReadRawStart(reader_, 3, &count), 1);
  ASSERT_EQ(tvfDataReadRaw(reader_, key, values, &dim_first), 1);
  EXPECT_EQ(ReadSymbol(reader_, 1).size(), 2u);
  EXPECT_EQ(ReadSymbol(reader_, 3).size(), 3u);
}

// An empty one included.
TEST_F(RoundTrip, OneObjectWritesAndReadsFileAfterFile) {
  Object object;
  OpenWriteWithLabels(object, path_, {});
  ASSERT_EQ(tvfClose(object), 1);
  OpenRead(object, path_);
  int symbols = -1, labels = -1, version = 0;
  char producer[256];
  ASSERT_EQ(tvfSystemInfo(object, &symbols, &labels), 1);
  ASSERT_EQ(CtvfFileInfo(object, &version, producer), 1);
  EXPECT_EQ(std::to_string(symbols) + " " + std::to_string(labels) + " " + std::to_string(version) + " " + producer,
            "0 0 1 tvf tests");
  ASSERT_EQ(tvfClose(object), 1);
  OpenWriteWithLabels(object, path_, Labels(4));
  WriteSymbol(object, "b", 2, 1, {{{4, 4}, {44}}});
  ASSERT_EQ(tvfClose(object), 1);
  OpenRead(object, path_);
  EXPECT_EQ(ReadSymbol(object, 1)[0].values[0], 44);
  EXPECT_EQ(tvfClose(object), 1);
}

// Large symbols span many chunks, written with each codec.
class LargeSymbols : public RoundTrip, public ::testing::WithParamInterface<int> {};

TEST_P(LargeSymbols, SurviveEveryCodecEvenWithAnEarlyKeyAfterManyChunks) {
  // Symbol x is written in order until its last records, which belong near the start: what was already coded
  // is read back and the whole symbol written again. A quarter of its levels are random bit patterns, which
  // no codec can shrink.
  std::mt19937_64 rng(11);
  std::vector<Record> x;
  for (int r = 2; r <= 400; ++r) {
    for (int c = 1; c <= 400; ++c) {
      const double level = rng() % 4 == 0 ? FromBits(rng()) : r * 1000.0 + c;
      x.push_back({{r, c}, {level, 1, 0, 1e300, -0.0}});
    }
  }
  std::vector<Record> written = x;
  written.push_back({{1, 7}, {-1, -2, -3, -4, -5}});
  written.push_back({{1, 3}, {-6, -7, -8, -9, -10}});
  WriteThenOpen(
      Labels(400),
      [&](tvfHandle_t writer) {
        WriteSymbol(writer, "before", 1, 1, {{{1}, {1}}});
        WriteSymbol(writer, "x", 2, 2, written);
        WriteSymbol(writer, "in_order", 2, 2, x);
        WriteSymbol(writer, "after", 1, 1, {{{2}, {2}}});
      },
      GetParam());
  EXPECT_TRUE(SameRecords(ReadSymbol(reader_, 3), x));
  x.insert(x.begin(), {{{1, 3}, {-6, -7, -8, -9, -10}}, {{1, 7}, {-1, -2, -3, -4, -5}}});
  EXPECT_TRUE(SameRecords(ReadSymbol(reader_, 2), x));
  EXPECT_EQ(ReadSymbol(reader_, 1)[0].values[0], 1);
  EXPECT_EQ(ReadSymbol(reader_, 4)[0].values[0], 2);
}

INSTANTIATE_TEST_SUITE_P(Codecs, LargeSymbols, ::testing::Values(0, 1, 2), [](const auto &info) {
  return std::string(info.param == 0 ? "none" : info.param == 1 ? "lz4" : "zstd");
});

}  // namespace
}  // namespace tvf_test
