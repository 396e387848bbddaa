// Deleting, clearing and copying (also between databases), element texts, user information and write
// recording.
#include <string>
#include <tuple>
#include <utility>

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
  EXPECT_EQ("No symbol record handle specified", errorOf(c__tvbdeleterecord(db, nullptr)));

  ASSERT_EQ(1, c__tvbfindfirstrecord(db, universe(), &rec));
  EXPECT_EQ("Cannot delete the Universe", errorOf(c__tvbdeleterecord(db, rec)));
  EXPECT_EQ("Cannot clear the Universe", errorOf(c__tvbclearsymbol(db, universe())));
  EXPECT_EQ("Cannot set UserInfo of Universe", errorOf(c__tvbsetuserinfo(db, universe(), 1)));
  EXPECT_EQ("<Cannot get explanatory text for records of the Universe>", elemText(rec));
  EXPECT_EQ("Cannot set explanatory text for records of the Universe", errorOf(c__tvbsetelemtext(db, rec, "t")));
  c__tvbfreesymboliterator(db, rec);
}

// A set record's value is the number of its element text: equal texts share a number, 0 is no text.
TEST_F(Maintenance, ElementTextsAreInternedPerDatabase) {
  tvbSymbol* s = addSymbol("s", 1, TRV_DT_SET);
  tvbRecordHandle *a = add(s, {"a"}), *b = add(s, {"b"});
  const auto setText = [&](tvbRecordHandle* rec, const std::string& t) {  // the text's number
    int uel;
    double number = -1;
    EXPECT_EQ(1, c__tvbsetelemtext(db, rec, t.c_str())) << lastError();
    c__tvbgetrecordraw(db, rec, 1, &uel, &number);
    EXPECT_EQ(t, elemText(rec));
    return number;
  };
  EXPECT_EQ(1, setText(a, "same"));
  EXPECT_EQ(1, setText(b, "same"));
  EXPECT_EQ(2, setText(b, "Same"));  // texts match exactly
  EXPECT_EQ(0, setText(b, ""));
  const std::string longest(255, 'e');
  EXPECT_NE(0, setText(a, longest));
  EXPECT_EQ("Explanatory text too long. Max length is 255", errorOf(c__tvbsetelemtext(db, a, (longest + "e").c_str())));
  EXPECT_EQ(longest, elemText(a));

  // Added by numbers, a set record takes the text only when its value says it has one.
  double none[5] = {0}, some[5] = {1};
  int c = uel("c"), d = uel("d");
  ASSERT_EQ(1, c__tvbaddrecordraw(db, s, &c, none, "ignored"));
  ASSERT_EQ(1, c__tvbaddrecordraw(db, s, &d, some, "kept"));
  tvbRecordHandle *rc = find(s, {"c"}), *rd = find(s, {"d"});
  EXPECT_EQ("", elemText(rc));
  EXPECT_EQ("kept", elemText(rd));

  tvbRecordHandle* pr = add(addSymbol("p", 1, TRV_DT_PAR), {"a"});
  EXPECT_EQ("Element texts belong to records of sets; symbol p is a Parameter",
            errorOf(c__tvbsetelemtext(db, pr, "x")));
  EXPECT_EQ("<No symbol record handle specified>", elemText(nullptr));
  for (tvbRecordHandle* h : {a, b, rc, rd, pr}) c__tvbfreesymboliterator(db, h);
}

TEST_F(Maintenance, CopyingTranslatesLabelsBetweenDatabasesAndChecksTheSymbols) {
  tvbHandle* other = nullptr;
  ASSERT_EQ(1, xcreate(&other));
  // Swapped, the fixture's helpers work on the other database, whose label numbers differ from this one's.
  std::swap(db, other);
  for (const char* label : {"z", "j2"}) uel(label);
  tvbSymbol* target = addSymbol("t", 2, TRV_DT_PAR);
  tvbSymbol* set = addSymbol("s", 1, TRV_DT_SET);
  addAndFree(target, {"z", "z"});
  std::swap(db, other);

  tvbSymbol* source = addSymbol("p", 2, TRV_DT_PAR);
  for (auto [i, j, v] : {std::tuple{"i1", "j1", 1.5}, {"i1", "j2", -2.0}, {"i2", "j1", 3e300}}) {
    tvbRecordHandle* r = add(source, {i, j});
    c__tvbsetlevel(db, r, v);
    c__tvbfreesymboliterator(db, r);
  }
  ASSERT_EQ(1, c__tvbcopysymbol(db, target, source));
  tvbSymbol* mine = addSymbol("mine", 1, TRV_DT_SET);
  tvbRecordHandle* rec = add(mine, {"k"});
  c__tvbsetelemtext(db, rec, "text of k");
  c__tvbfreesymboliterator(db, rec);
  ASSERT_EQ(1, c__tvbcopysymbol(db, set, mine));

  std::swap(db, other);
  // The copy replaces the target's records and walks in the other database's label order.
  EXPECT_EQ((std::vector<std::string>{"i1.j2", "i1.j1", "i2.j1"}), keys(target));
  EXPECT_EQ(6, dbInfo(TRV_INFO_UEL_COUNT));  // z, j2, then i1, j1, i2, k
  rec = find(target, {"i2", "j1"});
  EXPECT_EQ(3e300, level(rec));  // +Inf travels as stored
  c__tvbfreesymboliterator(db, rec);
  rec = find(set, {"K"});
  EXPECT_EQ("text of k", elemText(rec));
  c__tvbfreesymboliterator(db, rec);
  std::swap(db, other);

  // Into and out of the Universe.
  tvbSymbol* extra = addSymbol("extra", 1, TRV_DT_SET);
  addAndFree(extra, {"brand_new"});
  ASSERT_EQ(1, c__tvbcopysymbol(db, universe(other), extra));
  EXPECT_EQ(7, dbInfo(TRV_INFO_UEL_COUNT, other));  // brand_new now
  tvbSymbol* all = addSymbol("all", 1, TRV_DT_SET);
  ASSERT_EQ(1, c__tvbcopysymbol(db, all, universe(other)));
  EXPECT_EQ((std::vector<std::string>{"i1", "j1", "j2", "i2", "k", "brand_new", "z"}), keys(all));
  xfree(&other);

  // Checks, and a copy onto itself.
  tvbSymbol* p = addSymbol("p1", 1, TRV_DT_PAR);
  addAndFree(p, {"a"});
  for (auto [to, from, message] : {std::tuple{p, static_cast<tvbSymbol*>(nullptr), "No source symbol handle specified"},
                                   {nullptr, p, "No target symbol handle specified"},
                                   {addSymbol("q", 2, TRV_DT_PAR), p, "Inconsistent symbol dimensions"},
                                   {addSymbol("s", 1, TRV_DT_SET), p, "Inconsistent symbol types"}}) {
    EXPECT_EQ(message, errorOf(c__tvbcopysymbol(db, to, from)));
  }
  ASSERT_EQ(1, c__tvbcopysymbol(db, p, p));
  EXPECT_EQ((std::vector<std::string>{"a"}), keys(p));
}

TEST_F(Maintenance, WriteRecordingMarksChangedSymbols) {
  tvbSymbol* a = addSymbol("a", 1, TRV_DT_PAR);
  tvbSymbol* b = addSymbol("b", 1, TRV_DT_PAR);
  tvbRecordHandle* rec = add(a, {"x"});
  EXPECT_EQ("Write Recording not active", errorOf(c__tvbstopwriterecording(db)));
  ASSERT_EQ(1, c__tvbstartwriterecording(db));
  EXPECT_EQ("Write Recording already active", errorOf(c__tvbstartwriterecording(db)));
  EXPECT_EQ(0, intInfo(a, TRV_SYMINFO_WRITTEN));
  c__tvbsetlevel(db, rec, 3);
  EXPECT_EQ(1, intInfo(a, TRV_SYMINFO_WRITTEN));
  EXPECT_EQ(0, intInfo(b, TRV_SYMINFO_WRITTEN));
  EXPECT_EQ(1, intInfo(addSymbol("c", 1, TRV_DT_SET), TRV_SYMINFO_WRITTEN));
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
  EXPECT_EQ("infoKey needs to be either 0 or 1, saw 2", errorOf(c__tvbinfo(db, 2, &value, &d, text)));
  tvbSymbol* s = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(db, "s", 1, TRV_DT_SET, 3, "the text", &s));
  for (const char* label : {"a", "b"}) addAndFree(s, {label});
  for (auto [symbol, expected] : {std::pair{s, "the text"}, {universe(), "universe"}}) {
    EXPECT_EQ(1, c__tvbsymbolinfo(db, symbol, TRV_SYMINFO_TEXT, &value, &d, text));
    EXPECT_STREQ(expected, text);
  }
  EXPECT_EQ((std::vector<int>{1, TRV_DT_SET, 3, 2}),
            (std::vector<int>{intInfo(s, TRV_SYMINFO_DIM), intInfo(s, TRV_SYMINFO_TYPE),
                              intInfo(s, TRV_SYMINFO_USERINFO), intInfo(universe(), TRV_SYMINFO_RECORD_COUNT)}));
  EXPECT_EQ(1, dbInfo(TRV_INFO_SYMBOL_COUNT));
  for (int key : {8, -1}) {
    EXPECT_EQ("No valid infoKey, saw " + std::to_string(key), errorOf(c__tvbsymbolinfo(db, s, key, &value, &d, text)));
  }
  EXPECT_EQ("No symbol handle specified", errorOf(c__tvbsymbolinfo(db, nullptr, 0, &value, &d, text)));
  EXPECT_EQ(0, c__tvbsymboldim(db, nullptr, &value));
  EXPECT_EQ(-1, value);
  EXPECT_EQ(0, c__tvbsymboltype(db, nullptr, &value));
  EXPECT_EQ(-1, value);
}

}  // namespace
