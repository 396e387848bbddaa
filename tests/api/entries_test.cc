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

TEST_F(LengthPrefixed, StringsTravelLedByTheirLength) {
  tvbSymbol *sym = nullptr, *found = nullptr;
  ASSERT_EQ(1, d__tvbaddsymbol(db, Lp{"Price"}.bytes, 2, TRV_DT_PAR, 0, Lp{"unit price"}.bytes, &sym));
  ASSERT_EQ(1, d__tvbfindsymbol(db, Lp{"PRICE"}.bytes, &found));
  EXPECT_EQ(sym, found);
  Lp text;
  int nr = 0;
  double unused;
  ASSERT_EQ(1, d__tvbsymbolinfo(db, sym, TRV_SYMINFO_TEXT, &nr, &unused, text.bytes));
  EXPECT_EQ("unit price", text.str());
  ASSERT_EQ(1, d__tvbmergeuel(db, Lp{"chicago"}.bytes, &nr));
  ASSERT_EQ(1, d__tvbgetuelbyindex(db, nr, text.bytes));
  EXPECT_EQ("chicago", text.str());
}

// Keys, slices and domain names: a slot of 256 bytes per position, out length-prefixed (d__) or zero-terminated
// (n__). The underscore name of an entry is its d__ form.
TEST_F(LengthPrefixed, KeysSlicesAndDomainNamesTravelInBlocksOfSlots) {
  tvbSymbol *domains[3] = {addSymbol("i", 1, TRV_DT_SET), nullptr, nullptr}, *x = nullptr, *got[3];
  ASSERT_EQ(1,
            d__tvbaddsymbolx(db, Lp{"x"}.bytes, 3, TRV_DT_PAR, 0, Lp{""}.bytes, domains, Block{"", "j", "*"}.bytes, &x))
      << lastError();
  Block names{"junk"}, zeroTerminated, keys;
  ASSERT_EQ(1, d__tvbgetdomain(db, x, 3, got, names.bytes));
  EXPECT_EQ("i.j.*", names.str(3));
  ASSERT_EQ(1, n__tvbgetdomain(db, x, 3, got, zeroTerminated.bytes));
  EXPECT_EQ("i.j.*", zeroTerminated.str(3, true));
  tvbRecordHandle* rec = nullptr;
  ASSERT_EQ(1, tvbaddrecord_(db, x, Block{"a", "b", "c"}.bytes, &rec));
  c__tvbfreesymboliterator(db, rec);
  addAndFree(x, {"d", "b", "e"});
  ASSERT_EQ(1, d__tvbfindrecord(db, x, Block{"A", "b", "c"}.bytes, &rec));
  ASSERT_EQ(1, d__tvbgetkeys(db, rec, 3, keys.bytes));
  EXPECT_EQ("a.b.c", keys.str(3));
  Lp label;
  ASSERT_EQ(1, d__tvbgetkey(db, rec, 2, label.bytes));
  EXPECT_EQ("c", label.str());
  c__tvbfreesymboliterator(db, rec);
  ASSERT_EQ(1, d__tvbfindlastrecordslice(db, x, Block{" ", "b", " "}.bytes, &rec));
  ASSERT_EQ(1, n__tvbgetkeys(db, rec, 3, zeroTerminated.bytes));
  EXPECT_EQ("d.b.e", zeroTerminated.str(3, true));
  c__tvbfreesymboliterator(db, rec);
}

TEST_F(LengthPrefixed, OutputsOfAFailedCallAreEmpty) {
  Lp label{"stale text"}, error;
  EXPECT_EQ(0, d__tvbgetuelbyindex(db, 7, label.bytes));
  EXPECT_EQ("", label.str());
  EXPECT_EQ(1, tvbgetlasterror_(db, error.bytes));
  EXPECT_EQ("Uel index 7 out of range [1,0]", error.str());
}

// A null symbol is refused before the operation runs, so its outputs are not touched.
TEST_F(LengthPrefixed, ANullSymbolLeavesTheOutputsUntouched) {
  tvbRecordHandle* sentinel = reinterpret_cast<tvbRecordHandle*>(0x1234);
  tvbRecordHandle* rec = sentinel;
  EXPECT_EQ("No symbol handle specified", errorOf(d__tvbaddrecord(db, nullptr, Block{"a"}.bytes, &rec)));
  EXPECT_EQ(sentinel, rec);
  int status = 7;
  EXPECT_EQ(nullptr, d__tvbfindrecordpy(db, nullptr, Block{"a"}.bytes, &status));
  EXPECT_EQ(0, status);
}

TEST_F(LengthPrefixed, ATextOf255CharactersArrivesWhole) {
  tvbRecordHandle* rec = add(addSymbol("s", 1, TRV_DT_SET), {"a"});
  const std::string longest(255, 'w');
  Lp text;
  ASSERT_EQ(1, d__tvbsetelemtext(db, rec, Lp{longest}.bytes));
  ASSERT_EQ(1, d__tvbgetelemtext(db, rec, text.bytes));
  EXPECT_EQ(longest, text.str());
  c__tvbfreesymboliterator(db, rec);
}

}  // namespace
