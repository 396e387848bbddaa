// Round trips through TVF files: a database with every kind of symbol and value is written, read back
// lazily and compared record by record; a file read and written again before any symbol was used gives the
// same records in the same order and leaves every symbol unread.
#include <limits>
#include <string>
#include <vector>

#include "exchange/exchange_support.h"

namespace {

using exchange_test::Database;
using exchange_test::dump;
using exchange_test::ScratchDir;
using exchange_test::TvfFileWriter;
using exchange_test::wasNeverLoaded;

constexpr double kUndf = 1e300, kNa = 2e300, kPinf = 3e300, kMinf = 4e300, kEps = 5e300;

class RoundTrip : public ::testing::Test {
 protected:
  // A file with what only a file can bring: aliases (of a set and of the Universe) and a symbol over one.
  void writeBaseFile() {
    TvfFileWriter file(dir.path("base.tvf"), {"a", "b", "c", "d"}, {"first plant", "second plant"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {1}}, {{2}, {2}}, {{3}, {0}}}, {}, "plants");
    file.alias("ii", "i");
    file.symbol("j", 1, TRV_DT_SET, 0, {{{3}, {0}}, {{4}, {0}}}, {}, "markets");
    file.alias("u", "*");
    // The library's own special values: +infinity is its PINF, read back as the database's.
    const double infinity = std::numeric_limits<double>::infinity();
    file.symbol("fromFile", 2, TRV_DT_PAR, 0, {{{1, 3}, {1.25}}, {{2, 4}, {infinity}}, {{3, 3}, {-0.0}}}, {"ii", "j"});
  }

  // The base file's symbols, still unread, and symbols added in memory with every feature.
  void fill(Database& db) {
    ASSERT_EQ(1, c__tvbinitfromtvf(db, dir.path("base.tvf").c_str())) << db.lastError();

    tvbSymbol* k = db.add("k", 1, TRV_DT_SET, 0, "set with texts");
    std::string longest(255, 'x');
    db.record(k, {"a"}, {1}, "shared text");
    db.record(k, {"new1"}, {1}, "shared text");  // two records, one text
    db.record(k, {"new2"}, {0});
    db.record(k, {"new3"}, {1}, longest.c_str());
    db.record(k, {"b"}, {1}, "second plant");  // a text the file brought

    tvbSymbol* f = db.add("f", 0, TRV_DT_PAR, 0, "scalar");
    db.record(f, {}, {90});

    tvbSymbol* v = db.add("v", 1, TRV_DT_PAR, 0, "every kind of value");
    const double values[] = {kUndf, kNa, kPinf, kMinf, kEps, 0.0, -0.0, 1.0, -1.0, 4.9e-322, 1e-300, 1e299, 3.25};
    for (size_t n = 0; n < std::size(values); ++n) db.record(v, {("v" + std::to_string(n)).c_str()}, {values[n]});

    tvbSymbol* x = db.add("x", 2, TRV_DT_VAR, TRV_VAR_BINARY, "special values in every field");
    const double specials[] = {kUndf, kNa, kPinf, kMinf, kEps};
    for (int r = 0; r < 5; ++r) {
      std::vector<double> fields;
      for (int field = 0; field < 5; ++field) fields.push_back(specials[(r + field) % 5]);
      db.record(x, {"a", ("v" + std::to_string(r)).c_str()}, fields);
    }
    db.record(x, {"b", "c"}, {0.5, -0.0, 0, 1, 1});

    tvbSymbol* e = db.add("e", 1, TRV_DT_EQU, TRV_EQU_LE, "equation");
    db.record(e, {"c"}, {1, 2, kMinf, 3, 1});

    tvbSymbol* wide = db.add("wide", 20, TRV_DT_PAR, 0, "twenty dimensions");
    std::vector<std::string> labels;
    for (int n = 0; n < 21; ++n) labels.push_back("w" + std::to_string(n));
    for (int r = 0; r < 3; ++r) {
      std::vector<const char*> key;
      for (int pos = 0; pos < 20; ++pos) key.push_back(labels[(pos * 7 + r) % 21].c_str());
      db.record(wide, key, {r + 0.5});
    }

    // Domains: a set of the file, a relaxed name, the Universe.
    tvbSymbol* domains[3] = {db.symbol("i"), nullptr, nullptr};
    const char* names[3] = {"", "nowhere", "*"};
    tvbSymbol* relaxed = nullptr;
    ASSERT_EQ(1, c__tvbaddsymbolx(db, "relaxed", 3, TRV_DT_PAR, 0, "", domains, names, &relaxed)) << db.lastError();
    db.record(relaxed, {"a", "zz", "c"}, {7});

    db.add("empty", 1, TRV_DT_SET, 0, "no records");
  }

  ScratchDir dir;
};

TEST_F(RoundTrip, EveryKindOfSymbolAndValueComesBackRecordByRecord) {
  writeBaseFile();
  Database original;
  fill(original);
  std::string written = dir.path("written.tvf");
  ASSERT_EQ(1, c__tvbwritetvf(original, written.c_str(), 0)) << original.lastError();

  Database readBack;
  ASSERT_EQ(1, c__tvbinitfromtvf(readBack, written.c_str())) << readBack.lastError();
  EXPECT_EQ(dump(original), dump(readBack));

  // What a dump does not show: aliases, and where the labels stand.
  tvbSymbol* universe = readBack.symbol("*");
  EXPECT_EQ(readBack.symbol("i"), readBack.symbol("ii"));
  EXPECT_EQ(universe, readBack.symbol("u"));
  int count = 0, expected = 0;
  double unused;
  char text[TRV_SSSIZE];
  c__tvbinfo(original, TRV_INFO_UEL_COUNT, &expected, &unused, text);
  c__tvbinfo(readBack, TRV_INFO_UEL_COUNT, &count, &unused, text);
  EXPECT_EQ(expected, count);
  for (int uel = 1; uel <= count; ++uel) {
    char label[TRV_SSSIZE], same[TRV_SSSIZE];
    c__tvbgetuelbyindex(original, uel, label);
    c__tvbgetuelbyindex(readBack, uel, same);
    EXPECT_STREQ(label, same);
  }
  EXPECT_EQ("fromFile type 1 subtype 0 '' (ii,j)", exchange_test::describe(readBack, readBack.symbol("fromFile")));
}

TEST_F(RoundTrip, AFileWrittenAgainBeforeAnyUseIsCopiedWithoutLoading) {
  writeBaseFile();
  Database original;
  fill(original);
  std::string first = dir.path("first.tvf"), second = dir.path("second.tvf");
  ASSERT_EQ(1, c__tvbwritetvf(original, first.c_str(), 0)) << original.lastError();

  Database unread;
  ASSERT_EQ(1, c__tvbinitfromtvf(unread, first.c_str()));
  ASSERT_EQ(1, c__tvbwritetvf(unread, second.c_str(), 0)) << unread.lastError();
  ASSERT_EQ(1, c__tvbclosetvf(unread, 0));
  for (const char* name : {"i", "j", "fromFile", "k", "f", "v", "x", "e", "wide", "relaxed", "empty"})
    EXPECT_TRUE(wasNeverLoaded(unread, name)) << name << ": " << unread.lastError();

  Database copy;
  ASSERT_EQ(1, c__tvbinitfromtvf(copy, second.c_str()));
  EXPECT_EQ(dump(original), dump(copy));
}

TEST_F(RoundTrip, ASymbolReadAndChangedIsWrittenFromMemory) {
  writeBaseFile();
  Database db;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, dir.path("base.tvf").c_str()));
  db.record(db.symbol("fromFile"), {"c", "d"}, {4});  // raw addition does not read the symbol first
  tvbRecordHandle* rec = nullptr;
  const char* key[2] = {"a", "c"};
  ASSERT_EQ(1, c__tvbfindrecord(db, db.symbol("fromFile"), key, &rec));  // reads it, keeping the new record
  c__tvbsetlevel(db, rec, 99);
  c__tvbfreesymboliterator(db, rec);
  std::string written = dir.path("changed.tvf");
  ASSERT_EQ(1, c__tvbwritetvf(db, written.c_str(), 0)) << db.lastError();

  Database readBack;
  ASSERT_EQ(1, c__tvbinitfromtvf(readBack, written.c_str()));
  EXPECT_EQ((std::vector<std::string>{"a.c 99(4058c00000000000)", "b.d +INF", "c.c -0(8000000000000000)",
                                      "c.d 4(4010000000000000)"}),
            exchange_test::recordLines(readBack, readBack.symbol("fromFile")));
}

}  // namespace
