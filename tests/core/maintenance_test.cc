// Deleting, clearing and copying (also between databases), element texts, user information and write
// recording.
#include <string>

#include "support/database_fixture.h"

namespace {

using Maintenance = DatabaseTest;

TEST_F(Maintenance, DeletingMovesTheHandleOnUntilTheSymbolIsEmpty) {
  tvbSymbol* s = addSymbol("s", 1, TRV_DT_SET);
  for (const char* l : {"a", "b", "c"}) addAndFree(s, {l});
  tvbRecordHandle* rec = nullptr;
  ASSERT_EQ(1, c__tvbfindfirstrecord(db, s, &rec));
  ASSERT_EQ(1, c__tvbdeleterecord(db, rec));
  EXPECT_EQ("b", keyOf(rec, 1));
  EXPECT_EQ(2, intInfo(s, TRV_SYMINFO_RECORD_COUNT));
  ASSERT_EQ(1, c__tvbdeleterecord(db, rec));
  ASSERT_EQ(1, c__tvbdeleterecord(db, rec));
  EXPECT_EQ(0, intInfo(s, TRV_SYMINFO_RECORD_COUNT));
  EXPECT_EQ(0, c__tvbdeleterecord(db, rec));  // behind the last record now
  EXPECT_EQ(1, c__tvbfreesymboliterator(db, rec));

  EXPECT_EQ(0, c__tvbdeleterecord(db, nullptr));
  EXPECT_EQ("No symbol record handle specified", lastError());
  tvbSymbol* universe;
  c__tvbfindsymbol(db, "*", &universe);
  ASSERT_EQ(1, c__tvbfindfirstrecord(db, universe, &rec));
  EXPECT_EQ(0, c__tvbdeleterecord(db, rec));
  EXPECT_EQ("Cannot delete the Universe", lastError());
  EXPECT_EQ(0, c__tvbclearsymbol(db, universe));
  EXPECT_EQ("Cannot clear the Universe", lastError());
  EXPECT_EQ(0, c__tvbsetuserinfo(db, universe, 1));
  EXPECT_EQ("Cannot set UserInfo of Universe", lastError());
  char text[TRV_SSSIZE];
  EXPECT_EQ(0, c__tvbgetelemtext(db, rec, text));
  EXPECT_EQ("Cannot get explanatory text for records of the Universe", lastError());
  EXPECT_EQ(0, c__tvbsetelemtext(db, rec, "t"));
  EXPECT_EQ("Cannot set explanatory text for records of the Universe", lastError());
  c__tvbfreesymboliterator(db, rec);
}

TEST_F(Maintenance, ElementTextsAreInternedPerDatabase) {
  tvbSymbol* s = addSymbol("s", 1, TRV_DT_SET);
  tvbRecordHandle* a = add(s, {"a"});
  tvbRecordHandle* b = add(s, {"b"});
  ASSERT_EQ(1, c__tvbsetelemtext(db, a, "same"));
  ASSERT_EQ(1, c__tvbsetelemtext(db, b, "same"));
  int uel;
  double va, vb;
  c__tvbgetrecordraw(db, a, 1, &uel, &va);
  c__tvbgetrecordraw(db, b, 1, &uel, &vb);
  EXPECT_EQ(1, va);
  EXPECT_EQ(va, vb);
  ASSERT_EQ(1, c__tvbsetelemtext(db, b, "Same"));  // texts match exactly
  c__tvbgetrecordraw(db, b, 1, &uel, &vb);
  EXPECT_EQ(2, vb);
  ASSERT_EQ(1, c__tvbsetelemtext(db, b, ""));
  c__tvbgetrecordraw(db, b, 1, &uel, &vb);
  EXPECT_EQ(0, vb);
  char text[TRV_SSSIZE] = "junk";
  ASSERT_EQ(1, c__tvbgetelemtext(db, b, text));
  EXPECT_STREQ("", text);
  std::string longest(255, 'e');
  EXPECT_EQ(1, c__tvbsetelemtext(db, a, longest.c_str()));
  EXPECT_EQ(0, c__tvbsetelemtext(db, a, (longest + "e").c_str()));
  EXPECT_EQ("Explanatory text too long. Max length is 255", lastError());
  ASSERT_EQ(1, c__tvbgetelemtext(db, a, text));
  EXPECT_EQ(longest, text);

  tvbSymbol* p = addSymbol("p", 1, TRV_DT_PAR);
  tvbRecordHandle* pr = add(p, {"a"});
  EXPECT_EQ(0, c__tvbsetelemtext(db, pr, "x"));
  EXPECT_EQ("Element texts belong to records of sets; symbol p is a Parameter", lastError());
  EXPECT_EQ(0, c__tvbgetelemtext(db, nullptr, text));
  for (tvbRecordHandle* h : {a, b, pr}) c__tvbfreesymboliterator(db, h);
}

TEST_F(Maintenance, CopyingBetweenDatabasesTranslatesLabelsByText) {
  tvbHandle* other = nullptr;
  ASSERT_EQ(1, xcreate(&other));
  int nr;
  c__tvbmergeuel(other, "z", &nr);  // label numbers differ between the two databases
  c__tvbmergeuel(other, "j2", &nr);
  tvbSymbol* target = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(other, "t", 2, TRV_DT_PAR, 0, "", &target));
  const char* stale[2] = {"z", "z"};
  tvbRecordHandle* rec = nullptr;
  c__tvbaddrecord(other, target, stale, &rec);
  c__tvbfreesymboliterator(other, rec);

  tvbSymbol* source = addSymbol("p", 2, TRV_DT_PAR);
  for (auto [i, j, v] : {std::tuple{"i1", "j1", 1.5}, {"i1", "j2", -2.0}, {"i2", "j1", 3e300}}) {
    tvbRecordHandle* r = add(source, {i, j});
    c__tvbsetlevel(db, r, v);
    c__tvbfreesymboliterator(db, r);
  }
  ASSERT_EQ(1, c__tvbcopysymbol(db, target, source));
  int count;
  double d;
  char text[TRV_SSSIZE];
  c__tvbsymbolinfo(other, target, TRV_SYMINFO_RECORD_COUNT, &count, &d, text);
  EXPECT_EQ(3, count);
  const char* key[2] = {"i2", "j1"};
  ASSERT_EQ(1, c__tvbfindrecord(other, target, key, &rec));
  double level;
  c__tvbgetlevel(other, rec, &level);
  EXPECT_EQ(3e300, level);  // +Inf travels as stored
  c__tvbfreesymboliterator(other, rec);
  c__tvbinfo(other, TRV_INFO_UEL_COUNT, &count, &d, text);
  EXPECT_EQ(5, count);  // z, j2, then i1, j1, i2

  tvbSymbol* set = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(other, "s", 1, TRV_DT_SET, 0, "", &set));
  tvbSymbol* mine = addSymbol("mine", 1, TRV_DT_SET);
  tvbRecordHandle* r = add(mine, {"k"});
  c__tvbsetelemtext(db, r, "text of k");
  c__tvbfreesymboliterator(db, r);
  ASSERT_EQ(1, c__tvbcopysymbol(db, set, mine));
  const char* k[1] = {"K"};
  ASSERT_EQ(1, c__tvbfindrecord(other, set, k, &rec));
  ASSERT_EQ(1, c__tvbgetelemtext(other, rec, text));
  EXPECT_STREQ("text of k", text);
  c__tvbfreesymboliterator(other, rec);

  // Into and out of the Universe.
  tvbSymbol* otherUniverse;
  c__tvbfindsymbol(other, "*", &otherUniverse);
  tvbSymbol* extra = addSymbol("extra", 1, TRV_DT_SET);
  addAndFree(extra, {"brand_new"});
  ASSERT_EQ(1, c__tvbcopysymbol(db, otherUniverse, extra));
  c__tvbinfo(other, TRV_INFO_UEL_COUNT, &count, &d, text);
  EXPECT_EQ(7, count);  // k came with the set, brand_new now
  tvbSymbol* all = addSymbol("all", 1, TRV_DT_SET);
  ASSERT_EQ(1, c__tvbcopysymbol(db, all, otherUniverse));
  EXPECT_EQ((std::vector<std::string>{"i1", "j1", "j2", "i2", "k", "brand_new", "z"}), keys(all));
  xfree(&other);
}

TEST_F(Maintenance, CopyChecksAndSelfCopyKeepsRecords) {
  tvbSymbol* p = addSymbol("p", 1, TRV_DT_PAR);
  tvbSymbol* q = addSymbol("q", 2, TRV_DT_PAR);
  tvbSymbol* s = addSymbol("s", 1, TRV_DT_SET);
  addAndFree(p, {"a"});
  EXPECT_EQ(0, c__tvbcopysymbol(db, p, nullptr));
  EXPECT_EQ("No source symbol handle specified", lastError());
  EXPECT_EQ(0, c__tvbcopysymbol(db, nullptr, p));
  EXPECT_EQ("No target symbol handle specified", lastError());
  EXPECT_EQ(0, c__tvbcopysymbol(db, q, p));
  EXPECT_EQ("Inconsistent symbol dimensions", lastError());
  EXPECT_EQ(0, c__tvbcopysymbol(db, s, p));
  EXPECT_EQ("Inconsistent symbol types", lastError());
  ASSERT_EQ(1, c__tvbcopysymbol(db, p, p));
  EXPECT_EQ((std::vector<std::string>{"a"}), keys(p));
}

TEST_F(Maintenance, WriteRecordingMarksChangedSymbols) {
  tvbSymbol* a = addSymbol("a", 1, TRV_DT_PAR);
  tvbSymbol* b = addSymbol("b", 1, TRV_DT_PAR);
  tvbRecordHandle* rec = add(a, {"x"});
  EXPECT_EQ(0, c__tvbstopwriterecording(db));
  EXPECT_EQ("Write Recording not active", lastError());
  ASSERT_EQ(1, c__tvbstartwriterecording(db));
  EXPECT_EQ(0, c__tvbstartwriterecording(db));
  EXPECT_EQ("Write Recording already active", lastError());
  EXPECT_EQ(0, intInfo(a, TRV_SYMINFO_WRITTEN));
  c__tvbsetlevel(db, rec, 3);
  EXPECT_EQ(1, intInfo(a, TRV_SYMINFO_WRITTEN));
  EXPECT_EQ(0, intInfo(b, TRV_SYMINFO_WRITTEN));
  tvbSymbol* c = addSymbol("c", 1, TRV_DT_SET);
  EXPECT_EQ(1, intInfo(c, TRV_SYMINFO_WRITTEN));
  c__tvbsetuserinfo(db, b, 5);
  EXPECT_EQ(1, intInfo(b, TRV_SYMINFO_WRITTEN));
  EXPECT_EQ(5, intInfo(b, TRV_SYMINFO_USERINFO));
  ASSERT_EQ(1, c__tvbstopwriterecording(db));
  EXPECT_EQ(1, intInfo(a, TRV_SYMINFO_WRITTEN));  // kept until the next start
  ASSERT_EQ(1, c__tvbstartwriterecording(db));
  EXPECT_EQ(0, intInfo(a, TRV_SYMINFO_WRITTEN));
  c__tvbfreesymboliterator(db, rec);
}

using Information = DatabaseTest;

TEST_F(Information, CountsKeysAndRefusedKeys) {
  int value = 9;
  double d = 0;
  char text[TRV_SSSIZE];
  EXPECT_EQ(1, c__tvbinfo(db, TRV_INFO_SYMBOL_COUNT, &value, &d, text));
  EXPECT_EQ(0, value);
  EXPECT_EQ(0, c__tvbinfo(db, 2, &value, &d, text));
  EXPECT_EQ("infoKey needs to be either 0 or 1, saw 2", lastError());
  tvbSymbol* s = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(db, "s", 1, TRV_DT_SET, 3, "the text", &s));
  addAndFree(s, {"a"});
  addAndFree(s, {"b"});
  EXPECT_EQ(1, c__tvbsymbolinfo(db, s, TRV_SYMINFO_TEXT, &value, &d, text));
  EXPECT_STREQ("the text", text);
  EXPECT_EQ(1, intInfo(s, TRV_SYMINFO_DIM));
  EXPECT_EQ(TRV_DT_SET, intInfo(s, TRV_SYMINFO_TYPE));
  EXPECT_EQ(3, intInfo(s, TRV_SYMINFO_USERINFO));
  tvbSymbol* universe;
  c__tvbfindsymbol(db, "*", &universe);
  EXPECT_EQ(2, intInfo(universe, TRV_SYMINFO_RECORD_COUNT));
  EXPECT_EQ(1, c__tvbsymbolinfo(db, universe, TRV_SYMINFO_TEXT, &value, &d, text));
  EXPECT_STREQ("universe", text);
  for (int key : {8, -1}) {
    EXPECT_EQ(0, c__tvbsymbolinfo(db, s, key, &value, &d, text));
    EXPECT_EQ("No valid infoKey, saw " + std::to_string(key), lastError());
  }
  EXPECT_EQ(0, c__tvbsymbolinfo(db, nullptr, 0, &value, &d, text));
  EXPECT_EQ("No symbol handle specified", lastError());
  EXPECT_EQ(0, c__tvbsymboldim(db, nullptr, &value));
  EXPECT_EQ(-1, value);
  EXPECT_EQ(0, c__tvbsymboltype(db, nullptr, &value));
  EXPECT_EQ(-1, value);
  EXPECT_EQ(1, c__tvbinfo(db, TRV_INFO_SYMBOL_COUNT, &value, &d, text));
  EXPECT_EQ(1, value);
  EXPECT_EQ(1, c__tvbinfo(db, TRV_INFO_UEL_COUNT, &value, &d, text));
  EXPECT_EQ(2, value);
}

}  // namespace
