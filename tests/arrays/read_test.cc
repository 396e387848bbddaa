// Reading symbols into caller cubes: store order without domains, row-major placement over domain sets,
// dropped records, sets as integer cubes, value fields and special values.
#include <cmath>
#include <limits>
#include <vector>

#include "arrays/array_fixture.h"

namespace {

using ReadArray = ArrayTest;

constexpr double kJunk = -99.5;

TEST_F(ReadArray, DenseReadFillsCellsInStoreOrderAndNeedsEveryRecord) {
  labels({"a", "b", "x", "y", "z"});
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  // Added out of order: the cube follows the store (label numbers), not the order of addition.
  put(p, {"b", "z"}, 6);
  put(p, {"a", "x"}, 1);
  put(p, {"b", "x"}, 4);
  put(p, {"a", "z"}, 3);
  put(p, {"a", "y"}, 2);
  put(p, {"b", "y"}, 5);
  int extents[2] = {2, 3};
  std::vector<double> cube(6, kJunk);
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, cube.data(), extents, p, 0)) << lastError();
  EXPECT_EQ((std::vector<double>{1, 2, 3, 4, 5, 6}), cube);

  tvbRecordHandle* rec = find(p, {"a", "y"});
  c__tvbdeleterecord(db, rec);
  c__tvbfreesymboliterator(db, rec);
  EXPECT_EQ(0, c__tvbdensesymboltodensearray(db, cube.data(), extents, p, 0));
  EXPECT_EQ("Size of cube 6 and number of record 5 in p do not match", lastError());
  int zero[2] = {2, 0};
  EXPECT_EQ(0, c__tvbdensesymboltodensearray(db, cube.data(), zero, p, 0));
  EXPECT_EQ("Zero sized cube", lastError());

  // A set is numbered 1..n in store order, into an integer cube.
  std::vector<int> numbers(3, -1);
  int three[1] = {3};
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, numbers.data(), three, j, 0)) << lastError();
  EXPECT_EQ((std::vector<int>{1, 2, 3}), numbers);
}

TEST_F(ReadArray, VariablesGiveTheChosenFieldAndParametersIgnoreIt) {
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* v = over("v", TRV_DT_VAR, {i}, TRV_VAR_POSITIVE);
  for (const char* label : {"a", "b"}) {
    tvbRecordHandle* rec = add(v, {label});
    c__tvbsetlevel(db, rec, label[0] == 'a' ? 1 : 2);
    c__tvbsetmarginal(db, rec, label[0] == 'a' ? 10 : 20);
    c__tvbfreesymboliterator(db, rec);
  }
  int extents[1] = {2};
  std::vector<double> cube(2, kJunk);
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, cube.data(), extents, v, TRV_FIELD_MARGINAL));
  EXPECT_EQ((std::vector<double>{10, 20}), cube);
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, cube.data(), extents, v, TRV_FIELD_UPPER));
  EXPECT_EQ((std::vector<double>{3e300, 3e300}), cube);  // +infinity in the caller's representation
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, cube.data(), extents, v, TRV_FIELD_SCALE));
  EXPECT_EQ((std::vector<double>{1, 1}), cube);
  int dropped = 7;
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, cube.data(), extents, v, &i, TRV_FIELD_LEVEL, &dropped));
  EXPECT_EQ((std::vector<double>{1, 2}), cube);

  for (int field : {-1, 5}) {
    EXPECT_EQ(0, c__tvbdensesymboltodensearray(db, cube.data(), extents, v, field));
    EXPECT_EQ("Field " + std::to_string(field) + " is out of bounds [0,4]", lastError());
    EXPECT_EQ(0, c__tvbsparsesymboltodensearray(db, cube.data(), extents, v, &i, field, &dropped));
    EXPECT_EQ("Field " + std::to_string(field) + " is out of bounds [0,4]", lastError());
    EXPECT_EQ(-1, dropped);
  }
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  put(p, {"a"}, 7);
  put(p, {"b"}, 8);
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, cube.data(), extents, p, 9)) << lastError();
  EXPECT_EQ((std::vector<double>{7, 8}), cube);
}

TEST_F(ReadArray, SparseReadPlacesRecordsRowMajorOverTheDomainsAndCountsDropped) {
  labels({"a", "b", "x", "y", "z"});
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"b", "y"}, 42);
  int extents[2] = {2, 3};
  tvbSymbol* domains[2] = {i, j};
  std::vector<double> cube(6, kJunk);
  int dropped = 7;
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, cube.data(), extents, p, domains, 0, &dropped)) << lastError();
  EXPECT_EQ((std::vector<double>{0, 0, 0, 0, 42, 0}), cube);
  EXPECT_EQ(0, dropped);

  // Labels outside a domain drop their record, at any position; the others still land in place.
  put(p, {"c", "x"}, 1);
  put(p, {"a", "w"}, 2);
  put(p, {"a", "z"}, 3);
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, cube.data(), extents, p, domains, 0, &dropped));
  EXPECT_EQ((std::vector<double>{0, 0, 3, 0, 42, 0}), cube);
  EXPECT_EQ(2, dropped);

  // Domain positions follow the domain's store order, whatever order its records were added in.
  tvbSymbol* k = set("k", {"z", "x", "y"});
  tvbSymbol* byK[2] = {i, k};
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, cube.data(), extents, p, byK, 0, &dropped));
  EXPECT_EQ((std::vector<double>{0, 0, 3, 0, 42, 0}), cube);

  // A subset domain: (a,z) is the only record over {a} x {z}.
  tvbSymbol* onlyA = set("onlyA", {"a"});
  tvbSymbol* onlyZ = set("onlyZ", {"z"});
  tvbSymbol* small[2] = {onlyA, onlyZ};
  int one[2] = {1, 1};
  double cell = kJunk;
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, &cell, one, p, small, 0, &dropped));
  EXPECT_EQ(3, cell);
  EXPECT_EQ(3, dropped);
}

TEST_F(ReadArray, SetsReadIntoIntegerCubesNumberTheirRecords) {
  labels({"a", "b", "x", "y", "z"});
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* s = over("s", TRV_DT_SET, {i, j});
  for (auto key : std::vector<std::vector<const char*>>{{"b", "x"}, {"a", "z"}, {"a", "y"}}) addAndFree(s, key);
  int extents[2] = {2, 3};
  tvbSymbol* domains[2] = {i, j};
  std::vector<int> cube(6, -1);
  int dropped = 7;
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, cube.data(), extents, s, domains, 0, &dropped)) << lastError();
  // A running count in store order: (a,y) first, then (a,z), then (b,x).
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 0, 0}), cube);
  EXPECT_EQ(0, dropped);

  // Dropped records do not advance the count.
  addAndFree(s, {"a", "w"});
  addAndFree(s, {"b", "z"});
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, cube.data(), extents, s, domains, 0, &dropped));
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 0, 4}), cube);
  EXPECT_EQ(1, dropped);
}

TEST_F(ReadArray, OneDomainServesEveryDimensionThatNamesIt) {
  labels({"a", "b", "c"});
  tvbSymbol* i = set("i", {"a", "b", "c"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, i});
  put(p, {"a", "c"}, 1);
  put(p, {"c", "a"}, 2);
  put(p, {"b", "b"}, 3);
  int extents[2] = {3, 3};
  tvbSymbol* domains[2] = {i, i};
  std::vector<double> cube(9, kJunk);
  int dropped = 7;
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, cube.data(), extents, p, domains, 0, &dropped)) << lastError();
  EXPECT_EQ((std::vector<double>{0, 0, 1, 0, 3, 0, 2, 0, 0}), cube);
  EXPECT_EQ(0, dropped);

  // Also a set of dimension three over one domain, squeezed to the corners.
  tvbSymbol* t = over("t", TRV_DT_SET, {i, i, i});
  addAndFree(t, {"a", "a", "a"});
  addAndFree(t, {"c", "b", "c"});
  addAndFree(t, {"c", "c", "c"});
  tvbSymbol* ends = set("ends", {"a", "c"});
  tvbSymbol* squeeze[3] = {ends, ends, ends};
  tvbSymbol* full[3] = {i, i, i};
  int corners[3] = {2, 2, 2};
  std::vector<int> ints(8, -1);
  ASSERT_EQ(1, c__tvbsparsesymboltosqzdarray(db, ints.data(), corners, t, squeeze, full, 0, &dropped));
  // Cells hold 1 + the record's index in the full 3 x 3 x 3 cube: (a,a,a) 1, (c,c,c) 27.
  EXPECT_EQ((std::vector<int>{1, 0, 0, 0, 0, 0, 0, 27}), ints);
  EXPECT_EQ(1, dropped);  // (c,b,c): b is not in the squeeze set
}

TEST_F(ReadArray, SqueezedReadKeepsOnlyTheSqueezeSetsPositions) {
  labels({"x", "y", "z"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* s = set("s", {"x", "z"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {j});
  put(p, {"x"}, 1);
  put(p, {"y"}, 2);
  put(p, {"z"}, 3);
  int extents[1] = {2};
  std::vector<double> cube(2, kJunk);
  int dropped = 7;
  ASSERT_EQ(1, c__tvbsparsesymboltosqzdarray(db, cube.data(), extents, p, &s, &j, 0, &dropped)) << lastError();
  EXPECT_EQ((std::vector<double>{1, 3}), cube);
  EXPECT_EQ(1, dropped);

  std::vector<int> ints(2, -1);
  ASSERT_EQ(1, c__tvbsparsesymboltosqzdarray(db, ints.data(), extents, j, &s, &j, 0, &dropped));
  EXPECT_EQ((std::vector<int>{1, 3}), ints);  // 1 + each record's position in the full domain
  EXPECT_EQ(1, dropped);

  // Two dimensions: the cube is s x s, records placed by their squeeze numbers, row-major.
  tvbSymbol* q = over("q", TRV_DT_PAR, {j, j});
  put(q, {"z", "x"}, 31);
  put(q, {"x", "z"}, 13);
  put(q, {"y", "z"}, 23);
  put(q, {"z", "z"}, 33);
  int square[2] = {2, 2};
  tvbSymbol* squeeze[2] = {s, s};
  tvbSymbol* domains[2] = {j, j};
  std::vector<double> four(4, kJunk);
  ASSERT_EQ(1, c__tvbsparsesymboltosqzdarray(db, four.data(), square, q, squeeze, domains, 0, &dropped));
  EXPECT_EQ((std::vector<double>{0, 13, 31, 33}), four);
  EXPECT_EQ(1, dropped);

  // A squeeze label outside the domain takes a cube position that no record reaches.
  tvbSymbol* wide = set("wide", {"x", "q", "z"});
  int three[1] = {3};
  std::vector<double> cells(3, kJunk);
  ASSERT_EQ(1, c__tvbsparsesymboltosqzdarray(db, cells.data(), three, p, &wide, &j, 0, &dropped));
  EXPECT_EQ((std::vector<double>{1, 3, 0}), cells);  // q was registered after z: wide is x, z, q
  EXPECT_EQ(1, dropped);
}

TEST_F(ReadArray, StoredSpecialValuesReachTheCubeInTheCallersRepresentation) {
  tvbSymbol* i = set("i", {"a", "b", "c", "d", "e", "f"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  // The caller's defaults 1e300 .. 5e300 enter the store as undefined, NA, +inf, -inf and epsilon.
  const char* keys[6] = {"a", "b", "c", "d", "e", "f"};
  for (int k = 0; k < 6; ++k) {
    int uel;
    c__tvbmergeuel(db, keys[k], &uel);
    double values[5] = {k < 5 ? 1e300 * (k + 1) : 0.5};
    ASSERT_EQ(1, c__tvbaddrecordraw(db, p, &uel, values, ""));
  }
  int extents[1] = {6};
  std::vector<double> cube(6, kJunk);
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, cube.data(), extents, p, 0));
  EXPECT_EQ((std::vector<double>{1e300, 2e300, 3e300, 4e300, 5e300, 0.5}), cube);
  int dropped;
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, cube.data(), extents, p, &i, 0, &dropped));
  EXPECT_EQ((std::vector<double>{1e300, 2e300, 3e300, 4e300, 5e300, 0.5}), cube);

  // With the internal values as the caller's, nothing is translated: the cube shows what is stored.
  double internal[5];
  c__tvbgetspecialvalues(db, internal);
  c__tvbsetspecialvalues(db, internal);
  ASSERT_EQ(1, c__tvbdensesymboltodensearray(db, cube.data(), extents, p, 0));
  EXPECT_EQ(1e300, cube[0]);
  EXPECT_TRUE(std::isnan(cube[1]));
  EXPECT_EQ(std::numeric_limits<double>::infinity(), cube[2]);
  EXPECT_EQ(-std::numeric_limits<double>::infinity(), cube[3]);
  EXPECT_EQ(std::numeric_limits<double>::denorm_min(), cube[4]);
}

}  // namespace

namespace {

// The underscore names of the array entries are the same operations as the c__ names.
TEST_F(ReadArray, TheUnderscoreEntriesTransferToo) {
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  int extents[1] = {2};
  double cube[2] = {4, 5};
  ASSERT_EQ(1, tvbdensearraytosymbol_(db, p, &i, cube, extents));
  double back[2] = {};
  ASSERT_EQ(1, tvbdensesymboltodensearray_(db, back, extents, p, 0));
  EXPECT_EQ(5, back[1]);
  int dropped = -1;
  ASSERT_EQ(1, tvbsparsesymboltodensearray_(db, back, extents, p, &i, 0, &dropped));
  ASSERT_EQ(1, tvbsparsesymboltosqzdarray_(db, back, extents, p, &i, &i, 0, &dropped));
  ASSERT_EQ(1, tvbdensearrayslicestosymbol_(db, p, &i, &i, cube, extents));
  EXPECT_EQ(0, dropped);
}

}  // namespace
