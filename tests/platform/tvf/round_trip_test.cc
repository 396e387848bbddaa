// Files written and read back through the C interface: values bit for bit, special values, keys of every
// width, scalars, sets with texts, aliases, domains, record order and large symbols.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tvf_test_support.h"

namespace tvf_test {
namespace {

constexpr double kInternal[7] = {1.0e300,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::denorm_min(),
                                 0.0,
                                 0.0};

std::vector<std::string> Labels(int n) {
  std::vector<std::string> labels;
  for (int i = 1; i <= n; ++i) labels.push_back("l" + std::to_string(i));
  return labels;
}

class RoundTrip : public ::testing::Test {
 protected:
  ScratchDir dir_;
  std::string path_ = dir_.Path("f.tvf");

  void OpenRead(Object &reader) {
    int err = -1;
    ASSERT_EQ(CtvfOpenRead(reader, path_.c_str(), &err), 1) << ErrorText(reader, err);
    EXPECT_EQ(err, 0);
  }
  void Close(Object &writer) {
    EXPECT_EQ(tvfErrorCount(writer), 0) << ::testing::PrintToString(DrainErrors(writer));
    ASSERT_EQ(tvfClose(writer), 1);
  }
};

TEST_F(RoundTrip, ParameterValuesComeBackBitForBit) {
  const std::vector<uint64_t> bits = {
      0x0000000000000000, 0x8000000000000000,  // +0, -0
      0x0000000000000002, 0x800fffffffffffff,  // subnormals
      0x0010000000000000, 0x7fefffffffffffff,  // smallest normal, largest finite
      0x7ff0000000000001, 0x7ff8000000000123,  // NaNs with payloads other than the NA one
      0xfff8000000000000, 0x3ff0000000000000,  // the default NaN of arithmetic, 1.0
      0x400921fb54442d18, 0xc1e0000000000000,  // pi, -2^31
  };
  std::vector<Record> records;
  for (size_t i = 0; i < bits.size(); ++i) records.push_back({{static_cast<int>(i) + 1}, {FromBits(bits[i])}});
  Object writer;
  OpenWriteWithLabels(writer, path_, Labels(static_cast<int>(bits.size())));
  WriteSymbol(writer, "p", 1, 1, records);
  Close(writer);

  Object reader;
  OpenRead(reader);
  std::vector<Record> back = ReadSymbol(reader, 1);
  ASSERT_EQ(back.size(), bits.size());
  for (size_t i = 0; i < bits.size(); ++i) {
    EXPECT_EQ(back[i].key, std::vector<int>{static_cast<int>(i) + 1});
    EXPECT_EQ(Bits(back[i].values[0]), bits[i]) << "record " << i;
  }
}

TEST_F(RoundTrip, SpecialValuesInEverySlotAreTranslatedToTheReadersValues) {
  // The writer's representation (what the database's caller uses) and the reader's (internal) differ.
  const double writer_specials[7] = {1e300, 2e300, 3e300, 4e300, 5e300, 0, 0};
  Object writer;
  OpenWriteWithLabels(writer, path_, Labels(25));
  ASSERT_EQ(tvfSetSpecialValues(writer, writer_specials), 1);
  const std::vector<double> base = {0.25, 0.5, 0.75, 1.25, 1.5};
  std::vector<Record> records;
  for (int slot = 0; slot < 5; ++slot) {
    for (int special = 0; special < 5; ++special) {
      Record r{{slot * 5 + special + 1}, base};
      r.values[static_cast<size_t>(slot)] = writer_specials[special];
      records.push_back(r);
    }
  }
  WriteSymbol(writer, "x", 1, 2, records);
  Close(writer);

  Object reader;
  OpenRead(reader);
  double specials[7];
  ASSERT_EQ(tvfGetSpecialValues(reader, specials), 1);
  std::copy(kInternal, kInternal + 5, specials);
  ASSERT_EQ(tvfSetReadSpecialValues(reader, specials), 1);
  std::vector<Record> back = ReadSymbol(reader, 1);
  ASSERT_EQ(back.size(), 25u);
  for (int slot = 0; slot < 5; ++slot) {
    for (int special = 0; special < 5; ++special) {
      const Record &r = back[static_cast<size_t>(slot * 5 + special)];
      for (int v = 0; v < 5; ++v) {
        uint64_t expected = v == slot ? Bits(kInternal[special]) : Bits(base[static_cast<size_t>(v)]);
        EXPECT_EQ(Bits(r.values[static_cast<size_t>(v)]), expected) << "slot " << slot << " special " << special;
      }
    }
  }
}

TEST_F(RoundTrip, DoublesNearTheSpecialValuesStayOrdinary) {
  Object writer;
  OpenWriteWithLabels(writer, path_, Labels(4));
  const double writer_specials[7] = {1e300, 2e300, 3e300, 4e300, 5e300, 0, 0};
  ASSERT_EQ(tvfSetSpecialValues(writer, writer_specials), 1);
  // A NaN with another payload than the NA slot, the double next to UNDF, infinity (not PINF here).
  const uint64_t bits[4] = {0x7ff8000000000001, Bits(std::nextafter(1e300, 2e300)),
                            Bits(std::numeric_limits<double>::infinity()), 0x8000000000000000};
  std::vector<Record> records;
  for (int i = 0; i < 4; ++i) records.push_back({{i + 1}, {FromBits(bits[i])}});
  WriteSymbol(writer, "p", 1, 1, records);
  Close(writer);

  Object reader;
  OpenRead(reader);
  const double reader_specials[7] = {-1, -2, -3, -4, -5, 0, 0};
  ASSERT_EQ(tvfSetReadSpecialValues(reader, reader_specials), 1);
  std::vector<Record> back = ReadSymbol(reader, 1);
  ASSERT_EQ(back.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Bits(back[static_cast<size_t>(i)].values[0]), bits[i]) << i;
}

TEST_F(RoundTrip, SpecialValuesForWritingMustBeDistinct) {
  Object writer;
  OpenWriteWithLabels(writer, path_, {});
  const double same_twice[7] = {1e300, 2e300, 0.0, 4e300, 0.0, 0, 0};
  EXPECT_EQ(tvfSetSpecialValues(writer, same_twice), 0);
  std::vector<std::string> errors = DrainErrors(writer);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "special values PINF and EPS are the same double, so written values would be ambiguous");
  double now[7];
  ASSERT_EQ(tvfGetSpecialValues(writer, now), 1);
  EXPECT_EQ(Bits(now[2]), Bits(kInternal[2])) << "a refused array changes nothing";
}

TEST_F(RoundTrip, TwentyDimensionalKeysWithLargeLabelNumbers) {
  const int label_count = 70000;  // label numbers that need three-byte varints
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> label(1, label_count);
  std::vector<Record> records;
  for (int i = 0; i < 2000; ++i) {
    Record r;
    for (int d = 0; d < 20; ++d) r.key.push_back(d < 18 && i % 3 ? (d % 5) + 1 : label(rng));
    r.values = {static_cast<double>(i)};
    records.push_back(r);
  }
  // Keys that differ only in the first or only in the last position.
  Record low{std::vector<int>(20, 1), {-1}};
  Record high{std::vector<int>(20, label_count), {-2}};
  records.push_back(high);
  records.push_back(low);
  std::sort(records.begin(), records.end(), [](const Record &a, const Record &b) { return a.key < b.key; });
  records.erase(
      std::unique(records.begin(), records.end(), [](const Record &a, const Record &b) { return a.key == b.key; }),
      records.end());
  std::vector<Record> shuffled = records;
  std::shuffle(shuffled.begin(), shuffled.end(), rng);

  Object writer;
  OpenWriteWithLabels(writer, path_, Labels(label_count));
  WriteSymbol(writer, "p20", 20, 1, shuffled);
  Close(writer);

  Object reader;
  OpenRead(reader);
  std::vector<Record> back = ReadSymbol(reader, 1);
  ASSERT_EQ(back.size(), records.size());
  for (size_t i = 0; i < back.size(); ++i) {
    EXPECT_EQ(back[i].key, records[i].key) << i;
    EXPECT_EQ(back[i].values[0], records[i].values[0]) << i;
  }
}

TEST_F(RoundTrip, RecordsWrittenOutOfOrderComeBackSortedWithTheFirstChangedPosition) {
  Object writer;
  OpenWriteWithLabels(writer, path_, Labels(3));
  WriteSymbol(writer, "p", 2, 1, {{{3, 1}, {31}}, {{1, 2}, {12}}, {{1, 1}, {11}}, {{2, 3}, {23}}, {{1, 3}, {13}}});
  Close(writer);

  Object reader;
  OpenRead(reader);
  int count = 0;
  ASSERT_EQ(tvfDataReadRawStart(reader, 1, &count), 1);
  ASSERT_EQ(count, 5);
  const int expected[5][3] = {{1, 1, 1}, {1, 2, 2}, {1, 3, 2}, {2, 3, 1}, {3, 1, 1}};  // key, first changed
  for (const auto &e : expected) {
    int key[20];
    double values[5];
    int dim_first = 0;
    ASSERT_EQ(tvfDataReadRaw(reader, key, values, &dim_first), 1);
    EXPECT_EQ(key[0], e[0]);
    EXPECT_EQ(key[1], e[1]);
    EXPECT_EQ(values[0], e[0] * 10 + e[1]);
    EXPECT_EQ(dim_first, e[2]);
  }
  EXPECT_EQ(tvfDataReadDone(reader), 1);
}

TEST_F(RoundTrip, ScalarsAndEmptySymbols) {
  Object writer;
  OpenWriteWithLabels(writer, path_, {});
  WriteSymbol(writer, "s", 0, 1, {{{}, {42.5}}});
  WriteSymbol(writer, "e", 0, 1, {});
  WriteSymbol(writer, "v", 3, 2, {});
  Close(writer);

  Object reader;
  OpenRead(reader);
  std::vector<Record> s = ReadSymbol(reader, 1);
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].values[0], 42.5);
  EXPECT_TRUE(ReadSymbol(reader, 2).empty());
  EXPECT_TRUE(ReadSymbol(reader, 3).empty());
  int count = -1, user_info = -1;
  char text[256];
  ASSERT_EQ(CtvfSymbolInfoX(reader, 3, &count, &user_info, text), 1);
  EXPECT_EQ(count, 0);
}

TEST_F(RoundTrip, VariablesAndEquationsKeepFiveValuesAndTheirSubtypes) {
  Object writer;
  OpenWriteWithLabels(writer, path_, Labels(2));
  ASSERT_EQ(CtvfDataWriteRawStart(writer, "x", "a variable", 1, 2, 3), 1);
  int key[20] = {1};
  const double x1[5] = {1.5, -0.0, 0.0, std::numeric_limits<double>::infinity(), 1.0};
  ASSERT_EQ(tvfDataWriteRaw(writer, key, x1), 1);
  ASSERT_EQ(tvfDataWriteDone(writer), 1);
  ASSERT_EQ(CtvfDataWriteRawStart(writer, "eq", "", 1, 3, 55), 1);
  key[0] = 2;
  const double e2[5] = {2, 3, 4, 5, 6};
  ASSERT_EQ(tvfDataWriteRaw(writer, key, e2), 1);
  ASSERT_EQ(tvfDataWriteDone(writer), 1);
  Close(writer);

  Object reader;
  OpenRead(reader);
  char name[256], text[256];
  int dim = -1, type = -1, count = -1, user_info = -1;
  ASSERT_EQ(CtvfSymbolInfo(reader, 1, name, &dim, &type), 1);
  ASSERT_EQ(CtvfSymbolInfoX(reader, 1, &count, &user_info, text), 1);
  EXPECT_STREQ(name, "x");
  EXPECT_EQ(type, 2);
  EXPECT_EQ(user_info, 3);
  EXPECT_STREQ(text, "a variable");
  ASSERT_EQ(CtvfSymbolInfoX(reader, 2, &count, &user_info, text), 1);
  EXPECT_EQ(user_info, 55);
  std::vector<Record> x = ReadSymbol(reader, 1);
  ASSERT_EQ(x.size(), 1u);
  for (int v = 0; v < 5; ++v) EXPECT_EQ(Bits(x[0].values[static_cast<size_t>(v)]), Bits(x1[v])) << v;
  std::vector<Record> e = ReadSymbol(reader, 2);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].values, std::vector<double>(e2, e2 + 5));
}

TEST_F(RoundTrip, LabelsTextsAndTheUniverse) {
  const std::string longest(63, 'z');
  Object writer;
  OpenWriteWithLabels(writer, path_, {"seattle", "San Diego", "", longest, "caf\xc3\xa9"});
  int nr = 0;
  ASSERT_EQ(CtvfAddSetText(writer, "first text", &nr), 1);
  EXPECT_EQ(nr, 1);
  ASSERT_EQ(CtvfAddSetText(writer, "first text", &nr), 1);
  EXPECT_EQ(nr, 2) << "texts are numbered as given, repeats included";
  ASSERT_EQ(CtvfAddSetText(writer, std::string(255, 't').c_str(), &nr), 1);
  EXPECT_EQ(nr, 3);
  WriteSymbol(writer, "i", 1, 0, {{{1}, {1}}, {{2}, {3}}, {{4}, {0}}});
  Close(writer);

  Object reader;
  OpenRead(reader);
  int uels = -1, high = -1, symbols = -1;
  ASSERT_EQ(tvfUMUelInfo(reader, &uels, &high), 1);
  EXPECT_EQ(uels, 5);
  ASSERT_EQ(tvfSystemInfo(reader, &symbols, &uels), 1);
  EXPECT_EQ(symbols, 1);
  char label[256];
  int mapping = 0;
  ASSERT_EQ(CtvfUMUelGet(reader, 2, label, &mapping), 1);
  EXPECT_STREQ(label, "San Diego");
  ASSERT_EQ(CtvfUMUelGet(reader, 4, label, &mapping), 1);
  EXPECT_EQ(label, longest);
  ASSERT_EQ(CtvfUMUelGet(reader, 5, label, &mapping), 1);
  EXPECT_STREQ(label, "caf\xc3\xa9");
  EXPECT_EQ(CtvfUMUelGet(reader, 6, label, &mapping), 0);
  EXPECT_EQ(CtvfUMUelGet(reader, 0, label, &mapping), 0);

  std::vector<std::string> texts;
  char text[256];
  int node = -1;
  for (int n = 1; CtvfGetElemText(reader, n, text, &node) != 0; ++n) texts.push_back(text);
  EXPECT_EQ(texts, (std::vector<std::string>{"first text", "first text", std::string(255, 't')}));

  std::vector<Record> i = ReadSymbol(reader, 1);
  ASSERT_EQ(i.size(), 3u);
  EXPECT_EQ(i[1].values[0], 3.0) << "a set record carries its text number";

  std::vector<Record> universe = ReadSymbol(reader, 0);
  ASSERT_EQ(universe.size(), 5u);
  EXPECT_EQ(universe[4].key, std::vector<int>{5});
  int number = -1;
  ASSERT_EQ(CtvfFindSymbol(reader, "*", &number), 1);
  EXPECT_EQ(number, 0);
}

TEST_F(RoundTrip, AliasesStandForTheirSetOrTheUniverse) {
  Object writer;
  OpenWriteWithLabels(writer, path_, Labels(3));
  WriteSymbol(writer, "i", 1, 0, {{{1}, {0}}, {{3}, {0}}});
  ASSERT_EQ(CtvfAddAlias(writer, "j", "I"), 1) << "set names are found in any letter case";
  ASSERT_EQ(CtvfAddAlias(writer, "k", "j"), 1) << "an alias of an alias stands for the set";
  ASSERT_EQ(CtvfAddAlias(writer, "u", "*"), 1);
  Close(writer);

  Object reader;
  OpenRead(reader);
  char name[256], text[256];
  int dim = -1, type = -1, count = -1, subtype = -1;
  for (const char *alias : {"j", "k"}) {
    int number = SymbolNumber(reader, alias);
    ASSERT_EQ(CtvfSymbolInfo(reader, number, name, &dim, &type), 1);
    EXPECT_EQ(type, 4);
    EXPECT_EQ(dim, 1);
    ASSERT_EQ(CtvfSymbolInfoX(reader, number, &count, &subtype, text), 1);
    EXPECT_EQ(subtype, 1) << "the subtype of an alias is its set's number";
    EXPECT_EQ(ReadSymbol(reader, number).size(), 2u);
  }
  ASSERT_EQ(CtvfSymbolInfoX(reader, SymbolNumber(reader, "u"), &count, &subtype, text), 1);
  EXPECT_EQ(subtype, 0);
  EXPECT_EQ(ReadSymbol(reader, SymbolNumber(reader, "U")).size(), 3u);
}

TEST_F(RoundTrip, DomainsCheckedRelaxedAndAbsent) {
  Object writer;
  OpenWriteWithLabels(writer, path_, Labels(3));
  WriteSymbol(writer, "i", 1, 0, {{{1}, {0}}, {{2}, {0}}});
  ASSERT_EQ(CtvfAddAlias(writer, "ii", "i"), 1);
  const std::vector<std::string> checked = {"i", "*", "ii"};
  WriteSymbol(writer, "checked", 3, 1, {{{1, 3, 2}, {1}}}, &checked);
  WriteSymbol(writer, "relaxed", 2, 1, {{{3, 3}, {1}}});
  const char *relaxed[2] = {"anything", ""};
  ASSERT_EQ(CtvfSymbolSetDomainX(writer, 4, relaxed), 1);
  WriteSymbol(writer, "none", 2, 1, {});
  Close(writer);

  Object reader;
  OpenRead(reader);
  char buffers[20][256];
  char *names[20];
  for (int d = 0; d < 20; ++d) names[d] = buffers[d];
  EXPECT_EQ(CtvfSymbolGetDomainX(reader, 3, names), 3);
  EXPECT_STREQ(names[0], "i");
  EXPECT_STREQ(names[1], "*");
  EXPECT_STREQ(names[2], "ii");
  EXPECT_EQ(CtvfSymbolGetDomainX(reader, 4, names), 2);
  EXPECT_STREQ(names[0], "anything");
  EXPECT_STREQ(names[1], "");
  EXPECT_EQ(CtvfSymbolGetDomainX(reader, 5, names), 1);
  EXPECT_STREQ(names[0], "*");
  EXPECT_STREQ(names[1], "*");
  EXPECT_EQ(CtvfSymbolGetDomainX(reader, 6, names), 0);
}

TEST_F(RoundTrip, SymbolsAreReadInAnyOrderAndAgain) {
  Object writer;
  OpenWriteWithLabels(writer, path_, Labels(4));
  WriteSymbol(writer, "a", 1, 1, {{{1}, {1}}, {{2}, {2}}});
  WriteSymbol(writer, "b", 2, 1, {{{4, 4}, {44}}});
  Close(writer);

  Object reader;
  OpenRead(reader);
  EXPECT_EQ(ReadSymbol(reader, 2).size(), 1u);
  EXPECT_EQ(ReadSymbol(reader, 1).size(), 2u);
  EXPECT_EQ(ReadSymbol(reader, 2)[0].values[0], 44);
  // A read may be abandoned half way.
  int count = 0;
  int key[20];
  double values[5];
  int dim_first;
  ASSERT_EQ(tvfDataReadRawStart(reader, 1, &count), 1);
  ASSERT_EQ(tvfDataReadRaw(reader, key, values, &dim_first), 1);
  EXPECT_EQ(ReadSymbol(reader, 1).size(), 2u);
}

TEST_F(RoundTrip, AnEmptyFile) {
  Object writer;
  OpenWriteWithLabels(writer, path_, {});
  Close(writer);
  Object reader;
  OpenRead(reader);
  int symbols = -1, labels = -1;
  ASSERT_EQ(tvfSystemInfo(reader, &symbols, &labels), 1);
  EXPECT_EQ(symbols, 0);
  EXPECT_EQ(labels, 0);
  int version = 0;
  char producer[256];
  ASSERT_EQ(CtvfFileInfo(reader, &version, producer), 1);
  EXPECT_EQ(version, 1);
  EXPECT_STREQ(producer, "tvf tests");
}

TEST_F(RoundTrip, OneObjectWritesThenReads) {
  Object object;
  OpenWriteWithLabels(object, path_, Labels(1));
  WriteSymbol(object, "a", 1, 1, {{{1}, {7}}});
  Close(object);
  OpenRead(object);
  EXPECT_EQ(ReadSymbol(object, 1).size(), 1u);
  EXPECT_EQ(tvfClose(object), 1);
}

// Large symbols span many chunks, written with each codec.
class LargeSymbol : public RoundTrip, public ::testing::WithParamInterface<int> {};

TEST_P(LargeSymbol, RecordsSurviveEveryCodec) {
  const int rows = 600, columns = 500;
  std::mt19937_64 rng(11);
  std::vector<Record> records;
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= columns; c += 1 + static_cast<int>(rng() % 3)) {
      double v = (rng() % 4 == 0) ? FromBits(rng()) : static_cast<double>(rng() % 100);
      records.push_back({{r, c}, {v}});
    }
  }
  Object writer;
  ASSERT_EQ(tvfSetCompression(writer, GetParam()), 1);
  OpenWriteWithLabels(writer, path_, Labels(std::max(rows, columns)));
  WriteSymbol(writer, "small", 1, 1, {{{1}, {1}}});
  WriteSymbol(writer, "big", 2, 1, records);
  WriteSymbol(writer, "after", 1, 1, {{{2}, {2}}});
  Close(writer);

  Object reader;
  OpenRead(reader);
  std::vector<Record> back = ReadSymbol(reader, 2);
  ASSERT_EQ(back.size(), records.size());
  for (size_t i = 0; i < back.size(); ++i) {
    ASSERT_EQ(back[i].key, records[i].key) << i;
    ASSERT_EQ(Bits(back[i].values[0]), Bits(records[i].values[0])) << i;
  }
  EXPECT_EQ(ReadSymbol(reader, 3)[0].values[0], 2);
}

TEST_P(LargeSymbol, AnEarlyKeyAfterManyChunksIsSortedIn) {
  // Written in order until the last records, which belong near the start: what was already coded is
  // read back and the whole symbol written again.
  std::vector<Record> records;
  for (int r = 2; r <= 400; ++r) {
    for (int c = 1; c <= 400; ++c) records.push_back({{r, c}, {r * 1000.0 + c, 1, 0, 1e300, -0.0}});
  }
  std::vector<Record> written = records;
  written.push_back({{1, 7}, {-1, -2, -3, -4, -5}});
  written.push_back({{1, 3}, {-6, -7, -8, -9, -10}});
  written.push_back({{400, 400}, {9, 9, 9, 9, 9}});  // a duplicate of the last one before
  Object writer;
  ASSERT_EQ(tvfSetCompression(writer, GetParam()), 1);
  OpenWriteWithLabels(writer, path_, Labels(400));
  WriteSymbol(writer, "before", 1, 0, {{{1}, {0}}});
  WriteSymbol(writer, "x", 2, 2, written);
  WriteSymbol(writer, "after", 1, 1, {{{2}, {2}}});
  EXPECT_EQ(DrainErrors(writer),
            std::vector<std::string>{"duplicate key ('l400','l400') in the records of symbol 'x'"});
  ASSERT_EQ(tvfClose(writer), 1);

  Object reader;
  OpenRead(reader);
  std::vector<Record> back = ReadSymbol(reader, 2);
  ASSERT_EQ(back.size(), records.size() + 2);
  EXPECT_EQ(back[0].key, (std::vector<int>{1, 3}));
  EXPECT_EQ(back[1].values, (std::vector<double>{-1, -2, -3, -4, -5}));
  for (size_t i = 0; i < records.size(); ++i) {
    ASSERT_EQ(back[i + 2].key, records[i].key) << i;
    ASSERT_EQ(back[i + 2].values, records[i].values) << i;
  }
  EXPECT_EQ(Bits(back.back().values[4]), Bits(-0.0));
  EXPECT_EQ(ReadSymbol(reader, 3)[0].values[0], 2);
}

INSTANTIATE_TEST_SUITE_P(Codecs, LargeSymbol, ::testing::Values(0, 1, 2), [](const auto &info) {
  return std::string(info.param == 0 ? "none" : info.param == 1 ? "lz4" : "zstd");
});

}  // namespace
}  // namespace tvf_test
