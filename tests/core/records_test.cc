// Records: adding by labels and by numbers, finding, keys, values with their defaults, special values.
#include <cmath>
#include <limits>
#include <string>

#include "support/database_fixture.h"

namespace {

using Records = DatabaseTest;

TEST_F(Records, AddingRegistersLabelsAndRecordsWalkInLabelNumberOrder) {
  tvbSymbol* set = addSymbol("s", 1, TRV_DT_SET);
  addAndFree(set, {"b"});
  addAndFree(set, {"a"});
  char label[TRV_SSSIZE];
  c__tvbgetuelbyindex(db, 1, label);
  EXPECT_STREQ("b", label);
  EXPECT_EQ((std::vector<std::string>{"b", "a"}), keys(set));

  EXPECT_EQ(nullptr, add(set, {"B"}));
  EXPECT_EQ("Record (\"B\") exists already for symbol s", lastError());

  tvbSymbol* p2 = addSymbol("p2", 2, TRV_DT_PAR);
  addAndFree(p2, {"a", "x"});
  EXPECT_EQ(nullptr, add(p2, {"A ", "X"}));
  EXPECT_EQ("Record (\"A \",\"X\") exists already for symbol p2", lastError());

  // A bad label at the second position leaves the first one registered.
  EXPECT_EQ(nullptr, add(p2, {"new", std::string(70, 'z').c_str()}));
  EXPECT_EQ("Label exceeds maximum size of 63: >" + std::string(70, 'z') + "<", lastError());
  int nr = 0;
  c__tvbmergeuel(db, "new", &nr);
  EXPECT_EQ(4, nr);
}

TEST_F(Records, NullSymbolAndUniverseAreRefused) {
  tvbRecordHandle* rec = reinterpret_cast<tvbRecordHandle*>(0x1);
  const char* labels[1] = {"a"};
  EXPECT_EQ(0, c__tvbaddrecord(db, nullptr, labels, &rec));
  EXPECT_EQ("No symbol handle specified", lastError());
  EXPECT_EQ(nullptr, rec);
  tvbSymbol* universe;
  c__tvbfindsymbol(db, "*", &universe);
  EXPECT_EQ(0, c__tvbaddrecord(db, universe, labels, &rec));
  EXPECT_EQ("Cannot add records to the Universe", lastError());
  int uels[1] = {1};
  double values[5] = {};
  EXPECT_EQ(0, c__tvbaddrecordraw(db, universe, uels, values, ""));
  EXPECT_EQ("Cannot add records to the Universe", lastError());
  int status = 5;
  EXPECT_EQ(nullptr, c__tvbaddrecordpy(db, nullptr, labels, &status));
  EXPECT_EQ(0, status);
}

TEST_F(Records, RawAdditionChecksNumbersAndReplacesExistingRecords) {
  tvbSymbol* p = addSymbol("p", 2, TRV_DT_PAR);
  int nr;
  c__tvbmergeuel(db, "i1", &nr);
  c__tvbmergeuel(db, "j1", &nr);
  double values[5] = {1.5, 0, 0, 0, 0};
  int zero[2] = {1, 0};
  EXPECT_EQ(0, c__tvbaddrecordraw(db, p, zero, values, ""));
  EXPECT_EQ("Error when adding record to symbol p: UEL needs to be greater than zero but is 0", lastError());
  int unknown[2] = {3, 1};
  EXPECT_EQ(0, c__tvbaddrecordraw(db, p, unknown, values, ""));
  EXPECT_EQ("Error when adding record to symbol p: UEL 3 is unknown. Largest known UEL is 2", lastError());
  int key[2] = {1, 2};
  EXPECT_EQ(1, c__tvbaddrecordraw(db, p, key, values, ""));
  values[0] = -4.25;
  EXPECT_EQ(1, c__tvbaddrecordraw(db, p, key, values, ""));
  EXPECT_EQ(1, intInfo(p, TRV_SYMINFO_RECORD_COUNT));
  tvbRecordHandle* rec = find(p, {"i1", "j1"});
  ASSERT_NE(nullptr, rec);
  double level = 0;
  EXPECT_EQ(1, c__tvbgetlevel(db, rec, &level));
  EXPECT_EQ(-4.25, level);
  int uels[2];
  double got[5];
  EXPECT_EQ(1, c__tvbgetrecordraw(db, rec, 2, uels, got));
  EXPECT_EQ(1, uels[0]);
  EXPECT_EQ(2, uels[1]);
  c__tvbfreesymboliterator(db, rec);
}

TEST_F(Records, FindReportsWhatIsMissing) {
  tvbSymbol* p = addSymbol("p", 2, TRV_DT_PAR);
  EXPECT_EQ(nullptr, find(p, {"a", "b"}));
  EXPECT_EQ("Cannot find any record in Symbol p (p is empty)", lastError());
  addAndFree(p, {"a", "b"});
  int nr;
  c__tvbmergeuel(db, "c", &nr);
  EXPECT_EQ(nullptr, find(p, {"a", "nowhere"}));
  EXPECT_EQ("Cannot find element nowhere (on position 2) in Symbol p", lastError());
  EXPECT_EQ(nullptr, find(p, {"a  ", "c"}));
  EXPECT_EQ("Cannot find record (\"a\",\"c\") in Symbol p", lastError());
  tvbRecordHandle* rec = find(p, {"A", "B "});
  ASSERT_NE(nullptr, rec);
  EXPECT_EQ("a.b", keyOf(rec, 2));
  char label[TRV_SSSIZE];
  EXPECT_EQ(1, c__tvbgetkey(db, rec, 1, label));
  EXPECT_STREQ("b", label);
  EXPECT_EQ(0, c__tvbgetkey(db, rec, 2, label));
  EXPECT_EQ("Index too large", lastError());
  EXPECT_EQ(0, c__tvbgetkey(db, rec, -1, label));
  c__tvbfreesymboliterator(db, rec);

  tvbSymbol* universe;
  c__tvbfindsymbol(db, "*", &universe);
  rec = find(universe, {"C"});
  ASSERT_NE(nullptr, rec);
  EXPECT_EQ("c", keyOf(rec, 1));
  EXPECT_EQ(1, c__tvbgetkey(db, rec, 5, label));  // a label of the Universe has one position, whatever is asked
  EXPECT_STREQ("c", label);
  c__tvbfreesymboliterator(db, rec);
  EXPECT_EQ(nullptr, find(universe, {"zz"}));
  EXPECT_EQ("Cannot find element zz in Universe", lastError());
}

TEST_F(Records, NewRecordsGetTheDefaultsOfTheirSubtype) {
  struct Case {
    int type, subtype;
    double lower, upper;
  } cases[] = {{TRV_DT_VAR, TRV_VAR_BINARY, 0, 1},    {TRV_DT_VAR, TRV_VAR_INTEGER, 0, 100},
               {TRV_DT_VAR, TRV_VAR_POSITIVE, 0, 3e300}, {TRV_DT_VAR, TRV_VAR_NEGATIVE, 4e300, 0},
               {TRV_DT_VAR, TRV_VAR_FREE, 4e300, 3e300}, {TRV_DT_VAR, TRV_VAR_SEMICONT, 1, 3e300},
               {TRV_DT_VAR, TRV_VAR_SEMIINT, 1, 100},    {TRV_DT_EQU, TRV_EQU_EQ, 0, 0},
               {TRV_DT_EQU, TRV_EQU_GE, 0, 3e300},       {TRV_DT_EQU, TRV_EQU_LE, 4e300, 0},
               {TRV_DT_EQU, TRV_EQU_NB, 4e300, 3e300}};
  int n = 0;
  for (const Case& c : cases) {
    std::string name = "s" + std::to_string(n++);
    tvbSymbol* sym = addSymbol(name.c_str(), 1, c.type, c.subtype);
    tvbRecordHandle* rec = add(sym, {"k"});
    ASSERT_NE(nullptr, rec);
    double level = -1, marginal = -1, lower = -1, upper = -1, scale = -1;
    c__tvbgetlevel(db, rec, &level);
    c__tvbgetmarginal(db, rec, &marginal);
    c__tvbgetlower(db, rec, &lower);
    c__tvbgetupper(db, rec, &upper);
    c__tvbgetscale(db, rec, &scale);
    EXPECT_EQ(0, level) << name;
    EXPECT_EQ(0, marginal) << name;
    EXPECT_EQ(c.lower, lower) << name;
    EXPECT_EQ(c.upper, upper) << name;
    EXPECT_EQ(1, scale) << name;
    c__tvbfreesymboliterator(db, rec);
  }
}

TEST_F(Records, SettersStoreEachFieldAndRawReadGivesAllFive) {
  tvbSymbol* v = addSymbol("v", 1, TRV_DT_VAR, TRV_VAR_FREE);
  tvbRecordHandle* rec = add(v, {"k"});
  c__tvbsetlevel(db, rec, 1);
  c__tvbsetmarginal(db, rec, 2);
  c__tvbsetlower(db, rec, -3);
  c__tvbsetupper(db, rec, 4);
  c__tvbsetscale(db, rec, 5);
  int uel;
  double values[5];
  ASSERT_EQ(1, c__tvbgetrecordraw(db, rec, 1, &uel, values));
  EXPECT_EQ(1, uel);
  EXPECT_EQ((std::vector<double>{1, 2, -3, 4, 5}), std::vector<double>(values, values + 5));
  c__tvbfreesymboliterator(db, rec);
}

TEST_F(Records, SpecialValuesTranslateInEveryMode) {
  tvbSymbol* v = addSymbol("v", 1, TRV_DT_VAR, TRV_VAR_POSITIVE);
  tvbRecordHandle* rec = add(v, {"k"});
  double internal[5];
  c__tvbgetspecialvalues(db, internal);
  EXPECT_EQ(1e300, internal[0]);
  EXPECT_TRUE(std::isnan(internal[1]));
  EXPECT_EQ(std::numeric_limits<double>::infinity(), internal[2]);
  EXPECT_EQ(-std::numeric_limits<double>::infinity(), internal[3]);
  EXPECT_EQ(std::numeric_limits<double>::denorm_min(), internal[4]);

  // Mode 2 (the defaults 1e300..5e300): every slot translated both ways.
  double x;
  c__tvbsetlevel(db, rec, 2e300);  // caller's NA
  int uel;
  double raw[5];
  c__tvbgetlevel(db, rec, &x);
  EXPECT_EQ(2e300, x);
  c__tvbsetlevel(db, rec, std::nan(""));  // a NaN from the caller stays a NaN and reads as NA
  c__tvbgetlevel(db, rec, &x);
  EXPECT_EQ(2e300, x);
  c__tvbsetmarginal(db, rec, 5e300);
  c__tvbgetrecordraw(db, rec, 1, &uel, raw);
  EXPECT_EQ(5e300, raw[1]);
  EXPECT_EQ(3e300, raw[3]);

  // Mode 0: the internal values themselves; nothing translated.
  int mode = -1;
  c__tvbsetspecialvaluesx(db, internal, &mode);
  EXPECT_EQ(0, mode);
  c__tvbgetupper(db, rec, &x);
  EXPECT_EQ(std::numeric_limits<double>::infinity(), x);
  c__tvbgetmarginal(db, rec, &x);  // stored Eps reads as the internal Eps
  EXPECT_EQ(std::numeric_limits<double>::denorm_min(), x);

  // Mode 1: only epsilon differs; 0.0 stands for it.
  double onlyEps[5] = {internal[0], std::nan("7"), internal[2], internal[3], 0.0};
  c__tvbsetspecialvaluesx(db, onlyEps, &mode);
  EXPECT_EQ(1, mode);
  c__tvbsetlevel(db, rec, 0.0);
  c__tvbgetlevel(db, rec, &x);
  EXPECT_EQ(0.0, x);
  c__tvbsetspecialvalues(db, internal);
  c__tvbgetlevel(db, rec, &x);
  EXPECT_EQ(std::numeric_limits<double>::denorm_min(), x);  // stored as the internal Eps
  c__tvbsetspecialvaluesx(db, onlyEps, &mode);
  c__tvbsetlevel(db, rec, 1e300);
  c__tvbgetlevel(db, rec, &x);
  EXPECT_EQ(1e300, x);

  // Mode 2 with one value in two slots: the lower slot wins.
  double clash[5] = {-1, -2, 0.0, -4, 0.0};
  c__tvbsetspecialvaluesx(db, clash, &mode);
  EXPECT_EQ(2, mode);
  c__tvbsetlevel(db, rec, 0.0);
  c__tvbsetspecialvalues(db, internal);
  c__tvbgetlevel(db, rec, &x);
  EXPECT_EQ(std::numeric_limits<double>::infinity(), x);

  // Small caller values: smaller values pass unchanged, equal ones translate, larger ones pass unchanged.
  double small[5] = {1, 2, 3, 4, 5};
  c__tvbsetspecialvalues(db, small);
  for (double in : {0.5, -0.25, 3.0, 6.0, -3.0}) {
    c__tvbsetlevel(db, rec, in);
    c__tvbgetrecordraw(db, rec, 1, &uel, raw);
    EXPECT_EQ(in, raw[0]) << in;  // what goes in comes back
  }
  c__tvbsetlevel(db, rec, 3.0);
  c__tvbsetspecialvalues(db, internal);
  c__tvbgetlevel(db, rec, &x);
  EXPECT_EQ(std::numeric_limits<double>::infinity(), x);
  c__tvbsetspecialvalues(db, small);
  c__tvbsetlevel(db, rec, 0.5);
  c__tvbsetspecialvalues(db, internal);
  c__tvbgetlevel(db, rec, &x);
  EXPECT_EQ(0.5, x);

  double otherUndef[5] = {7, internal[1], internal[2], internal[3], internal[4]};
  c__tvbsetspecialvaluesx(db, otherUndef, &mode);
  EXPECT_EQ(2, mode);
  c__tvbgetspecialvalues(db, raw);
  EXPECT_EQ(1e300, raw[0]);  // the internal values never change
  c__tvbfreesymboliterator(db, rec);
}

TEST_F(Records, RawValuesOfSetsBecomeElementTexts) {
  tvbSymbol* s = addSymbol("s", 1, TRV_DT_SET);
  int nr;
  c__tvbmergeuel(db, "a", &nr);
  c__tvbmergeuel(db, "b", &nr);
  double none[5] = {0};
  double some[5] = {1};
  int a = 1, b = 2;
  ASSERT_EQ(1, c__tvbaddrecordraw(db, s, &a, none, "ignored"));
  ASSERT_EQ(1, c__tvbaddrecordraw(db, s, &b, some, "kept"));
  char text[TRV_SSSIZE];
  tvbRecordHandle* rec = find(s, {"a"});
  ASSERT_EQ(1, c__tvbgetelemtext(db, rec, text));
  EXPECT_STREQ("", text);
  c__tvbfreesymboliterator(db, rec);
  rec = find(s, {"b"});
  ASSERT_EQ(1, c__tvbgetelemtext(db, rec, text));
  EXPECT_STREQ("kept", text);
  c__tvbfreesymboliterator(db, rec);
}

TEST_F(Records, ScalarsAndTwentyDimensionalKeys) {
  tvbSymbol* scalar = addSymbol("scalar", 0, TRV_DT_PAR);
  tvbRecordHandle* rec = add(scalar, {});
  ASSERT_NE(nullptr, rec);
  c__tvbsetlevel(db, rec, 42);
  c__tvbfreesymboliterator(db, rec);
  EXPECT_EQ(nullptr, add(scalar, {}));
  EXPECT_EQ("Record () exists already for symbol scalar", lastError());
  rec = find(scalar, {});
  double x = 0;
  c__tvbgetlevel(db, rec, &x);
  EXPECT_EQ(42, x);
  c__tvbfreesymboliterator(db, rec);

  tvbSymbol* wide = addSymbol("wide", 20, TRV_DT_PAR);
  std::vector<std::string> texts;
  for (int i = 0; i < 20; ++i) texts.push_back("L" + std::to_string(19 - i));
  std::vector<const char*> labels;
  for (auto& t : texts) labels.push_back(t.c_str());
  addAndFree(wide, labels);
  rec = find(wide, labels);
  ASSERT_NE(nullptr, rec);
  EXPECT_EQ("L19.L18.L17.L16.L15.L14.L13.L12.L11.L10.L9.L8.L7.L6.L5.L4.L3.L2.L1.L0", keyOf(rec, 20));
  c__tvbfreesymboliterator(db, rec);
}

}  // namespace
