// The argument checks of the array transfers, their order and their messages, and what a refused call leaves.
#include <functional>
#include <string>
#include <vector>

#include "arrays/array_fixture.h"

namespace {

using ArrayChecks = ArrayTest;

// The four operations with domain sets, each run with the same domains (used as slices and squeeze sets too).
struct DomainOperation {
  const char* name;
  bool reads;
  std::function<int(tvbHandle*, tvbSymbol*, tvbSymbol**, int*, int*)> run;  // db, sym, domains, extents, dropped
};

std::vector<DomainOperation> domainOperations() {
  static std::vector<double> cube(64);
  return {
      {"sparse read", true,
       [](tvbHandle* db, tvbSymbol* sym, tvbSymbol** domains, int* extents, int* dropped) {
         return c__tvbsparsesymboltodensearray(db, cube.data(), extents, sym, domains, 0, dropped);
       }},
      {"squeezed read", true,
       [](tvbHandle* db, tvbSymbol* sym, tvbSymbol** domains, int* extents, int* dropped) {
         return c__tvbsparsesymboltosqzdarray(db, cube.data(), extents, sym, domains, domains, 0, dropped);
       }},
      {"write", false,
       [](tvbHandle* db, tvbSymbol* sym, tvbSymbol** domains, int* extents, int*) {
         return c__tvbdensearraytosymbol(db, sym, domains, cube.data(), extents);
       }},
      {"slice write", false,
       [](tvbHandle* db, tvbSymbol* sym, tvbSymbol** domains, int* extents, int*) {
         return c__tvbdensearrayslicestosymbol(db, sym, domains, domains, cube.data(), extents);
       }},
  };
}

TEST_F(ArrayChecks, EveryTransferRefusesAMissingSymbolTheUniverseAndScalars) {
  tvbSymbol* universe = nullptr;
  c__tvbfindsymbol(db, "*", &universe);
  tvbSymbol* scalar = addSymbol("scalar", 0, TRV_DT_PAR);
  tvbSymbol* i = set("i", {"a"});
  int extents[1] = {1};
  double cube[1];
  int dropped;
  const std::pair<tvbSymbol*, const char*> cases[] = {
      {nullptr, "Empty symbol pointer"}, {universe, "Can't map universe"}, {scalar, "Can't map scalars"}};
  for (auto [sym, message] : cases) {
    EXPECT_EQ(0, c__tvbdensesymboltodensearray(db, cube, extents, sym, 0));
    EXPECT_EQ(message, lastError());
    for (const DomainOperation& op : domainOperations()) {
      dropped = 7;
      EXPECT_EQ(0, op.run(db, sym, &i, extents, &dropped)) << op.name;
      EXPECT_EQ(message, lastError()) << op.name;
      if (op.reads) {
        EXPECT_EQ(-1, dropped) << op.name;
      }
    }
  }
}

TEST_F(ArrayChecks, DomainSetsAreCheckedInOrderByEveryOperationWithDomains) {
  labels({"a", "b", "x", "y", "z"});
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* ij = over("ij", TRV_DT_SET, {i, j});
  tvbSymbol* universe = nullptr;
  c__tvbfindsymbol(db, "*", &universe);
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"a", "x"}, 1);

  tvbHandle* other = nullptr;
  char msg[TRV_SSSIZE];
  ASSERT_EQ(1, tvbcreate(&other, msg, sizeof msg));
  tvbSymbol* foreign = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(other, "f", 2, TRV_DT_SET, 0, "", &foreign));
  tvbSymbol* foreignUniverse = nullptr;
  c__tvbfindsymbol(other, "*", &foreignUniverse);

  struct Case {
    tvbSymbol* second;
    int extent;
    std::string message;
  };
  const Case cases[] = {
      {universe, 3, "Cannot use universe as domain symbol p"},
      {foreignUniverse, 3, "Cannot use universe as domain symbol p"},       // the Universe check comes first
      {foreign, 3, "Symbol p and domain symbol f in different databases"},  // before its dimension
      {ij, 3, "Domain symbol ij has dimension 2, needs to be 1"},
      {j, 4, "Cube dimension 2 is 4 while card(j) is 3."},
      {nullptr, 3, "No domain symbol given for dimension 2 of symbol p"},
  };
  for (const DomainOperation& op : domainOperations()) {
    for (const Case& c : cases) {
      tvbSymbol* domains[2] = {i, c.second};
      int extents[2] = {2, c.extent};
      int dropped = 7;
      EXPECT_EQ(0, op.run(db, p, domains, extents, &dropped)) << op.name << ": " << c.message;
      EXPECT_EQ(c.message, lastError()) << op.name;
    }
    // The first dimension is checked before the second.
    tvbSymbol* both[2] = {ij, universe};
    int extents[2] = {2, 3};
    int dropped;
    EXPECT_EQ(0, op.run(db, p, both, extents, &dropped));
    EXPECT_EQ("Domain symbol ij has dimension 2, needs to be 1", lastError()) << op.name;
  }
  EXPECT_EQ((std::map<std::string, double>{{"a.x", 1}}), contents(p));  // no write got through
  tvbfree(&other);
}

TEST_F(ArrayChecks, SqueezeAndSliceSetsAreNotTiedToTheExtentsButTheirDomainsAre) {
  labels({"x", "y", "z"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* s = set("s", {"x", "z"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {j});
  put(p, {"x"}, 1);
  int two[1] = {2}, three[1] = {3};
  std::vector<double> cube(3, 0);
  int dropped;
  // Squeezed: the extent follows the squeeze set; the domain's own size is free.
  EXPECT_EQ(0, c__tvbsparsesymboltosqzdarray(db, cube.data(), three, p, &s, &j, 0, &dropped));
  EXPECT_EQ("Cube dimension 1 is 3 while card(s) is 2.", lastError());
  EXPECT_EQ(1, c__tvbsparsesymboltosqzdarray(db, cube.data(), two, p, &s, &j, 0, &dropped)) << lastError();
  // The domain set is checked before the squeeze set.
  tvbSymbol* universe = nullptr;
  c__tvbfindsymbol(db, "*", &universe);
  tvbSymbol* js = over("js", TRV_DT_SET, {j, s});
  EXPECT_EQ(0, c__tvbsparsesymboltosqzdarray(db, cube.data(), two, p, &universe, &js, 0, &dropped));
  EXPECT_EQ("Domain symbol js has dimension 2, needs to be 1", lastError());

  // Slices: the extent follows the domain; the slice set may be any size.
  EXPECT_EQ(0, c__tvbdensearrayslicestosymbol(db, p, &s, &j, cube.data(), two));
  EXPECT_EQ("Cube dimension 1 is 2 while card(j) is 3.", lastError());
  EXPECT_EQ(1, c__tvbdensearrayslicestosymbol(db, p, &s, &j, cube.data(), three)) << lastError();
  EXPECT_EQ(0, c__tvbdensearrayslicestosymbol(db, p, &universe, &j, cube.data(), three));
  EXPECT_EQ("Cannot use universe as domain symbol p", lastError());
}

TEST_F(ArrayChecks, EmptyAndNegativeExtentsAreRefused) {
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* none = set("none", {});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, i});
  put(p, {"a", "b"}, 1);
  std::vector<double> cube(4, -5);
  int dropped = 7;
  int zero[2] = {2, 0}, negative[2] = {-2, 2}, zeroAndNegative[2] = {0, -1};
  tvbSymbol* domains[2] = {i, i};
  EXPECT_EQ(0, c__tvbsparsesymboltodensearray(db, cube.data(), zero, p, domains, 0, &dropped));
  EXPECT_EQ("Zero sized cube", lastError());
  EXPECT_EQ(0, c__tvbsparsesymboltodensearray(db, cube.data(), zeroAndNegative, p, domains, 0, &dropped));
  EXPECT_EQ("Zero sized cube", lastError());
  EXPECT_EQ(0, c__tvbsparsesymboltodensearray(db, cube.data(), negative, p, domains, 0, &dropped));
  EXPECT_EQ("Cube dimension 1 is -2, needs to be at least 0", lastError());
  EXPECT_EQ(0, c__tvbsparsesymboltosqzdarray(db, cube.data(), negative, p, domains, domains, 0, &dropped));
  EXPECT_EQ("Cube dimension 1 is -2, needs to be at least 0", lastError());
  EXPECT_EQ(0, c__tvbdensesymboltodensearray(db, cube.data(), negative, p, 0));
  EXPECT_EQ("Cube dimension 1 is -2, needs to be at least 0", lastError());
  EXPECT_EQ((std::vector<double>(4, -5)), cube);  // refused before the cube was cleared

  // Writers: a domain without records is a zero-sized dimension, after the domain's own checks.
  tvbSymbol* over2[2] = {i, none};
  int extents[2] = {2, 0};
  EXPECT_EQ(0, c__tvbdensearraytosymbol(db, p, over2, cube.data(), extents));
  EXPECT_EQ("Zero sized dimension 2", lastError());
  EXPECT_EQ(0, c__tvbdensearrayslicestosymbol(db, p, over2, over2, cube.data(), extents));
  EXPECT_EQ("Zero sized dimension 2", lastError());
  EXPECT_EQ(1, recordCount(p));
}

TEST_F(ArrayChecks, ARefusedReadMayHaveClearedTheCubeAndLeavesDroppedAtMinusOne) {
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  put(p, {"a"}, 1);
  std::vector<double> cube(3, -5);
  int wrong[1] = {3};
  int dropped = 7;
  EXPECT_EQ(0, c__tvbsparsesymboltodensearray(db, cube.data(), wrong, p, &i, 0, &dropped));
  EXPECT_EQ("Cube dimension 1 is 3 while card(i) is 2.", lastError());
  EXPECT_EQ(-1, dropped);
  EXPECT_EQ((std::vector<double>(3, 0.0)), cube);

  tvbSymbol* s = addSymbol("s", 1, TRV_DT_SET);
  std::vector<int> ints(3, -5);
  EXPECT_EQ(0, c__tvbsparsesymboltosqzdarray(db, ints.data(), wrong, s, &i, &i, 0, &dropped));
  EXPECT_EQ(-1, dropped);
  EXPECT_EQ((std::vector<int>(3, 0)), ints);
}

}  // namespace
