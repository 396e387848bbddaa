// Reading symbols into caller cubes: store order without domains, row-major placement over domain sets,
// dropped records, sets as integer cubes, squeezed cubes, value fields and special values.
#include <tuple>
#include <vector>

#include "arrays/array_fixture.h"

namespace {

class ReadArray : public ArrayTest {
 protected:
  // Labels a, b, x, y, z in this order; i = {a, b}, j = {x, y, z}; p(i, j) without records.
  void SetUp() override {
    ArrayTest::SetUp();
    labels({"a", "b", "x", "y", "z"});
    i = set("i", {"a", "b"});
    j = set("j", {"x", "y", "z"});
    p = over("p", TRV_DT_PAR, {i, j});
  }
  tvbSymbol *i = nullptr, *j = nullptr, *p = nullptr;
};

// Added out of order: the cube follows the store (label numbers), not the order of addition.
TEST_F(ReadArray, ADenseReadFillsTheCellsInStoreOrder) {
  for (auto [row, col, level] :
       {std::tuple{"b", "z", 6}, {"a", "x", 1}, {"b", "x", 4}, {"a", "z", 3}, {"a", "y", 2}, {"b", "y", 5}})
    put(p, {row, col}, level);
  EXPECT_EQ("1 2 3 4 5 6", read(p, {2, 3}));
  EXPECT_EQ("1 2 3", read<int>(j, {3}));  // a set is numbered 1..n in store order, into an integer cube
}

TEST_F(ReadArray, ADenseReadNeedsARecordForEveryCell) {
  put(p, {"a", "x"}, 1);
  EXPECT_EQ("Size of cube 6 and number of record 1 in p do not match", read(p, {2, 3}));
}

TEST_F(ReadArray, TheFieldChoosesTheValueOfVariablesOnly) {
  tvbSymbol* v = over("v", TRV_DT_VAR, {i}, TRV_VAR_POSITIVE);
  for (const char* label : {"a", "b"}) {
    tvbRecordHandle* rec = add(v, {label});
    c__tvbsetmarginal(db, rec, label[0] == 'a' ? 10 : 20);
    c__tvbfreesymboliterator(db, rec);
  }
  EXPECT_EQ("10 20", read(v, {2}, {}, {}, TRV_FIELD_MARGINAL));
  EXPECT_EQ("3e+300 3e+300 dropped 0", read(v, {2}, {i}, {}, TRV_FIELD_UPPER));  // +infinity as the caller has it
  for (int field : {-1, 5}) {
    const std::string refused = "Field " + std::to_string(field) + " is out of bounds [0,4]";
    EXPECT_EQ(refused, read(v, {2}, {}, {}, field));
    EXPECT_EQ(refused + " dropped -1", read(v, {2}, {i}, {}, field));
  }
  put(p, {"a", "y"}, 7);
  EXPECT_EQ("0 7 0 0 0 0 dropped 0", read(p, {2, 3}, {i, j}, {}, 9));
}

// Labels outside a domain drop their record, at any position; the others still land in place. A set's cells
// count its records in store order, dropped ones not counted.
TEST_F(ReadArray, ASparseReadPlacesRecordsRowMajorOverTheDomainsAndCountsTheDropped) {
  for (auto [row, col, level] : {std::tuple{"b", "y", 42}, {"c", "x", 1}, {"a", "w", 2}, {"a", "z", 3}})
    put(p, {row, col}, level);
  EXPECT_EQ("0 0 3 0 42 0 dropped 2", read(p, {2, 3}, {i, j}));
  tvbSymbol* s = over("s", TRV_DT_SET, {i, j});
  for (auto key : std::vector<std::vector<const char*>>{{"b", "z"}, {"a", "w"}, {"b", "x"}, {"a", "z"}, {"a", "y"}})
    addAndFree(s, key);
  EXPECT_EQ("0 1 2 3 0 4 dropped 1", read<int>(s, {2, 3}, {i, j}));
}

// A squeezed cube has the squeeze sets' positions only; a set's cells hold 1 + the record's index in the full
// cube over the domains. A squeeze label outside the domain takes a cube position that no record reaches.
TEST_F(ReadArray, ASqueezedReadKeepsOnlyThePositionsOfTheSqueezeSets) {
  tvbSymbol* s = set("s", {"x", "z"});
  tvbSymbol* r = over("r", TRV_DT_PAR, {j, j});
  for (auto [row, col, level] : {std::tuple{"z", "x", 31}, {"x", "z", 13}, {"y", "z", 23}, {"z", "z", 33}})
    put(r, {row, col}, level);
  EXPECT_EQ("0 13 31 33 dropped 1", read(r, {2, 2}, {j, j}, {s, s}));
  tvbSymbol* t = over("t", TRV_DT_SET, {j, j});
  for (auto key : std::vector<std::vector<const char*>>{{"x", "x"}, {"z", "y"}, {"z", "z"}}) addAndFree(t, key);
  EXPECT_EQ("1 0 0 9 dropped 1", read<int>(t, {2, 2}, {j, j}, {s, s}));
  labels({"q"});
  EXPECT_EQ("0 13 0 31 33 0 dropped 1", read(r, {2, 3}, {j, j}, {s, set("wide", {"x", "z", "q"})}));
}

// The caller's defaults 1e300 .. 5e300 enter the store as undefined, NA, +inf, -inf and epsilon.
TEST_F(ReadArray, StoredSpecialValuesReachTheCubeInTheCallersRepresentation) {
  tvbSymbol* k = set("k", {"a", "b", "x", "y", "z"});
  tvbSymbol* q = over("q", TRV_DT_PAR, {k});
  for (int n = 0; n < 5; ++n) {
    int uel = n + 1;
    double values[5] = {1e300 * (n + 1)};
    ASSERT_EQ(1, c__tvbaddrecordraw(db, q, &uel, values, ""));
  }
  EXPECT_EQ("1e+300 2e+300 3e+300 4e+300 5e+300", read(q, {5}));
  EXPECT_EQ("1e+300 2e+300 3e+300 4e+300 5e+300 dropped 0", read(q, {5}, {k}));
  // With the internal values as the caller's, nothing is translated: the cube shows what is stored.
  double internal[5];
  c__tvbgetspecialvalues(db, internal);
  c__tvbsetspecialvalues(db, internal);
  EXPECT_EQ("1e+300 nan inf -inf 5e-324", read(q, {5}));
}

}  // namespace
