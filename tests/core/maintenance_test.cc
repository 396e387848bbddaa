// Maintenance where the comparison with a reference model (record_differential_test.cc) does not go: the
// Universe, missing handles, element-text rules, copies into and out of the Universe, user information, write
// recording and information queries.
#include <string>
#include <tuple>

#include "support/database_fixture.h"

namespace {

using Maintenance = DatabaseTest;

TEST_F(Maintenance, TheUniverseCannotBeChanged) {
  tvbRecordHandle* rec = nullptr;
  uel("a");
  ASSERT_EQ(1, c__tvbfindfirstrecord(db, universe(), &rec));
  EXPECT_EQ("Cannot delete the Universe", errorOf(c__tvbdeleterecord(db, rec)));
  EXPECT_EQ("Cannot clear the Universe", errorOf(c__tvbclearsymbol(db, universe())));
  EXPECT_EQ("Cannot set UserInfo of Universe", errorOf(c__tvbsetuserinfo(db, universe(), 1)));
  EXPECT_EQ("Cannot set explanatory text for records of the Universe", errorOf(c__tvbsetelemtext(db, rec, "t")));
  EXPECT_EQ("<Cannot get explanatory text for records of the Universe>", elemText(rec));
  c__tvbfreesymboliterator(db, rec);
}

TEST_F(Maintenance, MissingHandlesAreRefused) {
  EXPECT_EQ("No symbol record handle specified", errorOf(c__tvbdeleterecord(db, nullptr)));
  EXPECT_EQ("<No symbol record handle specified>", elemText(nullptr));
  tvbSymbol* p = addSymbol("p", 1, TRV_DT_PAR);
  EXPECT_EQ("No source symbol handle specified", errorOf(c__tvbcopysymbol(db, p, nullptr)));
  EXPECT_EQ("No target symbol handle specified", errorOf(c__tvbcopysymbol(db, nullptr, p)));
}

// The subtypes that adding refuses, refused the same way; a parameter keeps any value.
TEST_F(Maintenance, UserInfoRefusesTheSubtypesThatAddingRefuses) {
  tvbSymbol* v = addSymbol("v", 1, TRV_DT_VAR, TRV_VAR_FREE);
  tvbSymbol* e = addSymbol("e", 1, TRV_DT_EQU);
  EXPECT_EQ("Variable type 10 of symbol v is not valid: use 0 to 9", errorOf(c__tvbsetuserinfo(db, v, 10)));
  EXPECT_EQ("Equation type -1 of symbol e is not valid: use 0 to 5", errorOf(c__tvbsetuserinfo(db, e, -1)));
  EXPECT_EQ(TRV_VAR_FREE, intInfo(v, TRV_SYMINFO_USERINFO));
  EXPECT_EQ(1, c__tvbsetuserinfo(db, addSymbol("p", 1, TRV_DT_PAR), -7));
}

// A set record's value is the number of its element text: equal texts share a number.
TEST_F(Maintenance, ElementTextsAreMatchedExactly) {
  tvbSymbol* s = addSymbol("s", 1, TRV_DT_SET);
  tvbRecordHandle* recs[3] = {add(s, {"a"}), add(s, {"b"}), add(s, {"c"})};
  for (auto [rec, text] : {std::pair{recs[0], "same"}, {recs[1], "same"}, {recs[2], "Same"}})
    ASSERT_EQ(1, c__tvbsetelemtext(db, rec, text));
  std::vector<double> numbers;
  for (tvbRecordHandle* rec : recs) {
    int uel;
    double number[5];
    c__tvbgetrecordraw(db, rec, 1, &uel, number);
    numbers.push_back(number[0]);
    c__tvbfreesymboliterator(db, rec);
  }
  EXPECT_EQ((std::vector<double>{1, 1, 2}), numbers);
}

TEST_F(Maintenance, ElementTextsLongerThan255CharactersAreRefused) {
  tvbRecordHandle* rec = add(addSymbol("s", 1, TRV_DT_SET), {"a"});
  const std::string longest(255, 'e');
  ASSERT_EQ(1, c__tvbsetelemtext(db, rec, longest.c_str()));
  EXPECT_EQ("Explanatory text too long. Max length is 255",
            errorOf(c__tvbsetelemtext(db, rec, (longest + "e").c_str())));
  EXPECT_EQ(longest, elemText(rec));
  c__tvbfreesymboliterator(db, rec);
}

TEST_F(Maintenance, OnlyRecordsOfSetsHaveElementTexts) {
  tvbRecordHandle* rec = add(addSymbol("p", 1, TRV_DT_PAR), {"a"});
  EXPECT_EQ("Element texts belong to records of sets; symbol p is a Parameter",
            errorOf(c__tvbsetelemtext(db, rec, "x")));
  c__tvbfreesymboliterator(db, rec);
}

// Copied into another database's Universe, a set's labels join that database; copied out of it, the Universe
// gives every label.
TEST_F(Maintenance, CopiesIntoAndOutOfTheUniverseCarryLabels) {
  tvbHandle* other = nullptr;
  ASSERT_EQ(1, xcreate(&other));
  uel("z", other);
  tvbSymbol* set = addSymbol("set", 1, TRV_DT_SET);
  addAndFree(set, {"brand_new"});
  ASSERT_EQ(1, c__tvbcopysymbol(db, universe(other), set));
  EXPECT_EQ(2, dbInfo(TRV_INFO_UEL_COUNT, other));
  tvbSymbol* all = addSymbol("all", 1, TRV_DT_SET);
  ASSERT_EQ(1, c__tvbcopysymbol(db, all, universe(other)));
  EXPECT_EQ((std::vector<std::string>{"brand_new", "z"}), keys(all));
  xfree(&other);
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

TEST_F(Information, SymbolsAnswerEveryKey) {
  tvbSymbol* s = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(db, "s", 1, TRV_DT_SET, 3, "the text", &s));
  for (const char* label : {"a", "b"}) addAndFree(s, {label});
  int value = 9;
  double d = 0;
  char text[TRV_SSSIZE];
  for (auto [symbol, expected] : {std::pair{s, "the text"}, {universe(), "universe"}}) {
    EXPECT_EQ(1, c__tvbsymbolinfo(db, symbol, TRV_SYMINFO_TEXT, &value, &d, text));
    EXPECT_STREQ(expected, text);
  }
  EXPECT_EQ((std::vector<int>{1, TRV_DT_SET, 3, 2, 1}),
            (std::vector<int>{intInfo(s, TRV_SYMINFO_DIM), intInfo(s, TRV_SYMINFO_TYPE),
                              intInfo(s, TRV_SYMINFO_USERINFO), intInfo(universe(), TRV_SYMINFO_RECORD_COUNT),
                              dbInfo(TRV_INFO_SYMBOL_COUNT)}));
}

TEST_F(Information, UnknownKeysAndMissingSymbolsAreRefused) {
  int value = 9;
  double d = 0;
  char text[TRV_SSSIZE];
  EXPECT_EQ("infoKey needs to be either 0 or 1, saw 2", errorOf(c__tvbinfo(db, 2, &value, &d, text)));
  tvbSymbol* s = addSymbol("s", 1, TRV_DT_SET);
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
