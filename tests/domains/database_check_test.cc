// Checking the whole database: symbols visited in creation order, one check open at a time, lookups kept until
// the check is done, and labels that appear while a check is open.
#include <string>
#include <vector>

#include "core/symbol.h"  // to see which domain lookups exist: the interface does not show them
#include "domains/domain_fixture.h"

namespace {

using DatabaseCheck = DomainTest;

TEST_F(DatabaseCheck, ViolationsAreVisitedSymbolBySymbolInCreationOrder) {
  labels({"a", "b", "x", "y", "bad"});
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x", "y"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  tvbSymbol* clean = over("clean", TRV_DT_PAR, {i});
  tvbSymbol* empty = over("empty", TRV_DT_PAR, {i});
  tvbSymbol* free = addSymbol("free", 1, TRV_DT_PAR);
  tvbSymbol* q = over("q", TRV_DT_SET, {i, j});
  put(p, {"bad"}, 1);
  put(p, {"a"}, 1);
  put(p, {"c"}, 1);
  put(clean, {"a"}, 1);
  put(free, {"bad"}, 1);
  addAndFree(q, {"a", "bad"});
  (void)empty;

  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv)) << lastError();
  ASSERT_NE(nullptr, dv);
  EXPECT_EQ("p", symbolName(dv));
  EXPECT_EQ("bad", violationKey(dv));
  int moved = -1;
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ(1, moved);
  EXPECT_EQ("c", violationKey(dv));
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ(0, moved);

  // The next symbol with a violation, past clean, empty and free.
  ASSERT_EQ(1, c__tvbgetfirstdvinnextsymbol(db, dv, &moved));
  EXPECT_EQ(1, moved);
  EXPECT_EQ("q", symbolName(dv));
  EXPECT_EQ("a.bad", violationKey(dv));
  EXPECT_EQ((std::vector<int>{0, 1}), indicator(dv, 2));
  // None after q: the handle stays where it was.
  ASSERT_EQ(1, c__tvbgetfirstdvinnextsymbol(db, dv, &moved));
  EXPECT_EQ(0, moved);
  EXPECT_EQ("a.bad", violationKey(dv));

  ASSERT_EQ(1, c__tvbdomaincheckdone(db));
  EXPECT_EQ(nullptr, i->domainLookup.get());
  EXPECT_EQ(0, c__tvbgetfirstdvinnextsymbol(db, dv, &moved));
  EXPECT_EQ("No domain check of the whole database is open: start one with tvbGetFirstDBDV", lastError());
  EXPECT_EQ(1, c__tvbfreedvhandle(db, dv));
  EXPECT_EQ(1, c__tvbdomaincheckdone(db));  // nothing open: nothing to do

  int has = -1;
  ASSERT_EQ(1, c__tvbcheckdbdv(db, &has));
  EXPECT_EQ(1, has);
}

TEST_F(DatabaseCheck, OneWholeDatabaseCheckIsOpenAtATime) {
  tvbSymbol* i = set("i", {"a"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  put(p, {"a"}, 1);

  // Candidates without violations: the check is opened all the same and must be closed.
  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));
  EXPECT_EQ(nullptr, dv);
  tvbDVHandle* again = reinterpret_cast<tvbDVHandle*>(0x1);
  EXPECT_EQ(0, c__tvbgetfirstdbdv(db, &again));
  EXPECT_EQ("A domain check of the whole database is open already: close it with tvbDomainCheckDone first",
            lastError());
  EXPECT_EQ(nullptr, again);
  int has = -1;
  EXPECT_EQ(0, c__tvbcheckdbdv(db, &has));
  EXPECT_EQ(0, has);
  ASSERT_EQ(1, c__tvbdomaincheckdone(db));

  // Checking does close what it opens.
  ASSERT_EQ(1, c__tvbcheckdbdv(db, &has));
  EXPECT_EQ(0, has);
  put(p, {"b"}, 1);
  ASSERT_EQ(1, c__tvbcheckdbdv(db, &has));
  EXPECT_EQ(1, has);
  int status = -1;
  dv = c__tvbgetfirstdbdvpy(db, &status);
  EXPECT_EQ(1, status);
  ASSERT_NE(nullptr, dv);
  c__tvbfreedvhandle(db, dv);
  c__tvbdomaincheckdone(db);
}

TEST_F(DatabaseCheck, ADatabaseWithoutCandidatesOpensNoCheck) {
  tvbSymbol* free = addSymbol("free", 1, TRV_DT_PAR);
  put(free, {"a"}, 1);
  tvbSymbol* i = set("i", {"a"});
  over("empty", TRV_DT_PAR, {i});
  int has = -1;
  ASSERT_EQ(1, c__tvbcheckdbdv(db, &has));
  EXPECT_EQ(0, has);
  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));
  EXPECT_EQ(nullptr, dv);
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));  // nothing was opened by the first
  EXPECT_EQ(nullptr, i->domainLookup.get());
}

TEST_F(DatabaseCheck, HandlesReleasedDuringTheCheckLeaveItsLookupsInPlace) {
  tvbSymbol* i = set("i", {"a"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  tvbSymbol* q = over("q", TRV_DT_PAR, {i});
  for (tvbSymbol* sym : {p, q}) {
    put(sym, {"b"}, 1);
    put(sym, {"c"}, 1);
  }
  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));
  tvbDVHandle* inQ = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, q, &inQ));
  EXPECT_EQ("b", violationKey(inQ));
  c__tvbfreedvhandle(db, inQ);
  int moved = -1;
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ(1, moved);
  EXPECT_EQ("c", violationKey(dv));
  c__tvbfreedvhandle(db, dv);
  EXPECT_NE(nullptr, i->domainLookup.get());
  c__tvbdomaincheckdone(db);
  EXPECT_EQ(nullptr, i->domainLookup.get());
}

TEST_F(DatabaseCheck, LabelsRegisteredWhileACheckIsOpenCountAsOutsideEveryDomain) {
  tvbSymbol* i = set("i", {"a"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  put(p, {"a"}, 1);
  put(p, {"c"}, 1);
  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));
  EXPECT_EQ("c", violationKey(dv));
  // w joins the domain and p while the check is open; the check still judges by the domain as it found it.
  addAndFree(i, {"w"});
  put(p, {"w"}, 1);
  int moved = -1;
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ(1, moved);
  EXPECT_EQ("w", violationKey(dv));
  EXPECT_EQ((std::vector<int>{1}), indicator(dv, 1));
  c__tvbfreedvhandle(db, dv);
  c__tvbdomaincheckdone(db);
  EXPECT_EQ(std::vector<std::string>{"c"}, violations(p));  // a new check sees w in i
}

}  // namespace
