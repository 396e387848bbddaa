// The length-prefixed and block families: strings in and out as 256-byte buffers led by their length,
// per-position strings as blocks of 20 slots, and results delivered also when an operation fails.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "support/database_fixture.h"

namespace {

// Strings in slots of 256 bytes, each a length byte and the characters: Lp holds one, Block one per position.
template <int kSlots>
struct Slots {
  char bytes[kSlots * TRV_SSSIZE] = {};
  Slots(std::initializer_list<std::string> texts = {}) {
    char* slot = bytes;
    for (const std::string& text : texts) {
      slot[0] = static_cast<char>(text.size());
      std::memcpy(slot + 1, text.data(), text.size());
      slot += TRV_SSSIZE;
    }
  }
  // The first n slots, read as length-prefixed strings (or as zero-terminated ones), joined with '.'.
  std::string str(int n = 1, bool zeroTerminated = false) const {
    std::string joined;
    for (const char* slot = bytes; slot < bytes + n * TRV_SSSIZE; slot += TRV_SSSIZE) {
      if (slot != bytes) joined += '.';
      joined += zeroTerminated ? std::string(slot) : std::string(slot + 1, static_cast<unsigned char>(slot[0]));
    }
    return joined;
  }
};
using Lp = Slots<1>;
using Block = Slots<GLOBAL_MAX_INDEX_DIM>;

using LengthPrefixed = DatabaseTest;

TEST_F(LengthPrefixed, SymbolsRecordsTextsDomainsAndSlicesRoundTrip) {
  tvbSymbol* sym = nullptr;
  ASSERT_EQ(1, d__tvbaddsymbol(db, Lp{"Price"}.bytes, 2, TRV_DT_PAR, 0, Lp{"unit price"}.bytes, &sym));
  Block key{"seattle", "new-york"};
  tvbRecordHandle* rec = nullptr;
  ASSERT_EQ(1, tvbaddrecord_(db, sym, key.bytes, &rec));  // the underscore name is the d__ entry
  c__tvbfreesymboliterator(db, rec);

  tvbSymbol* found = nullptr;
  ASSERT_EQ(1, d__tvbfindsymbol(db, Lp{"PRICE"}.bytes, &found));
  EXPECT_EQ(sym, found);
  ASSERT_EQ(1, d__tvbfindrecord(db, sym, key.bytes, &rec));
  Block out;
  ASSERT_EQ(1, d__tvbgetkeys(db, rec, 2, out.bytes));
  EXPECT_EQ("seattle.new-york", out.str(2));
  Lp label, info;
  ASSERT_EQ(1, d__tvbgetkey(db, rec, 1, label.bytes));
  EXPECT_EQ("new-york", label.str());
  c__tvbfreesymboliterator(db, rec);
  int unusedInt;
  double unusedDouble;
  ASSERT_EQ(1, d__tvbsymbolinfo(db, sym, TRV_SYMINFO_TEXT, &unusedInt, &unusedDouble, info.bytes));
  EXPECT_EQ("unit price", info.str());

  int nr = 0;
  ASSERT_EQ(1, d__tvbmergeuel(db, Lp{"chicago"}.bytes, &nr));
  EXPECT_EQ(3, nr);
  ASSERT_EQ(1, d__tvbgetuelbyindex(db, 3, label.bytes));
  EXPECT_EQ("chicago", label.str());

  // Domain names and slices travel in blocks.
  tvbSymbol* domains[3] = {addSymbol("i", 1, TRV_DT_SET), nullptr, nullptr};
  tvbSymbol* x = nullptr;
  ASSERT_EQ(1,
            d__tvbaddsymbolx(db, Lp{"x"}.bytes, 3, TRV_DT_PAR, 0, Lp{""}.bytes, domains, Block{"", "j", "*"}.bytes, &x))
      << lastError();
  Block names{"junk"}, zeroTerminated;
  tvbSymbol* got[3];
  ASSERT_EQ(1, d__tvbgetdomain(db, x, 3, got, names.bytes));
  EXPECT_EQ("i.j.*", names.str(3));
  ASSERT_EQ(1, n__tvbgetdomain(db, x, 3, got, zeroTerminated.bytes));
  EXPECT_EQ("i.j.*", zeroTerminated.str(3, true));

  addAndFree(x, {"a", "b", "c"});
  addAndFree(x, {"d", "b", "e"});
  ASSERT_EQ(1, d__tvbfindlastrecordslice(db, x, Block{" ", "b", " "}.bytes, &rec));
  ASSERT_EQ(1, n__tvbgetkeys(db, rec, 3, zeroTerminated.bytes));
  EXPECT_EQ("d.b.e", zeroTerminated.str(3, true));
  c__tvbfreesymboliterator(db, rec);
}

// Outputs of a failed call arrive as empty strings; a null symbol stops before the operation, whose outputs
// stay untouched; a text of 255 characters arrives whole.
TEST_F(LengthPrefixed, FailuresAndTheLongestTexts) {
  Lp label{"stale text"}, error;
  EXPECT_EQ(0, d__tvbgetuelbyindex(db, 7, label.bytes));
  EXPECT_EQ("", label.str());
  EXPECT_EQ(1, tvbgetlasterror_(db, error.bytes));
  EXPECT_EQ("Uel index 7 out of range [1,0]", error.str());

  Block key{"a"};
  tvbRecordHandle* sentinel = reinterpret_cast<tvbRecordHandle*>(0x1234);
  tvbRecordHandle* rec = sentinel;
  EXPECT_EQ("No symbol handle specified", errorOf(d__tvbaddrecord(db, nullptr, key.bytes, &rec)));
  EXPECT_EQ(sentinel, rec);
  int status = 7;
  EXPECT_EQ(nullptr, d__tvbfindrecordpy(db, nullptr, key.bytes, &status));
  EXPECT_EQ(0, status);

  rec = add(addSymbol("s", 1, TRV_DT_SET), {"a"});
  std::string longest(255, 'w');
  ASSERT_EQ(1, d__tvbsetelemtext(db, rec, Lp{longest}.bytes));
  ASSERT_EQ(1, d__tvbgetelemtext(db, rec, label.bytes));
  EXPECT_EQ(longest, label.str());
  c__tvbfreesymboliterator(db, rec);
}

}  // namespace
