// Domain checks of a database read from a TVF file: aliases as domains, symbols and domain sets still in the
// file, and sets that cannot be read. The files are written with the TVF library's own interface, which can
// make aliases.
#include <fstream>
#include <string>
#include <vector>

#include "core/symbol.h"  // to see which domain lookups exist: the interface does not show them
#include "domains/domain_fixture.h"
#include "exchange/exchange_support.h"

namespace {

using exchange_test::ScratchDir;
using exchange_test::TvfFileWriter;
using Keys = std::vector<std::string>;

class FileSource : public DomainTest {
 protected:
  void open(tvbHandle* target) { ASSERT_EQ(1, c__tvbinitfromtvf(target, path.c_str())) << lastError(); }

  tvbSymbol* symbol(const char* name) {
    tvbSymbol* sym = nullptr;
    EXPECT_EQ(1, c__tvbfindsymbol(db, name, &sym)) << lastError();
    return sym;
  }

  // The first symbol written can then not be read.
  void damageFirstSymbol() { exchange_test::damageFirstRecordBlock(path); }

  bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

  ScratchDir dir;
  std::string path = dir.path("source.tvf");
};

TEST_F(FileSource, AnAliasStandsForItsSetAsADomain) {
  {
    TvfFileWriter file(path, {"a", "b", "c"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {0}}, {{2}, {0}}});
    file.alias("ii", "i");
    file.symbol("p", 1, TRV_DT_PAR, 0, {{{1}, {1}}, {{3}, {3}}}, {"ii"});
    file.symbol("q", 2, TRV_DT_PAR, 0, {{{2, 3}, {1}}, {{3, 1}, {2}}}, {"i", "ii"});
  }
  open(db);
  tvbSymbol* i = symbol("i");
  tvbSymbol* p = symbol("p");
  tvbSymbol* q = symbol("q");
  EXPECT_EQ(2, recordCount(p));  // reads p and q from the file
  EXPECT_EQ(2, recordCount(q));

  tvbDVHandle* dv = nullptr;
  ASSERT_EQ(1, c__tvbgetfirstdvinsymbol(db, p, &dv)) << lastError();
  EXPECT_EQ("c", violationKey(dv));
  EXPECT_EQ((std::vector<int>{1}), indicator(dv, 1));
  EXPECT_NE(nullptr, i->domainLookup.get());  // built for the set the alias stands for
  c__tvbfreedvhandle(db, dv);
  EXPECT_EQ(nullptr, i->domainLookup.get());
  EXPECT_EQ((Keys{"b.c", "c.a"}), violations(q));

  // The whole-database check passes the alias over and finds both symbols.
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv)) << lastError();
  EXPECT_EQ("p", symbolName(dv));
  int moved = -1;
  ASSERT_EQ(1, c__tvbgetfirstdvinnextsymbol(db, dv, &moved));
  EXPECT_EQ(1, moved);
  EXPECT_EQ("q", symbolName(dv));
  EXPECT_EQ((std::vector<int>{0, 1}), indicator(dv, 2));
  ASSERT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
  EXPECT_EQ("c.a", violationKey(dv));
  EXPECT_EQ((std::vector<int>{1, 0}), indicator(dv, 2));
  c__tvbfreedvhandle(db, dv);
  c__tvbdomaincheckdone(db);
}

TEST_F(FileSource, TheWholeDatabaseCheckReadsItsSymbolsAndASingleSymbolCheckItsDomainSets) {
  {
    TvfFileWriter file(path, {"a", "b", "c"});
    file.symbol("p", 1, TRV_DT_PAR, 0, {{{1}, {1}}, {{3}, {3}}}, {"i"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {0}}, {{2}, {0}}});
  }
  open(db);
  // A single-symbol check looks at the records in memory: p has not been read yet.
  int has = -1;
  ASSERT_EQ(1, c__tvbchecksymboldv(db, symbol("p"), &has)) << lastError();
  EXPECT_EQ(0, has);
  ASSERT_EQ(1, c__tvbcheckdbdv(db, &has)) << lastError();
  EXPECT_EQ(1, has);
  EXPECT_EQ(Keys{"c"}, violations(symbol("p")));
}

TEST_F(FileSource, ADomainSetThatCannotBeReadFailsTheCheck) {
  {
    TvfFileWriter file(path, {"a", "b", "c"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {0}}, {{2}, {0}}});
    file.symbol("p", 1, TRV_DT_PAR, 0, {{{1}, {1}}, {{3}, {3}}}, {"i"});
  }
  damageFirstSymbol();
  open(db);
  tvbSymbol* p = symbol("p");
  EXPECT_EQ(2, recordCount(p));
  int has = -1;
  EXPECT_EQ(0, c__tvbchecksymboldv(db, p, &has));
  EXPECT_TRUE(startsWith(lastError(), "Error reading the records of symbol i from the TVF file")) << lastError();
  EXPECT_EQ(0, has);
  EXPECT_EQ(nullptr, symbol("i")->domainLookup.get());

  // The same through a whole-database check, in a second database on the file: it fails and opens nothing.
  tvbHandle* second = nullptr;
  char msg[TRV_SSSIZE];
  ASSERT_EQ(1, tvbcreate(&second, msg, sizeof msg));
  open(second);
  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  EXPECT_EQ(0, c__tvbgetfirstdbdv(second, &dv));
  EXPECT_EQ(nullptr, dv);
  c__tvbgetlasterror(second, msg);
  EXPECT_TRUE(startsWith(msg, "Error reading the records of symbol i from the TVF file")) << msg;
  // i counts as read now (what could be read of it: nothing), so a new check runs and every record violates.
  ASSERT_EQ(1, c__tvbgetfirstdbdv(second, &dv)) << msg;
  ASSERT_NE(nullptr, dv);
  c__tvbfreedvhandle(second, dv);
  c__tvbdomaincheckdone(second);
  tvbfree(&second);
}

TEST_F(FileSource, ASymbolThatCannotBeReadEndsTheWholeDatabaseWalk) {
  {
    TvfFileWriter file(path, {"a", "b", "c"});
    file.symbol("p", 1, TRV_DT_PAR, 0, {{{1}, {1}}, {{3}, {3}}}, {"i"});
    file.symbol("q", 1, TRV_DT_PAR, 0, {{{3}, {3}}}, {"i"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {0}}, {{2}, {0}}});
  }
  damageFirstSymbol();
  open(db);
  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));
  EXPECT_EQ(nullptr, dv);  // as if no symbol were left; the reason stays in the last error
  EXPECT_TRUE(startsWith(lastError(), "Error reading the records of symbol p from the TVF file")) << lastError();
  int has = -1;
  ASSERT_EQ(1, c__tvbcheckdbdv(db, &has));  // no check was left open; p counts as read (empty) now
  EXPECT_EQ(1, has);
}

}  // namespace
