// Records: what adding refuses, keys read back, values with their defaults, special values. Adding, finding,
// reading and writing records at random is compared with a reference model in record_differential_test.cc.
#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "support/database_fixture.h"

namespace {

using Records = DatabaseTest;

TEST_F(Records, ALabelRefusedAtOnePositionLeavesTheLabelsBeforeItRegistered) {
  EXPECT_EQ(nullptr, add(addSymbol("p", 2, TRV_DT_PAR), {"new", std::string(70, 'z').c_str()}));
  EXPECT_EQ("Label exceeds maximum size of 63: >" + std::string(70, 'z') + "<", lastError());
  EXPECT_EQ(1, dbInfo(TRV_INFO_UEL_COUNT));
}

TEST_F(Records, NeitherNoSymbolNorTheUniverseTakesRecords) {
  tvbRecordHandle* rec = reinterpret_cast<tvbRecordHandle*>(0x1);
  const char* labels[1] = {"a"};
  EXPECT_EQ("No symbol handle specified", errorOf(c__tvbaddrecord(db, nullptr, labels, &rec)));
  EXPECT_EQ(nullptr, rec);
  int status = 5, uels[1] = {uel("a")};
  EXPECT_EQ(nullptr, c__tvbaddrecordpy(db, nullptr, labels, &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ("Cannot add records to the Universe", errorOf(c__tvbaddrecord(db, universe(), labels, &rec)));
  double values[5] = {};
  EXPECT_EQ("Cannot add records to the Universe", errorOf(c__tvbaddrecordraw(db, universe(), uels, values, "")));
}

TEST_F(Records, KeyLabelsAreReadByPosition) {
  tvbRecordHandle* rec = add(addSymbol("p", 2, TRV_DT_PAR), {"a", "b"});
  char label[TRV_SSSIZE];
  EXPECT_EQ(1, c__tvbgetkey(db, rec, 1, label));
  EXPECT_STREQ("b", label);
  EXPECT_EQ("Index too large", errorOf(c__tvbgetkey(db, rec, 2, label)));
  EXPECT_EQ("Index -1 is negative", errorOf(c__tvbgetkey(db, rec, -1, label)));
  c__tvbfreesymboliterator(db, rec);
}

// A label of the Universe is a record of one position, whatever position is asked for.
TEST_F(Records, UniverseRecordsAreTheLabels) {
  uel("c");
  tvbRecordHandle* rec = find(universe(), {"C"});
  char label[TRV_SSSIZE];
  EXPECT_EQ(1, c__tvbgetkey(db, rec, 5, label));
  EXPECT_STREQ("c", label);
  c__tvbfreesymboliterator(db, rec);
  EXPECT_EQ(nullptr, find(universe(), {"zz"}));
  EXPECT_EQ("Cannot find element zz in Universe", lastError());
}

TEST_F(Records, ScalarsHoldOneRecord) {
  tvbSymbol* scalar = addSymbol("scalar", 0, TRV_DT_PAR);
  addAndFree(scalar, {});
  EXPECT_EQ(nullptr, add(scalar, {}));
  EXPECT_EQ("Record () exists already for symbol scalar", lastError());
}

TEST_F(Records, KeysOfTwentyLabelsComeBack) {
  const std::vector<const char*> labels = {"L19", "L18", "L17", "L16", "L15", "L14", "L13", "L12", "L11", "L10",
                                           "L9",  "L8",  "L7",  "L6",  "L5",  "L4",  "L3",  "L2",  "L1",  "L0"};
  tvbSymbol* wide = addSymbol("wide", 20, TRV_DT_PAR);
  addAndFree(wide, labels);
  tvbRecordHandle* rec = find(wide, labels);
  EXPECT_EQ("L19.L18.L17.L16.L15.L14.L13.L12.L11.L10.L9.L8.L7.L6.L5.L4.L3.L2.L1.L0", keyOf(rec, 20));
  c__tvbfreesymboliterator(db, rec);
}

// A new record holds level 0, marginal 0, the bounds of its subtype and scale 1; each field has its getter and
// setter, which the raw read agrees with.
TEST_F(Records, NewRecordsTakeTheDefaultsOfTheirSubtype) {
  const struct {
    int type, subtype;
    double lower, upper;
  } rows[] = {{TRV_DT_VAR, TRV_VAR_BINARY, 0, 1},       {TRV_DT_VAR, TRV_VAR_INTEGER, 0, 100},
              {TRV_DT_VAR, TRV_VAR_POSITIVE, 0, 3e300}, {TRV_DT_VAR, TRV_VAR_NEGATIVE, 4e300, 0},
              {TRV_DT_VAR, TRV_VAR_FREE, 4e300, 3e300}, {TRV_DT_VAR, TRV_VAR_SEMICONT, 1, 3e300},
              {TRV_DT_VAR, TRV_VAR_SEMIINT, 1, 100},    {TRV_DT_EQU, TRV_EQU_EQ, 0, 0},
              {TRV_DT_EQU, TRV_EQU_GE, 0, 3e300},       {TRV_DT_EQU, TRV_EQU_LE, 4e300, 0},
              {TRV_DT_EQU, TRV_EQU_NB, 4e300, 3e300}};
  int (*const getters[])(tvbHandle*, tvbRecordHandle*, double*) = {c__tvbgetlevel, c__tvbgetmarginal, c__tvbgetlower,
                                                                   c__tvbgetupper, c__tvbgetscale};
  int (*const setters[])(tvbHandle*, tvbRecordHandle*, double) = {c__tvbsetlevel, c__tvbsetmarginal, c__tvbsetlower,
                                                                  c__tvbsetupper, c__tvbsetscale};
  for (const auto& row : rows) {
    const std::string name = "s" + std::to_string(&row - rows);
    SCOPED_TRACE(name);
    tvbRecordHandle* rec = add(addSymbol(name.c_str(), 1, row.type, row.subtype), {"k"});
    const auto fields = [&] {
      std::vector<double> got(5, -1), raw(5, -2);
      for (int f = 0; f < 5; ++f) getters[f](db, rec, &got[f]);
      int uel = 0;
      EXPECT_EQ(1, c__tvbgetrecordraw(db, rec, 1, &uel, raw.data()));
      EXPECT_EQ(got, raw);
      return got;
    };
    EXPECT_EQ((std::vector<double>{0, 0, row.lower, row.upper, 1}), fields());
    for (int f = 0; f < 5; ++f) setters[f](db, rec, f + 1.0);
    EXPECT_EQ((std::vector<double>{1, 2, 3, 4, 5}), fields());
    c__tvbfreesymboliterator(db, rec);
  }
}

// Values cross the interface in the caller's special values (mode 2: five values of the caller's; mode 1: only
// Eps differs, 0.0 standing for it; mode 0: the internal values themselves) and are stored as the internal ones.
TEST_F(Records, SpecialValuesTranslateInEveryMode) {
  constexpr double kInf = std::numeric_limits<double>::infinity(), kEps = std::numeric_limits<double>::denorm_min();
  tvbRecordHandle* rec = add(addSymbol("v", 1, TRV_DT_VAR, TRV_VAR_POSITIVE), {"k"});
  double internal[5];
  c__tvbgetspecialvalues(db, internal);
  EXPECT_EQ(1e300, internal[0]);
  EXPECT_TRUE(std::isnan(internal[1]));
  EXPECT_EQ((std::vector<double>{kInf, -kInf, kEps}), std::vector<double>(internal + 2, internal + 5));
  const double defaults[5] = {1e300, 2e300, 3e300, 4e300, 5e300}, onlyEps[5] = {1e300, std::nan("7"), kInf, -kInf, 0},
               clash[5] = {-1, -2, 0.0, -4, 0.0}, small[5] = {1, 2, 3, 4, 5};
  const struct {
    const double* in;  // the caller's values when the value is set, and the mode they make
    int mode;
    double value;
    const double* out;  // the caller's values when it is read
    double expected;
  } rows[] = {{defaults, 2, 2e300, defaults, 2e300},         // the defaults: NA both ways
              {defaults, 2, std::nan(""), defaults, 2e300},  // a NaN from the caller stays a NaN and reads as NA
              {defaults, 2, 5e300, internal, kEps},          // stored as the internal Eps, read untranslated in mode 0
              {internal, 0, kInf, defaults, 3e300},
              {onlyEps, 1, 0.0, onlyEps, 0.0},
              {onlyEps, 1, 0.0, internal, kEps},
              {onlyEps, 1, 1e300, onlyEps, 1e300},
              {clash, 2, 0.0, internal, kInf},  // one value in two slots: the lower slot wins
              {small, 2, 3.0, internal, kInf},  // small caller values: equal ones translate, others pass unchanged
              {small, 2, 0.5, internal, 0.5},
              {small, 2, -0.25, small, -0.25},
              {small, 2, 3.0, small, 3.0},
              {small, 2, 6.0, small, 6.0},
              {small, 2, -3.0, small, -3.0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(&row - rows);
    int mode = -1, uel;
    c__tvbsetspecialvaluesx(db, row.in, &mode);
    EXPECT_EQ(row.mode, mode);
    c__tvbsetlevel(db, rec, row.value);
    c__tvbsetmarginal(db, rec, row.value);
    c__tvbsetspecialvalues(db, row.out);
    double got[2], raw[5];
    c__tvbgetlevel(db, rec, &got[0]);
    c__tvbgetmarginal(db, rec, &got[1]);
    c__tvbgetrecordraw(db, rec, 1, &uel, raw);
    EXPECT_EQ(std::vector<double>(4, row.expected), (std::vector<double>{got[0], got[1], raw[0], raw[1]}));
  }
  const double otherUndef[5] = {7, internal[1], internal[2], internal[3], internal[4]};
  int mode = -1;
  c__tvbsetspecialvaluesx(db, otherUndef, &mode);
  EXPECT_EQ(2, mode);
  c__tvbgetspecialvalues(db, internal);
  EXPECT_EQ(1e300, internal[0]);  // the internal values never change
  c__tvbfreesymboliterator(db, rec);
}

}  // namespace
