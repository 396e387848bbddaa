// The length-prefixed and block families: strings in and out as 256-byte buffers led by their length,
// per-position strings as blocks of 20 slots, and results delivered also when an operation fails.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/database_fixture.h"

namespace {

// A length-prefixed string in a 256-byte buffer.
struct Lp {
  char bytes[TRV_SSSIZE] = {};
  Lp() = default;
  explicit Lp(const std::string& text) {
    bytes[0] = static_cast<char>(text.size());
    std::memcpy(bytes + 1, text.data(), text.size());
  }
  std::string str() const { return std::string(bytes + 1, static_cast<unsigned char>(bytes[0])); }
};

// A block of 20 slots of 256 bytes.
struct Block {
  char bytes[GLOBAL_MAX_INDEX_DIM * TRV_SSSIZE] = {};
  void set(int i, const std::string& text) {
    bytes[i * TRV_SSSIZE] = static_cast<char>(text.size());
    std::memcpy(bytes + i * TRV_SSSIZE + 1, text.data(), text.size());
  }
  std::string lp(int i) const {
    return std::string(bytes + i * TRV_SSSIZE + 1, static_cast<unsigned char>(bytes[i * TRV_SSSIZE]));
  }
  std::string zt(int i) const { return bytes + i * TRV_SSSIZE; }
};

using LengthPrefixed = DatabaseTest;

TEST_F(LengthPrefixed, SymbolsRecordsAndTextsRoundTrip) {
  tvbSymbol* sym = nullptr;
  Lp name("Price"), text("unit price");
  ASSERT_EQ(1, d__tvbaddsymbol(db, name.bytes, 2, TRV_DT_PAR, 0, text.bytes, &sym));
  Block key;
  key.set(0, "seattle");
  key.set(1, "new-york");
  tvbRecordHandle* rec = nullptr;
  ASSERT_EQ(1, tvbaddrecord_(db, sym, key.bytes, &rec));  // the underscore name is the d__ entry
  ASSERT_EQ(1, c__tvbsetlevel(db, rec, 2.5));
  c__tvbfreesymboliterator(db, rec);

  tvbSymbol* found = nullptr;
  ASSERT_EQ(1, d__tvbfindsymbol(db, Lp("PRICE").bytes, &found));
  EXPECT_EQ(sym, found);
  ASSERT_EQ(1, d__tvbfindrecord(db, sym, key.bytes, &rec));
  Block out;
  ASSERT_EQ(1, d__tvbgetkeys(db, rec, 2, out.bytes));
  EXPECT_EQ("seattle", out.lp(0));
  EXPECT_EQ("new-york", out.lp(1));
  Lp label;
  ASSERT_EQ(1, d__tvbgetkey(db, rec, 1, label.bytes));
  EXPECT_EQ("new-york", label.str());
  int dummy;
  double d;
  Lp info;
  ASSERT_EQ(1, d__tvbsymbolinfo(db, sym, TRV_SYMINFO_TEXT, &dummy, &d, info.bytes));
  EXPECT_EQ("unit price", info.str());
  c__tvbfreesymboliterator(db, rec);

  int nr = 0;
  ASSERT_EQ(1, d__tvbmergeuel(db, Lp("chicago").bytes, &nr));
  EXPECT_EQ(3, nr);
  ASSERT_EQ(1, d__tvbgetuelbyindex(db, 3, label.bytes));
  EXPECT_EQ("chicago", label.str());
}

TEST_F(LengthPrefixed, ResultsOfFailuresArriveAsEmptyStringsAndTextsAreCutAt255) {
  Lp label("stale text");
  EXPECT_EQ(0, d__tvbgetuelbyindex(db, 7, label.bytes));
  EXPECT_EQ("", label.str());
  Lp error;
  EXPECT_EQ(1, tvbgetlasterror_(db, error.bytes));
  EXPECT_EQ("Uel index 7 out of range [1,0]", error.str());
  char plain[TRV_SSSIZE];
  EXPECT_EQ(1, c__tvbgetlasterror(db, plain));
  EXPECT_STREQ("Uel index 7 out of range [1,0]", plain);

  tvbSymbol* set = addSymbol("s", 1, TRV_DT_SET);
  tvbRecordHandle* rec = add(set, {"a"});
  std::string longest(255, 'w');
  ASSERT_EQ(1, d__tvbsetelemtext(db, rec, Lp(longest).bytes));
  Lp text;
  ASSERT_EQ(1, d__tvbgetelemtext(db, rec, text.bytes));
  EXPECT_EQ(longest, text.str());
  c__tvbfreesymboliterator(db, rec);

  // A message of 255 characters arrives whole.
  std::string quotes = "'\"" + std::string(300, 'q');
  int nr;
  c__tvbmergeuel(db, quotes.c_str(), &nr);
  EXPECT_EQ(1, d__tvbgetlasterror(db, error.bytes));
  EXPECT_EQ(255u, error.str().size());
}

TEST_F(LengthPrefixed, NullSymbolStopsKeyConversionBeforeTheOperation) {
  Block key;
  key.set(0, "a");
  tvbRecordHandle* sentinel = reinterpret_cast<tvbRecordHandle*>(0x1234);
  tvbRecordHandle* rec = sentinel;
  EXPECT_EQ(0, d__tvbaddrecord(db, nullptr, key.bytes, &rec));
  EXPECT_EQ("No symbol handle specified", lastError());
  EXPECT_EQ(sentinel, rec);  // the operation did not run
  int status = 7;
  EXPECT_EQ(nullptr, d__tvbfindrecordpy(db, nullptr, key.bytes, &status));
  EXPECT_EQ(0, status);
}

TEST_F(LengthPrefixed, DomainNamesAndSlicesTravelInBlocks) {
  tvbSymbol* i = addSymbol("i", 1, TRV_DT_SET);
  tvbSymbol* domains[3] = {i, nullptr, nullptr};
  Block names;
  names.set(1, "j");
  names.set(2, "*");
  tvbSymbol* x = nullptr;
  ASSERT_EQ(1, d__tvbaddsymbolx(db, Lp("x").bytes, 3, TRV_DT_PAR, 0, Lp("").bytes, domains, names.bytes, &x))
      << lastError();
  Block out;
  out.set(0, "junk");
  tvbSymbol* got[3];
  ASSERT_EQ(1, d__tvbgetdomain(db, x, 3, got, out.bytes));
  EXPECT_EQ("i", out.lp(0));
  EXPECT_EQ("j", out.lp(1));
  EXPECT_EQ("*", out.lp(2));
  Block zt;
  ASSERT_EQ(1, n__tvbgetdomain(db, x, 3, got, zt.bytes));
  EXPECT_EQ("j", zt.zt(1));

  addAndFree(x, {"a", "b", "c"});
  addAndFree(x, {"d", "b", "e"});
  Block slice;
  slice.set(0, " ");
  slice.set(1, "b");
  slice.set(2, " ");
  tvbRecordHandle* rec = nullptr;
  ASSERT_EQ(1, d__tvbfindlastrecordslice(db, x, slice.bytes, &rec));
  Block keys;
  ASSERT_EQ(1, n__tvbgetkeys(db, rec, 3, keys.bytes));
  EXPECT_EQ("d", keys.zt(0));
  EXPECT_EQ("b", keys.zt(1));
  EXPECT_EQ("e", keys.zt(2));
  c__tvbfreesymboliterator(db, rec);
}

}  // namespace
