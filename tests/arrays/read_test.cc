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

TEST_F(ReadArray, DenseReadFillsCellsInStoreOrderAndNeedsEveryRecord) {
  // Added out of order: the cube follows the store (label numbers), not the order of addition.
  for (auto [row, col, level] :
       {std::tuple{"b", "z", 6}, {"a", "x", 1}, {"b", "x", 4}, {"a", "z", 3}, {"a", "y", 2}, {"b", "y", 5}})
    put(p, {row, col}, level);
  EXPECT_EQ("1 2 3 4 5 6", read(p, {2, 3}));
  tvbRecordHandle* rec = find(p, {"a", "y"});
  c__tvbdeleterecord(db, rec);
  c__tvbfreesymboliterator(db, rec);
  EXPECT_EQ("Size of cube 6 and number of record 5 in p do not match", read(p, {2, 3}));
  EXPECT_EQ("1 2 3", read<int>(j, {3}));  // a set is numbered 1..n in store order, into an integer cube
}

TEST_F(ReadArray, VariablesGiveTheChosenFieldAndParametersIgnoreIt) {
  tvbSymbol* v = over("v", TRV_DT_VAR, {i}, TRV_VAR_POSITIVE);
  for (const char* label : {"a", "b"}) {
    tvbRecordHandle* rec = add(v, {label});
    c__tvbsetlevel(db, rec, label[0] == 'a' ? 1 : 2);
    c__tvbsetmarginal(db, rec, label[0] == 'a' ? 10 : 20);
    c__tvbfreesymboliterator(db, rec);
  }
  EXPECT_EQ("10 20", read(v, {2}, {}, {}, TRV_FIELD_MARGINAL));
  EXPECT_EQ("3e+300 3e+300", read(v, {2}, {}, {}, TRV_FIELD_UPPER));  // +infinity as the caller has it
  EXPECT_EQ("1 1", read(v, {2}, {}, {}, TRV_FIELD_SCALE));
  EXPECT_EQ("1 2 dropped 0", read(v, {2}, {i}, {}, TRV_FIELD_LEVEL));
  for (int field : {-1, 5}) {
    const std::string refused = "Field " + std::to_string(field) + " is out of bounds [0,4]";
    EXPECT_EQ(refused, read(v, {2}, {}, {}, field));
    EXPECT_EQ(refused + " dropped -1", read(v, {2}, {i}, {}, field));
  }
  tvbSymbol* q = over("q", TRV_DT_PAR, {i});
  put(q, {"a"}, 7);
  put(q, {"b"}, 8);
  EXPECT_EQ("7 8", read(q, {2}, {}, {}, 9));
}

TEST_F(ReadArray, SparseReadPlacesRecordsRowMajorOverTheDomainsAndCountsDropped) {
  put(p, {"b", "y"}, 42);
  EXPECT_EQ("0 0 0 0 42 0 dropped 0", read(p, {2, 3}, {i, j}));
  // Labels outside a domain drop their record, at any position; the others still land in place.
  put(p, {"c", "x"}, 1);
  put(p, {"a", "w"}, 2);
  put(p, {"a", "z"}, 3);
  EXPECT_EQ("0 0 3 0 42 0 dropped 2", read(p, {2, 3}, {i, j}));
  // Domain positions follow the domain's store order, whatever order its records were added in.
  EXPECT_EQ("0 0 3 0 42 0 dropped 2", read(p, {2, 3}, {i, set("k", {"z", "x", "y"})}));
  // A subset domain: (a,z) is the only record over {a} x {z}.
  EXPECT_EQ("3 dropped 3", read(p, {1, 1}, {set("onlyA", {"a"}), set("onlyZ", {"z"})}));
  // A set: a running count in store order, (a,y) first, then (a,z), then (b,x); dropped records do not count.
  tvbSymbol* s = over("s", TRV_DT_SET, {i, j});
  for (auto key : std::vector<std::vector<const char*>>{{"b", "x"}, {"a", "z"}, {"a", "y"}}) addAndFree(s, key);
  EXPECT_EQ("0 1 2 3 0 0 dropped 0", read<int>(s, {2, 3}, {i, j}));
  addAndFree(s, {"a", "w"});
  addAndFree(s, {"b", "z"});
  EXPECT_EQ("0 1 2 3 0 4 dropped 1", read<int>(s, {2, 3}, {i, j}));
}

TEST_F(ReadArray, SqueezedReadKeepsOnlyTheSqueezeSetsPositionsAndOneDomainServesEveryDimensionNamingIt) {
  tvbSymbol* s = set("s", {"x", "z"});
  tvbSymbol* q = over("q", TRV_DT_PAR, {j});
  for (auto [label, level] : {std::pair{"x", 1}, {"y", 2}, {"z", 3}}) put(q, {label}, level);
  EXPECT_EQ("1 3 dropped 1", read(q, {2}, {j}, {s}));
  EXPECT_EQ("1 3 dropped 1", read<int>(j, {2}, {j}, {s}));  // 1 + each record's position in the full domain
  // Two dimensions: the cube is s x s, records placed by their squeeze numbers, row-major.
  tvbSymbol* r = over("r", TRV_DT_PAR, {j, j});
  for (auto [row, col, level] : {std::tuple{"z", "x", 31}, {"x", "z", 13}, {"y", "z", 23}, {"z", "z", 33}})
    put(r, {row, col}, level);
  EXPECT_EQ("0 13 31 33 dropped 1", read(r, {2, 2}, {j, j}, {s, s}));
  EXPECT_EQ("0 0 13 0 0 23 31 0 33 dropped 0", read(r, {3, 3}, {j, j}));  // one domain serves both dimensions
  // A set of dimension three over one domain, squeezed to the corners: cells hold 1 + the record's index in
  // the full 3 x 3 x 3 cube, (x,x,x) 1 and (z,z,z) 27; (z,y,z) is dropped, y not being a corner.
  tvbSymbol* t = over("t", TRV_DT_SET, {j, j, j});
  for (auto key : std::vector<std::vector<const char*>>{{"x", "x", "x"}, {"z", "y", "z"}, {"z", "z", "z"}})
    addAndFree(t, key);
  EXPECT_EQ("1 0 0 0 0 0 0 27 dropped 1", read<int>(t, {2, 2, 2}, {j, j, j}, {s, s, s}));
  // A squeeze label outside the domain takes a cube position that no record reaches; q was registered after
  // z, so wide is x, z, q.
  EXPECT_EQ("1 3 0 dropped 1", read(q, {3}, {j}, {set("wide", {"x", "q", "z"})}));
}

TEST_F(ReadArray, StoredSpecialValuesReachTheCubeInTheCallersRepresentation) {
  tvbSymbol* k = set("k", {"a", "b", "x", "y", "z", "f"});
  tvbSymbol* q = over("q", TRV_DT_PAR, {k});
  // The caller's defaults 1e300 .. 5e300 enter the store as undefined, NA, +inf, -inf and epsilon.
  const char* keys[6] = {"a", "b", "x", "y", "z", "f"};
  for (int n = 0; n < 6; ++n) {
    int uel;
    c__tvbmergeuel(db, keys[n], &uel);
    double values[5] = {n < 5 ? 1e300 * (n + 1) : 0.5};
    ASSERT_EQ(1, c__tvbaddrecordraw(db, q, &uel, values, ""));
  }
  EXPECT_EQ("1e+300 2e+300 3e+300 4e+300 5e+300 0.5", read(q, {6}));
  EXPECT_EQ("1e+300 2e+300 3e+300 4e+300 5e+300 0.5 dropped 0", read(q, {6}, {k}));
  // With the internal values as the caller's, nothing is translated: the cube shows what is stored.
  double internal[5];
  c__tvbgetspecialvalues(db, internal);
  c__tvbsetspecialvalues(db, internal);
  EXPECT_EQ("1e+300 nan inf -inf 5e-324 0.5", read(q, {6}));
}

}  // namespace
