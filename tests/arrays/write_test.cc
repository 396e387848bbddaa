// Writing caller cubes into sets and parameters: every cell, or the non-zero cells that slice sets select;
// replacement of the old records, write recording, special values and record handles across a write.
#include <map>
#include <string>
#include <vector>

#include "arrays/array_fixture.h"
#include "support/allocation_failures.h"

namespace {

using Contents = std::map<std::string, double>;

class WriteArray : public ArrayTest {
 protected:
  // Labels a, b, c, x, y, z in this order; i = {a, b, c}, j = {x, y, z}.
  void SetUp() override {
    ArrayTest::SetUp();
    labels({"a", "b", "c", "x", "y", "z"});
    i = set("i", {"a", "b", "c"});
    j = set("j", {"x", "y", "z"});
  }
  tvbSymbol *i = nullptr, *j = nullptr;
};

TEST_F(WriteArray, AParameterGetsARecordForEveryCellInRowMajorOrderReplacingItsRecords) {
  tvbSymbol* ab = set("ab", {"a", "b"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {ab, j});
  put(p, {"a", "q"}, 99);
  ASSERT_EQ("", write(p, {ab, j}, {2, 3}, {1, 0, 3, 4, 5, 0}));
  EXPECT_EQ((Contents{{"a.x", 1}, {"a.y", 0}, {"a.z", 3}, {"b.x", 4}, {"b.y", 5}, {"b.z", 0}}), contents(p));
}

// Element text number 1 exists already: a cell of 1 makes a record with that text.
TEST_F(WriteArray, ASetGetsARecordForEachNonZeroCellWithThatElementTextNumber) {
  tvbSymbol* s = over("s", TRV_DT_SET, {i, i});
  tvbRecordHandle* rec = add(s, {"a", "a"});
  c__tvbsetelemtext(db, rec, "first text");
  c__tvbfreesymboliterator(db, rec);
  ASSERT_EQ("", write<int>(s, {i, i}, {3, 3}, {0, 1, 0, 0, 0, 7, -2, 0, 0}));
  EXPECT_EQ((Contents{{"a.b", 1}, {"b.c", 7}, {"c.a", -2}}), contents(s));
  rec = find(s, {"a", "b"});
  EXPECT_EQ("first text", elemText(rec));
  c__tvbfreesymboliterator(db, rec);
}

// Its labels by position are taken before its records are replaced.
TEST_F(WriteArray, ASetIsWrittenOverItself) {
  ASSERT_EQ("", write<int>(i, {i}, {3}, {1, 0, 1}));
  EXPECT_EQ((std::vector<std::string>{"a", "c"}), keys(i));
}

// Slice labels outside the domain are skipped; a record that no slice selects goes all the same.
TEST_F(WriteArray, SlicesWriteOnlyTheNonZeroCellsTheySelect) {
  labels({"w"});
  tvbSymbol* rows = set("rows", {"c", "a", "w"});
  tvbSymbol* cols = set("cols", {"y", "z"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"b", "x"}, 99);
  ASSERT_EQ("", write(p, {i, j}, {3, 3}, {11, 12, 13, 21, 22, 23, 31, 0.0, 33}, {rows, cols}));
  EXPECT_EQ((Contents{{"a.y", 12}, {"a.z", 13}, {"c.z", 33}}), contents(p));
  tvbSymbol* s = over("s", TRV_DT_SET, {i, j});
  ASSERT_EQ("", write<int>(s, {i, j}, {3, 3}, {0, 2, 0, 0, 3, 0, 4, 5, 0}, {rows, cols}));
  EXPECT_EQ((Contents{{"a.y", 2}, {"c.y", 5}}), contents(s));
  ASSERT_EQ("", write(p, {i, j}, {3, 3}, {1, 1, 1, 1, 1, 1, 1, 1, 1}, {set("outside", {"w"}), cols}));
  EXPECT_EQ(0, recordCount(p));
}

TEST_F(WriteArray, CubeValuesEnterTheStoreAsSpecialValues) {
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  ASSERT_EQ("", write(p, {i}, {3}, {3e300, 5e300, 2e300}));  // +infinity, epsilon, NA with the default values
  double internal[5];
  c__tvbgetspecialvalues(db, internal);
  c__tvbsetspecialvalues(db, internal);  // from here on values pass untranslated
  EXPECT_EQ("inf 5e-324 nan", read(p, {3}));
}

// A slice write compares the cell, not the stored value, with zero: with 0.0 as the caller's epsilon a zero
// cell is still skipped, while a full write stores it as epsilon.
TEST_F(WriteArray, ASliceWriteSkipsZeroCellsWhenZeroIsTheCallersEpsilon) {
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  double internal[5];
  c__tvbgetspecialvalues(db, internal);
  double epsilonZero[5] = {internal[0], internal[1], internal[2], internal[3], 0.0};
  c__tvbsetspecialvalues(db, epsilonZero);
  ASSERT_EQ("", write(p, {i}, {3}, {0.0, 1.0, 0.0}, {i}));
  EXPECT_EQ((Contents{{"b", 1}}), contents(p));
  ASSERT_EQ("", write(p, {i}, {3}, {0.0, 1.0, 0.0}));
  c__tvbsetspecialvalues(db, internal);
  EXPECT_EQ("5e-324 1 5e-324", read(p, {3}));
}

TEST_F(WriteArray, ARefusedWriteChangesNothing) {
  tvbSymbol* v = over("v", TRV_DT_VAR, {i}, TRV_VAR_FREE);
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  addAndFree(v, {"a"});
  put(p, {"a"}, 5);
  ASSERT_EQ(1, c__tvbstartwriterecording(db));
  EXPECT_EQ("Copy into var/equ symbol v not possible", write(v, {i}, {3}));
  EXPECT_EQ("Copy into var/equ symbol e not possible", write(over("e", TRV_DT_EQU, {i}), {i}, {3}, {}, {i}));
  EXPECT_NE("", write(p, {i}, {2}));
  EXPECT_NE("", write(p, {i}, {2}, {}, {i}));
  EXPECT_EQ((Contents{{"a", 5}}), contents(p));
  EXPECT_EQ(1, recordCount(v));
  for (tvbSymbol* sym : {v, p}) EXPECT_EQ(0, intInfo(sym, TRV_SYMINFO_WRITTEN));
}

// Even one that writes nothing.
TEST_F(WriteArray, EveryWriteIsRecorded) {
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  for (tvbSymbol* slices : {static_cast<tvbSymbol*>(nullptr), set("none", {})}) {
    ASSERT_EQ(1, c__tvbstartwriterecording(db));
    ASSERT_EQ("", slices ? write(p, {i}, {3}, {1, 2, 3}, {slices}) : write(p, {i}, {3}, {1, 2, 3}));
    EXPECT_EQ(1, intInfo(p, TRV_SYMINFO_WRITTEN));
    ASSERT_EQ(1, c__tvbstopwriterecording(db));
  }
}

// As many new records as old ones: a handle must not mistake the new store for the one it knew. A handle
// whose key is gone stands on nothing and says so.
TEST_F(WriteArray, RecordHandlesOfTheSymbolFollowTheirKeysAcrossAWrite) {
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  for (auto [label, level] : {std::pair{"a", 1}, {"b", 2}, {"c", 3}}) put(p, {label}, level);
  tvbRecordHandle* onB = find(p, {"b"});
  tvbRecordHandle* onC = find(p, {"c"});
  ASSERT_EQ("", write(p, {i}, {3}, {10, 20, 30}));
  EXPECT_EQ(20, level(onB));
  ASSERT_EQ("", write(p, {i}, {3}, {10, 21, 30}, {set("ab", {"a", "b"})}));
  EXPECT_EQ(21, level(onB));
  EXPECT_EQ("The record handle of symbol p stands on no record (its record was removed)",
            errorOf(c__tvbrecordmovenext(db, onC)));
  ASSERT_EQ(1, c__tvbrecordmoveprev(db, onB));
  EXPECT_EQ("a", keyOf(onB, 1));
  c__tvbfreesymboliterator(db, onB);
  c__tvbfreesymboliterator(db, onC);
}

// The generic out-of-memory reaction is checked for every operation elsewhere; here, that a write cut short
// leaves the old records and no write recorded. Enough cells for several store nodes.
TEST_F(WriteArray, AWriteThatRunsOutOfMemoryLeavesTheOldRecords) {
  tvbSymbol* r = addSymbol("r", 1, TRV_DT_SET);
  for (int k = 0; k < 40; ++k) addAndFree(r, {("r" + std::to_string(k)).c_str()});
  tvbSymbol* p = over("p", TRV_DT_PAR, {r, j});
  put(p, {"r1", "y"}, 7);
  std::vector<double> cube(120);
  for (size_t k = 0; k < cube.size(); ++k) cube[k] = k % 2 ? double(k) : 0.0;
  tvbSymbol* domains[2] = {r, j};
  int extents[2] = {40, 3};
  for (bool sliced : {true, false}) {
    c__tvbstopwriterecording(db);
    ASSERT_EQ(1, c__tvbstartwriterecording(db));
    const Contents before = contents(p);
    const long failures = tvbtest::failEachAllocation([&](long n) {
      tvbtest::failAllocationAfter(n);
      const int rc = sliced ? c__tvbdensearrayslicestosymbol(db, p, domains, domains, cube.data(), extents)
                            : c__tvbdensearraytosymbol(db, p, domains, cube.data(), extents);
      tvbtest::stopFailing();
      if (!rc) {
        EXPECT_EQ(before, contents(p)) << n;
      }
      EXPECT_EQ(rc, intInfo(p, TRV_SYMINFO_WRITTEN)) << n;
      return rc;
    });
    EXPECT_GT(failures, 3);
    EXPECT_EQ(sliced ? 60 : 120, recordCount(p));
  }
}

}  // namespace
