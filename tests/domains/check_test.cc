// Domain checks of one symbol and of the whole database: violations in key order with their positions marked,
// symbols visited in creation order, moves past the end, misuse, one whole-database check open at a time, and
// the domains as a check finds them.
#include <string>
#include <utility>
#include <vector>

#include "domains/domain_fixture.h"

namespace {

using SymbolCheck = DomainTest;
using DatabaseCheck = DomainTest;

TEST_F(SymbolCheck, ViolationsComeInKeyOrderWithTheirPositionsMarked) {
  labels({"a", "b", "x", "y"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {set("i", {"a", "b"}), set("j", {"x", "y"})});
  // c and z are registered after everything else.
  for (auto key : std::vector<std::vector<const char*>>{{"c", "z"}, {"a", "x"}, {"c", "x"}, {"a", "z"}, {"b", "y"}})
    put(p, key, 1);
  EXPECT_EQ((Violations{"p a.z 01", "p c.x 10", "p c.z 11"}), violations(p));
  EXPECT_EQ("violated", check(p));
}

// Past the last violation the handle is invalid, and stays so.
TEST_F(SymbolCheck, PastTheLastViolationTheHandleHasNone) {
  tvbSymbol* p = over("p", TRV_DT_PAR, {set("i", {"a"})});
  put(p, {"b"}, 1);
  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, p, &dv)) << lastError();
  int moved = -1, marks[1];
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  tvbSymbol* sym = p;
  tvbRecordHandle* rec = reinterpret_cast<tvbRecordHandle*>(0x1);
  EXPECT_EQ("0 No valid violation handle", outcome(c__tvbgetdvsymbol(db, dv, &sym)));
  EXPECT_EQ(0, c__tvbgetdvsymbolrecord(db, dv, &rec));
  EXPECT_EQ("0 No valid violation handle", outcome(c__tvbgetdvindicator(db, dv, marks)));
  EXPECT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_TRUE(moved == 0 && sym == nullptr && rec == nullptr);
  EXPECT_EQ(1, c__tvbfreedvhandle(db, dv));
}

TEST_F(SymbolCheck, ARecordRemovedThroughTheHandleEndsTheWalk) {
  tvbSymbol* t = over("t", TRV_DT_PAR, {set("i", {"a"}), set("j", {"a", "b"}), set("k", {"a"})});
  put(t, {"b", "b", "c"}, 1);
  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, t, &dv));
  EXPECT_EQ("t b.b.c 101", at(dv));
  tvbRecordHandle* rec = nullptr;
  ASSERT_EQ(1, c__tvbgetdvsymbolrecord(db, dv, &rec));
  ASSERT_EQ(1, c__tvbdeleterecord(db, rec));
  c__tvbfreesymboliterator(db, rec);
  int moved = -1;
  EXPECT_EQ(0, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ("The record handle of symbol t stands on no record (its record was removed)", lastError());
  EXPECT_EQ(0, moved);
  EXPECT_EQ("<No valid violation handle>", at(dv));
  c__tvbfreedvhandle(db, dv);
  EXPECT_EQ(Violations{}, violations(t));
}

TEST_F(SymbolCheck, UniverseDomainsRelaxedDomainNamesAndScalarsAreNeverViolated) {
  tvbSymbol* overUniverse = addSymbol("overUniverse", 2, TRV_DT_PAR);
  put(overUniverse, {"anything", "goes"}, 1);
  tvbSymbol* domains[2] = {nullptr, nullptr};
  const char* names[2] = {"j", "*"};  // a relaxed name and the Universe
  tvbSymbol* relaxed = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbolx(db, "relaxed", 2, TRV_DT_PAR, 0, "", domains, names, &relaxed));
  put(relaxed, {"x", "y"}, 1);
  tvbSymbol* scalar = addSymbol("scalar", 0, TRV_DT_PAR);
  put(scalar, {}, 1);
  tvbSymbol* i = set("i", {"x"});  // over the Universe
  for (tvbSymbol* sym : {overUniverse, relaxed, scalar, i, universe()}) EXPECT_EQ("clean", check(sym)) << lastError();
  EXPECT_EQ("clean", check());
}

TEST_F(SymbolCheck, ADomainSetThatLosesElementsMakesViolations) {
  tvbSymbol* i = set("i", {"a", "b", "c"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  put(p, {"a"}, 1);
  put(p, {"b"}, 2);
  EXPECT_EQ(Violations{}, violations(p));
  tvbRecordHandle* rec = find(i, {"b"});
  c__tvbdeleterecord(db, rec);
  c__tvbfreesymboliterator(db, rec);
  EXPECT_EQ(Violations{"p b 1"}, violations(p));
  c__tvbclearsymbol(db, i);
  EXPECT_EQ((Violations{"p a 1", "p b 1"}), violations(p));
}

// Null handles and symbols are refused with a message, and the outputs are cleared.
TEST_F(SymbolCheck, MisuseIsReportedNotFatal) {
  const std::string noHandle = "0 No domain violation handle specified", noSymbol = "0 No symbol handle specified";
  int flag = -1, status = -1, marks[1];
  EXPECT_EQ(noHandle, outcome(c__tvbmovenextdvinsymbol(db, nullptr, &flag)));
  EXPECT_EQ(0, std::exchange(flag, -1));
  EXPECT_EQ(noHandle, outcome(c__tvbgetfirstdvinnextsymbol(db, nullptr, &flag)));
  EXPECT_EQ(0, std::exchange(flag, -1));
  EXPECT_EQ(noHandle, outcome(c__tvbgetdvindicator(db, nullptr, marks)));
  tvbSymbol* sym = universe();
  EXPECT_EQ(noHandle, outcome(c__tvbgetdvsymbol(db, nullptr, &sym)));
  EXPECT_EQ(nullptr, sym);
  EXPECT_EQ(nullptr, c__tvbgetdvsymbolpy(db, nullptr, &status));
  EXPECT_EQ(0, std::exchange(status, -1));
  EXPECT_EQ(nullptr, c__tvbgetdvsymbolrecordpy(db, nullptr, &status));
  EXPECT_EQ(0, std::exchange(status, -1));
  EXPECT_EQ(1, c__tvbfreedvhandle(db, nullptr));
  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  EXPECT_EQ(noSymbol, outcome(c__tvbgetfirstdvinsymbol(db, nullptr, &dv)));
  EXPECT_EQ(nullptr, dv);
  EXPECT_EQ(nullptr, c__tvbgetfirstdvinsymbolpy(db, nullptr, &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ(noSymbol, outcome(c__tvbchecksymboldv(db, nullptr, &flag)));
  EXPECT_EQ(0, flag);
}

// Symbols over the Universe, without records or without violations are passed over.
TEST_F(DatabaseCheck, ViolationsAreVisitedSymbolBySymbolInCreationOrder) {
  labels({"a", "b", "x", "y", "bad"});
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  tvbSymbol* clean = over("clean", TRV_DT_PAR, {i});
  over("empty", TRV_DT_PAR, {i});
  tvbSymbol* free = addSymbol("free", 1, TRV_DT_PAR);
  tvbSymbol* q = over("q", TRV_DT_SET, {i, set("j", {"x", "y"})});
  for (const char* label : {"bad", "a", "c"}) put(p, {label}, 1);
  put(clean, {"a"}, 1);
  put(free, {"bad"}, 1);
  addAndFree(q, {"a", "bad"});
  EXPECT_EQ((Violations{"p bad 1", "p c 1", "q a.bad 01"}), databaseViolations());
  EXPECT_EQ("violated", check());
}

// Past the last symbol the handle stays on the last violation; once the check is done it moves no more.
TEST_F(DatabaseCheck, TheHandleStaysOnTheLastViolationUntilTheCheckIsDone) {
  put(over("p", TRV_DT_PAR, {set("i", {"a"})}), {"b"}, 1);
  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv)) << lastError();
  int moved = -1;
  ASSERT_EQ(1, c__tvbgetfirstdvinnextsymbol(db, dv, &moved));
  EXPECT_EQ(0, moved);
  EXPECT_EQ("p b 1", at(dv));
  ASSERT_EQ(1, c__tvbdomaincheckdone(db));
  EXPECT_EQ(0, c__tvbgetfirstdvinnextsymbol(db, dv, &moved));
  EXPECT_EQ("No domain check of the whole database is open: start one with tvbGetFirstDBDV", lastError());
  EXPECT_EQ(1, c__tvbfreedvhandle(db, dv));
  EXPECT_EQ(1, c__tvbdomaincheckdone(db));  // nothing open: nothing to do
}

// Without candidates (symbols over domain sets, with records) no check is opened; with candidates one is,
// violations or not, and it must be closed before the next.
TEST_F(DatabaseCheck, OneCheckIsOpenAtATimeAndOnlyWithCandidates) {
  put(addSymbol("free", 1, TRV_DT_PAR), {"a"}, 1);
  tvbSymbol* p = over("p", TRV_DT_PAR, {set("i", {"a"})});
  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));
    EXPECT_EQ(nullptr, dv);
  }
  put(p, {"a"}, 1);
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));
  EXPECT_EQ(nullptr, dv);
  dv = reinterpret_cast<tvbDVHandle*>(0x1);
  EXPECT_EQ(0, c__tvbgetfirstdbdv(db, &dv));
  EXPECT_EQ("A domain check of the whole database is open already: close it with tvbDomainCheckDone first",
            lastError());
  EXPECT_EQ(nullptr, dv);
  EXPECT_EQ("refused, flag 0", check());
  ASSERT_EQ(1, c__tvbdomaincheckdone(db));
  put(p, {"b"}, 1);
  int status = -1;
  dv = c__tvbgetfirstdbdvpy(db, &status);
  EXPECT_EQ(1, status);
  EXPECT_EQ("p b 1", at(dv));
  c__tvbfreedvhandle(db, dv);
  c__tvbdomaincheckdone(db);
}

// Labels that join a domain while a whole-database check is open count as outside until it is done, and a
// released handle leaves the check's lookups in place.
TEST_F(DatabaseCheck, AnOpenCheckKeepsTheDomainsAsItFoundThem) {
  tvbSymbol* i = set("i", {"a"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  tvbSymbol* q = over("q", TRV_DT_PAR, {i});
  put(p, {"b"}, 1);
  put(q, {"b"}, 1);
  tvbDVHandle *dv = nullptr, *inQ = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, q, &inQ));
  c__tvbfreedvhandle(db, inQ);
  addAndFree(i, {"w"});
  put(p, {"w"}, 1);
  EXPECT_EQ((Violations{"p b 1", "p w 1"}), rest(dv));
  c__tvbfreedvhandle(db, dv);
  c__tvbdomaincheckdone(db);
  EXPECT_EQ((Violations{"p b 1"}), violations(p));  // a new check sees w in i
}

// Outside a whole-database check, releasing one of two handles releases their shared lookup: the other stays
// on its violation but finds nothing further and marks nothing.
TEST_F(DatabaseCheck, ReleasingAHandleReleasesTheLookupItSharesOutsideACheck) {
  tvbSymbol* i = set("i", {"a"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i});
  tvbSymbol* q = over("q", TRV_DT_PAR, {i});
  for (tvbSymbol* sym : {p, q}) {
    put(sym, {"b"}, 1);
    put(sym, {"c"}, 1);
  }
  tvbDVHandle *dv = nullptr, *inQ = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, p, &dv));
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, q, &inQ));
  c__tvbfreedvhandle(db, dv);
  EXPECT_EQ(Violations{"q b 0"}, rest(inQ));
  c__tvbfreedvhandle(db, inQ);
}

}  // namespace
