// The argument checks of the array transfers, their order and their messages, and what a refused call leaves.
#include <string>
#include <vector>

#include "arrays/array_fixture.h"
#include "exchange/exchange_support.h"

namespace {

class ArrayChecks : public ArrayTest {
 protected:
  // The outcomes of the four operations with domain sets, each run with the same domains (as slices and
  // squeeze sets too), joined by " | ".
  std::string withDomains(tvbSymbol* sym, std::vector<tvbSymbol*> domains, std::vector<int> extents) {
    return read(sym, extents, domains) + " | " + read(sym, extents, domains, domains) + " | " +
           write(sym, domains, extents) + " | " + write(sym, domains, extents, {}, domains);
  }
  // The outcome of withDomains when every operation is refused with this message.
  static std::string refused(const std::string& message) {
    return message + " dropped -1 | " + message + " dropped -1 | " + message + " | " + message;
  }
};

TEST_F(ArrayChecks, EveryTransferRefusesAMissingSymbolTheUniverseAndScalars) {
  tvbSymbol* i = set("i", {"a"});
  const std::pair<tvbSymbol*, const char*> cases[] = {{nullptr, "Empty symbol pointer"},
                                                      {universe(), "Can't map universe"},
                                                      {addSymbol("scalar", 0, TRV_DT_PAR), "Can't map scalars"}};
  for (auto [sym, message] : cases) {
    EXPECT_EQ(message, read(sym, {1}));
    EXPECT_EQ(refused(message), withDomains(sym, {i}, {1}));
  }
}

TEST_F(ArrayChecks, DomainSetsAreCheckedInOrderByEveryOperationWithDomains) {
  labels({"a", "b", "x", "y", "z"});
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* ij = over("ij", TRV_DT_SET, {i, j});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"a", "x"}, 1);
  exchange_test::Database other;
  tvbSymbol* foreign = other.add("f", 2, TRV_DT_SET);
  const std::string universeRefused = "Cannot use universe as domain symbol p";
  EXPECT_EQ(refused(universeRefused), withDomains(p, {i, universe()}, {2, 3}));
  EXPECT_EQ(refused(universeRefused), withDomains(p, {i, other.symbol("*")}, {2, 3}));  // the Universe first
  EXPECT_EQ(refused("Symbol p and domain symbol f in different databases"), withDomains(p, {i, foreign}, {2, 3}));
  EXPECT_EQ(refused("Domain symbol ij has dimension 2, needs to be 1"), withDomains(p, {i, ij}, {2, 3}));
  EXPECT_EQ(refused("Cube dimension 2 is 4 while card(j) is 3."), withDomains(p, {i, j}, {2, 4}));
  EXPECT_EQ(refused("No domain symbol given for dimension 2 of symbol p"), withDomains(p, {i, nullptr}, {2, 3}));
  EXPECT_EQ(refused("Domain symbol ij has dimension 2, needs to be 1"), withDomains(p, {ij, universe()}, {2, 3}));
  EXPECT_EQ((std::map<std::string, double>{{"a.x", 1}}), contents(p));  // no write got through
}

TEST_F(ArrayChecks, SqueezeAndSliceSetsAreNotTiedToTheExtentsButTheirDomainsAre) {
  labels({"x", "y", "z"});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* s = set("s", {"x", "z"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {j});
  put(p, {"x"}, 1);
  // Squeezed: the extent follows the squeeze set; the domain's own size is free. The domain set is checked
  // before the squeeze set.
  EXPECT_EQ("Cube dimension 1 is 3 while card(s) is 2. dropped -1", read(p, {3}, {j}, {s}));
  EXPECT_EQ("1 0 dropped 0", read(p, {2}, {j}, {s}));
  tvbSymbol* js = over("js", TRV_DT_SET, {j, s});
  EXPECT_EQ("Domain symbol js has dimension 2, needs to be 1 dropped -1", read(p, {2}, {js}, {universe()}));
  // Slices: the extent follows the domain; the slice set may be any size.
  EXPECT_EQ("Cube dimension 1 is 2 while card(j) is 3.", write(p, {j}, {2}, {}, {s}));
  EXPECT_EQ("", write(p, {j}, {3}, {}, {s}));
  EXPECT_EQ("Cannot use universe as domain symbol p", write(p, {j}, {3}, {}, {universe()}));
}

TEST_F(ArrayChecks, EmptyAndNegativeExtentsAreRefusedBeforeTheCubeIsTouched) {
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, i});
  put(p, {"a", "b"}, 1);
  std::vector<double> cube(4, -5);
  tvbSymbol* domains[2] = {i, i};
  int dropped = 7;
  for (std::vector<int> extents : {std::vector<int>{2, 0}, {0, -1}, {-2, 2}}) {
    const std::string message = extents[0] < 0 ? "Cube dimension 1 is -2, needs to be at least 0" : "Zero sized cube";
    EXPECT_EQ(message, errorOf(c__tvbdensesymboltodensearray(db, cube.data(), extents.data(), p, 0)));
    EXPECT_EQ(message,
              errorOf(c__tvbsparsesymboltodensearray(db, cube.data(), extents.data(), p, domains, 0, &dropped)));
    EXPECT_EQ(message, errorOf(c__tvbsparsesymboltosqzdarray(db, cube.data(), extents.data(), p, domains, domains, 0,
                                                             &dropped)));
  }
  EXPECT_EQ((std::vector<double>(4, -5)), cube);
  // Writers: a domain without records is a zero-sized dimension, after the domain's own checks.
  tvbSymbol* none = set("none", {});
  EXPECT_EQ("Zero sized dimension 2", write(p, {i, none}, {2, 0}));
  EXPECT_EQ("Zero sized dimension 2", write(p, {i, none}, {2, 0}, {}, {i, none}));
  EXPECT_EQ(1, recordCount(p));
}

}  // namespace
