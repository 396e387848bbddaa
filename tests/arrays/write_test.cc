// Writing caller cubes into sets and parameters: every cell, or the non-zero cells that slice sets select;
// replacement of the old records, write recording, special values, and record handles across a write.
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "arrays/array_fixture.h"

namespace {

using WriteArray = ArrayTest;
using Contents = std::map<std::string, double>;

TEST_F(WriteArray, AParameterGetsARecordForEveryCellInRowMajorOrder) {
  labels({"a", "b", "x", "y", "z"});
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"a", "q"}, 99);  // replaced by the write
  tvbSymbol* domains[2] = {i, j};
  int extents[2] = {2, 3};
  double cube[6] = {1, 0, 3, 4, 5, 0};
  ASSERT_EQ(1, c__tvbdensearraytosymbol(db, p, domains, cube, extents)) << lastError();
  EXPECT_EQ((Contents{{"a.x", 1}, {"a.y", 0}, {"a.z", 3}, {"b.x", 4}, {"b.y", 5}, {"b.z", 0}}), contents(p));
  EXPECT_EQ((std::vector<std::string>{"a.x", "a.y", "a.z", "b.x", "b.y", "b.z"}), keys(p));

  // Read back over the same domains, the cube comes out as it went in.
  double back[6];
  int dropped;
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, back, extents, p, domains, 0, &dropped));
  EXPECT_EQ(std::vector<double>(cube, cube + 6), std::vector<double>(back, back + 6));

  // Domains in the other order give the transposed symbol.
  tvbSymbol* q = over("q", TRV_DT_PAR, {j, i});
  tvbSymbol* swapped[2] = {j, i};
  int transposed[2] = {3, 2};
  double columns[6] = {1, 4, 2, 5, 3, 6};
  ASSERT_EQ(1, c__tvbdensearraytosymbol(db, q, swapped, columns, transposed)) << lastError();
  EXPECT_EQ((Contents{{"x.a", 1}, {"x.b", 4}, {"y.a", 2}, {"y.b", 5}, {"z.a", 3}, {"z.b", 6}}), contents(q));
}

TEST_F(WriteArray, ASetGetsARecordForEachNonZeroCellWithThatElementTextNumber) {
  labels({"a", "b", "c"});
  tvbSymbol* i = set("i", {"a", "b", "c"});
  tvbSymbol* s = over("s", TRV_DT_SET, {i, i});
  tvbRecordHandle* rec = add(s, {"a", "a"});
  c__tvbsetelemtext(db, rec, "first text");  // element text number 1
  c__tvbfreesymboliterator(db, rec);
  tvbSymbol* domains[2] = {i, i};
  int extents[2] = {3, 3};
  int cube[9] = {0, 1, 0, 0, 0, 7, -2, 0, 0};
  ASSERT_EQ(1, c__tvbdensearraytosymbol(db, s, domains, cube, extents)) << lastError();
  EXPECT_EQ((Contents{{"a.b", 1}, {"b.c", 7}, {"c.a", -2}}), contents(s));
  rec = find(s, {"a", "b"});
  char text[TRV_SSSIZE];
  ASSERT_EQ(1, c__tvbgetelemtext(db, rec, text));
  EXPECT_STREQ("first text", text);
  c__tvbfreesymboliterator(db, rec);

  // A set written over itself: its labels by position are taken before its records are replaced.
  int keep[3] = {1, 0, 1};
  int three[1] = {3};
  ASSERT_EQ(1, c__tvbdensearraytosymbol(db, i, &i, keep, three)) << lastError();
  EXPECT_EQ((std::vector<std::string>{"a", "c"}), keys(i));
}

TEST_F(WriteArray, SlicesWriteOnlyTheNonZeroCellsTheySelect) {
  labels({"a", "b", "c", "x", "y", "z", "w"});
  tvbSymbol* i = set("i", {"a", "b", "c"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* rows = set("rows", {"c", "a", "w"});  // w is not in i: skipped
  tvbSymbol* cols = set("cols", {"y", "z"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"b", "x"}, 99);  // replaced by the write even though no slice selects it
  tvbSymbol* domains[2] = {i, j};
  tvbSymbol* slices[2] = {rows, cols};
  int extents[2] = {3, 3};
  double cube[9] = {11, 12,  13,  //
                    21, 22,  23,  //
                    31, 0.0, 33};
  ASSERT_EQ(1, c__tvbdensearrayslicestosymbol(db, p, slices, domains, cube, extents)) << lastError();
  EXPECT_EQ((Contents{{"a.y", 12}, {"a.z", 13}, {"c.z", 33}}), contents(p));

  // A set through slices: zeros skipped, other cells stored as element-text numbers.
  tvbSymbol* s = over("s", TRV_DT_SET, {i, j});
  int ints[9] = {0, 2, 0, 0, 3, 0, 4, 5, 0};
  ASSERT_EQ(1, c__tvbdensearrayslicestosymbol(db, s, slices, domains, ints, extents)) << lastError();
  EXPECT_EQ((Contents{{"a.y", 2}, {"c.y", 5}}), contents(s));

  // No slice label in its domain: the symbol is emptied and the write succeeds.
  tvbSymbol* outside = set("outside", {"w"});
  tvbSymbol* nothing[2] = {outside, cols};
  ASSERT_EQ(1, c__tvbdensearrayslicestosymbol(db, p, nothing, domains, cube, extents)) << lastError();
  EXPECT_EQ(0, recordCount(p));
}

TEST_F(WriteArray, CubeValuesEnterTheStoreAsSpecialValues) {
  tvbSymbol* i = set("i", {"a", "b", "c"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  int extents[1] = {3};
  double cube[3] = {3e300, 5e300, 2e300};  // +infinity, epsilon, not available with the default values
  ASSERT_EQ(1, c__tvbdensearraytosymbol(db, p, &i, cube, extents));
  double internal[5];
  c__tvbgetspecialvalues(db, internal);
  c__tvbsetspecialvalues(db, internal);  // from here on values pass untranslated
  double stored[3];
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, stored, extents, p, 0));
  EXPECT_EQ(std::numeric_limits<double>::infinity(), stored[0]);
  EXPECT_EQ(std::numeric_limits<double>::denorm_min(), stored[1]);
  EXPECT_TRUE(std::isnan(stored[2]));

  // A slice write compares the cell, not the stored value, with zero: with 0.0 as the caller's epsilon a zero
  // cell is still skipped.
  double epsilonZero[5] = {internal[0], internal[1], internal[2], internal[3], 0.0};
  c__tvbsetspecialvalues(db, epsilonZero);
  double zeros[3] = {0.0, 1.0, 0.0};
  ASSERT_EQ(1, c__tvbdensearrayslicestosymbol(db, p, &i, &i, zeros, extents));
  EXPECT_EQ((Contents{{"b", 1}}), contents(p));
  ASSERT_EQ(1, c__tvbdensearraytosymbol(db, p, &i, zeros, extents));
  c__tvbsetspecialvalues(db, internal);
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, stored, extents, p, 0));
  EXPECT_EQ(std::numeric_limits<double>::denorm_min(), stored[0]);  // the caller's epsilon 0.0 became epsilon
}

TEST_F(WriteArray, ARefusedWriteChangesNothingAndASuccessfulOneIsRecorded) {
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* v = over("v", TRV_DT_VAR, {i}, TRV_VAR_FREE);
  tvbSymbol* e = over("e", TRV_DT_EQU, {i});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  addAndFree(v, {"a"});
  put(p, {"a"}, 5);
  int extents[1] = {2};
  double cube[2] = {1, 2};
  ASSERT_EQ(1, c__tvbstartwriterecording(db));
  EXPECT_EQ(0, c__tvbdensearraytosymbol(db, v, &i, cube, extents));
  EXPECT_EQ("Copy into var/equ symbol v not possible", lastError());
  EXPECT_EQ(0, c__tvbdensearrayslicestosymbol(db, e, &i, &i, cube, extents));
  EXPECT_EQ("Copy into var/equ symbol e not possible", lastError());
  EXPECT_EQ(1, recordCount(v));
  int wrong[1] = {3};
  EXPECT_EQ(0, c__tvbdensearraytosymbol(db, p, &i, cube, wrong));
  EXPECT_EQ(0, c__tvbdensearrayslicestosymbol(db, p, &i, &i, cube, wrong));
  EXPECT_EQ((Contents{{"a", 5}}), contents(p));
  for (tvbSymbol* sym : {v, e, p}) EXPECT_EQ(0, intInfo(sym, TRV_SYMINFO_WRITTEN));

  ASSERT_EQ(1, c__tvbdensearraytosymbol(db, p, &i, cube, extents));
  EXPECT_EQ(1, intInfo(p, TRV_SYMINFO_WRITTEN));
  ASSERT_EQ(1, c__tvbstopwriterecording(db));
  ASSERT_EQ(1, c__tvbstartwriterecording(db));
  tvbSymbol* none = set("none", {});
  ASSERT_EQ(1, c__tvbdensearrayslicestosymbol(db, p, &none, &i, cube, extents));  // writes nothing, still a write
  EXPECT_EQ(1, intInfo(p, TRV_SYMINFO_WRITTEN));
  EXPECT_EQ(0, recordCount(p));
}

TEST_F(WriteArray, RecordHandlesOfTheSymbolFollowTheirKeysAcrossAWrite) {
  labels({"a", "b", "c"});
  tvbSymbol* i = set("i", {"a", "b", "c"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  put(p, {"a"}, 1);
  put(p, {"b"}, 2);
  put(p, {"c"}, 3);
  tvbRecordHandle* onB = find(p, {"b"});
  tvbRecordHandle* onC = find(p, {"c"});
  ASSERT_NE(nullptr, onC);
  int extents[1] = {3};
  // As many new records as old ones: a handle must not mistake the new store for the one it knew.
  double cube[3] = {10, 20, 30};
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(1, c__tvbdensearraytosymbol(db, p, &i, cube, extents));
    double level = 0;
    ASSERT_EQ(1, c__tvbgetlevel(db, onB, &level));
    EXPECT_EQ(cube[1], level);
    cube[1] += 1;
  }
  // A slice write without c: the handle on c stands on nothing now and says so.
  tvbSymbol* ab = set("ab", {"a", "b"});
  ASSERT_EQ(1, c__tvbdensearrayslicestosymbol(db, p, &ab, &i, cube, extents));
  EXPECT_EQ("b", keyOf(onB, 1));
  EXPECT_EQ(0, c__tvbrecordmovenext(db, onC));
  EXPECT_EQ("The record handle of symbol p stands on no record (its record was removed)", lastError());
  ASSERT_EQ(1, c__tvbrecordmoveprev(db, onB));
  EXPECT_EQ("a", keyOf(onB, 1));
  c__tvbfreesymboliterator(db, onB);
  c__tvbfreesymboliterator(db, onC);
}

}  // namespace
