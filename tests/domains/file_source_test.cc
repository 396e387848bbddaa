// Domain checks of a database read from a TVF file: aliases as domains, symbols and domain sets still in the
// file, and sets that cannot be read. The files are written with the TVF library's own interface, which can
// make aliases.
#include <string>
#include <vector>

#include "domains/domain_fixture.h"
#include "exchange/exchange_support.h"

namespace {

using exchange_test::TvfFileWriter;

class FileSource : public DomainTest {
 protected:
  void open(tvbHandle* target) { ASSERT_EQ(1, c__tvbinitfromtvf(target, path.c_str())) << lastError(); }
  // p over i and q over i, written before i; with damage p cannot be read.
  void writeSymbolsBeforeTheirDomain(bool damaged) {
    {
      TvfFileWriter file(path, {"a", "b", "c"});
      file.symbol("p", 1, TRV_DT_PAR, 0, {{{1}, {1}}, {{3}, {3}}}, {"i"});
      file.symbol("q", 1, TRV_DT_PAR, 0, {{{3}, {3}}}, {"i"});
      file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {0}}, {{2}, {0}}});
    }
    if (damaged) exchange_test::damageFirstRecordBlock(path);
    open(db);
  }
  const std::string unreadable = "Error reading the records of symbol ";

  exchange_test::ScratchDir dir;
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
  EXPECT_EQ(2, recordCount(symbol("p")));  // reads p and q from the file
  EXPECT_EQ(2, recordCount(symbol("q")));
  EXPECT_EQ(Violations{"p c 1"}, violations(symbol("p")));
  EXPECT_EQ((Violations{"q b.c 01", "q c.a 10"}), violations(symbol("q")));
  // The whole-database check passes the alias over and finds both symbols.
  EXPECT_EQ((Violations{"p c 1", "q b.c 01", "q c.a 10"}), databaseViolations());
}

TEST_F(FileSource, AWholeDatabaseCheckReadsSymbolsStillInTheFile) {
  writeSymbolsBeforeTheirDomain(false);
  EXPECT_EQ("clean", check(symbol("p")));  // it looks at the records in memory: p has not been read yet
  EXPECT_EQ("violated", check());
  EXPECT_EQ(Violations{"p c 1"}, violations(symbol("p")));
}

TEST_F(FileSource, ASymbolThatCannotBeReadEndsTheWholeDatabaseWalk) {
  writeSymbolsBeforeTheirDomain(true);
  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  ASSERT_EQ(1, c__tvbgetfirstdbdv(db, &dv));
  EXPECT_EQ(nullptr, dv);  // as if no symbol were left; the reason stays in the last error
  EXPECT_EQ(0u, lastError().find(unreadable + "p from the TVF file")) << lastError();
  EXPECT_EQ("clean", check());  // no check was left open; p is still to be read, not taken for empty
}

TEST_F(FileSource, ADomainSetThatCannotBeReadFailsTheCheck) {
  {
    TvfFileWriter file(path, {"a", "b", "c"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {0}}, {{2}, {0}}});
    file.symbol("p", 1, TRV_DT_PAR, 0, {{{1}, {1}}, {{3}, {3}}}, {"i"});
  }
  exchange_test::damageFirstRecordBlock(path);
  open(db);
  tvbSymbol* p = symbol("p");
  EXPECT_EQ(2, recordCount(p));
  EXPECT_EQ("refused, flag 0", check(p));
  EXPECT_EQ(0u, lastError().find(unreadable + "i from the TVF file")) << lastError();
  // The same through a whole-database check, in a second database on the file: it fails and opens nothing.
  exchange_test::Database second;
  open(second);
  tvbDVHandle* dv = reinterpret_cast<tvbDVHandle*>(0x1);
  EXPECT_EQ(0, c__tvbgetfirstdbdv(second, &dv));
  EXPECT_EQ(nullptr, dv);
  EXPECT_EQ(0u, second.lastError().find(unreadable + "i from the TVF file")) << second.lastError();
  // i is not taken for an empty set: the next check fails the same way.
  EXPECT_EQ(0, c__tvbgetfirstdbdv(second, &dv));
  EXPECT_EQ(0u, second.lastError().find(unreadable + "i from the TVF file")) << second.lastError();
}

}  // namespace
