// Checking one symbol: violations in key order, indicators, the handle's symbol and record, moves past the
// end, and the lifetime of the domain lookups that a single-symbol check builds.
#include <string>
#include <vector>

#include "core/symbol.h"  // to see which domain lookups exist: the interface does not show them
#include "domains/domain_fixture.h"

namespace {

using SymbolCheck = DomainTest;
using Keys = std::vector<std::string>;

TEST_F(SymbolCheck, ViolationsComeInKeyOrderWithTheirPositionsMarked) {
  labels({"a", "b", "x", "y"});
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x", "y"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"c", "z"}, 1);  // c and z are registered after everything else
  put(p, {"a", "x"}, 1);
  put(p, {"c", "x"}, 1);
  put(p, {"a", "z"}, 1);
  put(p, {"b", "y"}, 1);

  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, p, &dv)) << lastError();
  ASSERT_NE(nullptr, dv);
  EXPECT_EQ("p", symbolName(dv));
  EXPECT_EQ("a.z", violationKey(dv));
  EXPECT_EQ((std::vector<int>{0, 1}), indicator(dv, 2));
  int moved = -1;
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ(1, moved);
  EXPECT_EQ("c.x", violationKey(dv));
  EXPECT_EQ((std::vector<int>{1, 0}), indicator(dv, 2));
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ("c.z", violationKey(dv));
  EXPECT_EQ((std::vector<int>{1, 1}), indicator(dv, 2));

  // Past the last violation the handle is invalid, and stays so.
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ(0, moved);
  tvbSymbol* sym = p;
  EXPECT_EQ(0, c__tvbgetdvsymbol(db, dv, &sym));
  EXPECT_EQ("No valid violation handle", lastError());
  EXPECT_EQ(nullptr, sym);
  tvbRecordHandle* rec = reinterpret_cast<tvbRecordHandle*>(0x1);
  EXPECT_EQ(0, c__tvbgetdvsymbolrecord(db, dv, &rec));
  EXPECT_EQ(nullptr, rec);
  int marks[2];
  EXPECT_EQ(0, c__tvbgetdvindicator(db, dv, marks));
  EXPECT_EQ("No valid violation handle", lastError());
  moved = -1;
  EXPECT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ(0, moved);
  EXPECT_EQ(1, c__tvbfreedvhandle(db, dv));

  int has = -1;
  EXPECT_EQ(1, c__tvbchecksymboldv(db, p, &has));
  EXPECT_EQ(1, has);
  EXPECT_EQ(1, c__tvbchecksymboldv(db, i, &has));  // a set over the Universe
  EXPECT_EQ(0, has);
}

TEST_F(SymbolCheck, TheIndicatorMarksEveryViolatingPositionAndOnlyThose) {
  labels({"a", "b", "c"});
  tvbSymbol* i = set("i", {"a"});
  tvbSymbol* j = set("j", {"a", "b"});
  tvbSymbol* t = over("t", TRV_DT_PAR, {i, j, i});
  put(t, {"b", "b", "c"}, 1);
  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, t, &dv));
  EXPECT_EQ((std::vector<int>{1, 0, 1}), indicator(dv, 3));
  c__tvbfreedvhandle(db, dv);

  // The records of the violation handle's record handle are the symbol's: they can be changed through it.
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, t, &dv));
  tvbRecordHandle* rec = nullptr;
  ASSERT_EQ(1, c__tvbgetdvsymbolrecord(db, dv, &rec));
  EXPECT_EQ("b.b.c", keyOf(rec, 3));
  ASSERT_EQ(1, c__tvbdeleterecord(db, rec));
  c__tvbfreesymboliterator(db, rec);
  // The violating record is gone: the handle stands on nothing and says so.
  int moved = -1;
  EXPECT_EQ(0, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ("The record handle of symbol t stands on no record (its record was removed)", lastError());
  EXPECT_EQ(0, moved);
  EXPECT_EQ("<No valid violation handle>", symbolName(dv));
  c__tvbfreedvhandle(db, dv);
  EXPECT_EQ(Keys{}, violations(t));
}

TEST_F(SymbolCheck, UniverseDomainsRelaxedDomainNamesAndScalarsAreNeverViolated) {
  tvbSymbol* overUniverse = addSymbol("overUniverse", 2, TRV_DT_PAR);
  put(overUniverse, {"anything", "goes"}, 1);
  tvbSymbol* universe = nullptr;
  c__tvbfindsymbol(db, "*", &universe);
  tvbSymbol* domains[2] = {nullptr, nullptr};
  const char* names[2] = {"j", "*"};  // a relaxed name and the Universe
  tvbSymbol* relaxed = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbolx(db, "relaxed", 2, TRV_DT_PAR, 0, "", domains, names, &relaxed));
  put(relaxed, {"x", "y"}, 1);
  tvbSymbol* scalar = addSymbol("scalar", 0, TRV_DT_PAR);
  tvbRecordHandle* rec = add(scalar, {});
  c__tvbfreesymboliterator(db, rec);
  for (tvbSymbol* sym : {overUniverse, relaxed, scalar, universe}) {
    int has = -1;
    EXPECT_EQ(1, c__tvbchecksymboldv(db, sym, &has)) << lastError();
    EXPECT_EQ(0, has);
  }
  int has = -1;
  EXPECT_EQ(1, c__tvbcheckdbdv(db, &has));
  EXPECT_EQ(0, has);
}

TEST_F(SymbolCheck, ADomainSetThatLosesElementsMakesViolations) {
  tvbSymbol* i = set("i", {"a", "b", "c"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  put(p, {"a"}, 1);
  put(p, {"b"}, 2);
  EXPECT_EQ(Keys{}, violations(p));
  tvbRecordHandle* rec = find(i, {"b"});
  c__tvbdeleterecord(db, rec);
  c__tvbfreesymboliterator(db, rec);
  EXPECT_EQ(Keys{"b"}, violations(p));
  c__tvbclearsymbol(db, i);
  EXPECT_EQ((Keys{"a", "b"}), violations(p));
}

TEST_F(SymbolCheck, LookupsLiveOnlyWhileAHandleOfTheSymbolNeedsThem) {
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x"});
  tvbSymbol* unused = set("unused", {"a"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"a", "x"}, 1);

  // A search that finds nothing leaves no lookup behind.
  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, p, &dv));
  EXPECT_EQ(nullptr, dv);
  EXPECT_EQ(nullptr, i->domainLookup.get());
  EXPECT_EQ(nullptr, j->domainLookup.get());

  // A handle keeps the lookups of its symbol's domains, and only those, until it is released.
  put(p, {"c", "x"}, 1);
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, p, &dv));
  ASSERT_NE(nullptr, dv);
  EXPECT_NE(nullptr, i->domainLookup.get());
  EXPECT_NE(nullptr, j->domainLookup.get());
  EXPECT_EQ(nullptr, unused->domainLookup.get());  // not a domain of p
  EXPECT_EQ(nullptr, p->domainLookup.get());       // not a set used as a domain
  c__tvbfreedvhandle(db, dv);
  EXPECT_EQ(nullptr, i->domainLookup.get());
  EXPECT_EQ(nullptr, j->domainLookup.get());

  // Checking, which releases its handle, leaves none either.
  int has = -1;
  ASSERT_EQ(1, c__tvbchecksymboldv(db, p, &has));
  EXPECT_EQ(1, has);
  EXPECT_EQ(nullptr, i->domainLookup.get());
}

TEST_F(SymbolCheck, ReleasingOneOfTwoHandlesReleasesTheirSharedDomainLookup) {
  tvbSymbol* i = set("i", {"a"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  tvbSymbol* q = over("q", TRV_DT_PAR, {i});
  for (tvbSymbol* sym : {p, q}) {
    put(sym, {"b"}, 1);
    put(sym, {"c"}, 1);
  }
  tvbDVHandle* first = nullptr;
  tvbDVHandle* second = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, p, &first));
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, q, &second));
  ASSERT_NE(nullptr, second);
  c__tvbfreedvhandle(db, first);
  // q's position is no longer guarded: its handle stays on b but finds nothing further and marks nothing.
  EXPECT_EQ("b", violationKey(second));
  EXPECT_EQ((std::vector<int>{0}), indicator(second, 1));
  int moved = -1;
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, second, &moved));
  EXPECT_EQ(0, moved);
  c__tvbfreedvhandle(db, second);
}

TEST_F(SymbolCheck, MisuseIsReportedNotFatal) {
  tvbSymbol* i = set("i", {"a"});
  int flag = -1;
  EXPECT_EQ(0, c__tvbmovenextdvinsymbol(db, nullptr, &flag));
  EXPECT_EQ("No domain violation handle specified", lastError());
  EXPECT_EQ(0, flag);
  flag = -1;
  EXPECT_EQ(0, c__tvbgetfirstdvinnextsymbol(db, nullptr, &flag));
  EXPECT_EQ("No domain violation handle specified", lastError());
  EXPECT_EQ(0, flag);
  int marks[1];
  EXPECT_EQ(0, c__tvbgetdvindicator(db, nullptr, marks));
  EXPECT_EQ("No domain violation handle specified", lastError());
  tvbSymbol* sym = i;
  EXPECT_EQ(0, c__tvbgetdvsymbol(db, nullptr, &sym));
  EXPECT_EQ("No domain violation handle specified", lastError());
  EXPECT_EQ(nullptr, sym);
  int status = -1;
  EXPECT_EQ(nullptr, c__tvbgetdvsymbolpy(db, nullptr, &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ(nullptr, c__tvbgetdvsymbolrecordpy(db, nullptr, &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ(1, c__tvbfreedvhandle(db, nullptr));

  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  EXPECT_EQ(0, c__tvbgetfirstdvinsymbol(db, nullptr, &dv));
  EXPECT_EQ("No symbol handle specified", lastError());
  EXPECT_EQ(nullptr, dv);
  EXPECT_EQ(nullptr, c__tvbgetfirstdvinsymbolpy(db, nullptr, &status));
  EXPECT_EQ(0, status);
  flag = -1;
  EXPECT_EQ(0, c__tvbchecksymboldv(db, nullptr, &flag));
  EXPECT_EQ("No symbol handle specified", lastError());
  EXPECT_EQ(0, flag);
}

}  // namespace

namespace {

// The underscore names of the domain entries are the same operations as the c__ names.
TEST_F(SymbolCheck, TheUnderscoreEntriesCheckToo) {
  tvbSymbol* i = set("i", {"a"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  put(p, {"b"}, 1);
  int has = -1;
  ASSERT_EQ(1, tvbcheckdbdv_(db, &has));
  EXPECT_EQ(1, has);
  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, tvbgetfirstdvinsymbol_(db, p, &dv));
  int marks[1] = {-1};
  ASSERT_EQ(1, tvbgetdvindicator_(db, dv, marks));
  EXPECT_EQ(1, marks[0]);
  int moved = -1;
  ASSERT_EQ(1, tvbmovenextdvinsymbol_(db, dv, &moved));
  EXPECT_EQ(0, moved);
  ASSERT_EQ(1, tvbfreedvhandle_(db, dv));
  ASSERT_EQ(1, tvbdomaincheckdone_(db));
}

}  // namespace
