// Reading a TVF file: what tvbInitFromTVF takes from the file, its refusals and trace lines, loading each
// symbol on first use, and closing the file with and without loading what is left.
#include <fstream>
#include <string>
#include <vector>

#include "exchange/exchange_support.h"
#include "support/allocation_failures.h"

namespace {

using exchange_test::Database;
using exchange_test::recordLines;
using exchange_test::ScratchDir;
using exchange_test::TvfFileWriter;
using exchange_test::wasNeverLoaded;
using Strings = std::vector<std::string>;

class ReadLifecycle : public ::testing::Test {
 protected:
  // Two sets, an alias of each kind, a parameter over them and a relaxed domain, and an equation.
  void writeSampleFile() {
    TvfFileWriter file(path, {"a", "b", "c"}, {"text of a"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {1}}, {{2}, {0}}});
    file.symbol("j", 1, TRV_DT_SET, 0, {{{3}, {0}}});
    file.alias("ii", "i");
    file.alias("u", "*");
    file.symbol("p", 2, TRV_DT_PAR, 0, {{{1, 3}, {1.5}}, {{2, 3}, {2.5}}}, {"ii", "k"}, "parameter p");
    file.symbol("e", 1, TRV_DT_EQU, 53 + TRV_EQU_LE, {{{1}, {1, 2, 3, 4, 5}}}, {"u"});
  }

  ScratchDir dir;
  std::string path = dir.path("sample.tvf");
};

TEST_F(ReadLifecycle, TakesTextsLabelsSymbolsAliasesAndDomainsFromTheFile) {
  writeSampleFile();
  Database db;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str())) << db.lastError();
  EXPECT_EQ("", db.lastError());

  int count = 0;
  double unused;
  char text[TRV_SSSIZE];
  c__tvbinfo(db, TRV_INFO_SYMBOL_COUNT, &count, &unused, text);
  EXPECT_EQ(4, count);  // the aliases are not reachable by index
  c__tvbinfo(db, TRV_INFO_UEL_COUNT, &count, &unused, text);
  EXPECT_EQ(3, count);
  c__tvbgetuelbyindex(db, 3, text);
  EXPECT_STREQ("c", text);

  // Symbol numbers are the file's, 1-based; an alias yields its set, an alias of "*" the Universe.
  tvbSymbol* universe = db.symbol("*");
  EXPECT_EQ(db.symbol("i"), db.symbol("II"));
  EXPECT_EQ(universe, db.symbol("u"));
  int number = -1;
  c__tvbsymbolinfo(db, db.symbol("p"), TRV_SYMINFO_NUMBER, &number, &unused, text);
  EXPECT_EQ(5, number);

  EXPECT_EQ("p type 1 subtype 0 'parameter p' (ii,k?)", exchange_test::describe(db, db.symbol("p")));
  EXPECT_EQ("e type 3 subtype 2 '' (u)", exchange_test::describe(db, db.symbol("e")));
  EXPECT_EQ("i type 0 subtype 0 '' (*)", exchange_test::describe(db, db.symbol("i")));
  tvbSymbol* domains[2];
  char buffers[2][TRV_SSSIZE];
  char* names[2] = {buffers[0], buffers[1]};
  ASSERT_EQ(1, c__tvbgetdomain(db, db.symbol("p"), 2, domains, names));
  EXPECT_EQ(db.symbol("i"), domains[0]);  // the domain is the alias, which stands for its set
  EXPECT_EQ(nullptr, domains[1]);
  ASSERT_EQ(1, c__tvbgetdomain(db, db.symbol("e"), 1, domains, names));
  EXPECT_EQ(universe, domains[0]);

  EXPECT_EQ((Strings{"a 'text of a'", "b ''"}), recordLines(db, db.symbol("i")));
  EXPECT_EQ((Strings{"a.c 1.5(3ff8000000000000)", "b.c 2.5(4004000000000000)"}), recordLines(db, db.symbol("p")));
  EXPECT_EQ(1, c__tvbsymbolinfo(db, db.symbol("e"), TRV_SYMINFO_RECORD_COUNT, &count, &unused, text));
  EXPECT_EQ(1, count);
}

TEST_F(ReadLifecycle, RecordsAreReadOnFirstUseAndClosingEndsTheLink) {
  writeSampleFile();
  {
    Database db;
    ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str()));
    EXPECT_EQ(2u, recordLines(db, db.symbol("p")).size());
    EXPECT_EQ(1, c__tvbclosetvf(db, 0));
    // Read before the close, so still there; never read, so gone for good: the first use says why.
    EXPECT_EQ(2u, recordLines(db, db.symbol("p")).size());
    EXPECT_TRUE(wasNeverLoaded(db, "i"));
    tvbRecordHandle* rec = nullptr;
    EXPECT_EQ(0, c__tvbfindfirstrecord(db, db.symbol("i"), &rec));
    EXPECT_EQ("Cannot find a record in Symbol i", db.lastError());
    EXPECT_EQ(0, c__tvbclosetvf(db, 0));
    EXPECT_EQ("Database not initialized from TVF", db.lastError());
  }
  Database db;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str()));
  EXPECT_EQ(1, c__tvbclosetvf(db, 1));
  EXPECT_EQ(2u, recordLines(db, db.symbol("i")).size());
  EXPECT_EQ(1u, recordLines(db, db.symbol("e")).size());
  // Closed, the database is an ordinary one: symbols can be added and the file read into another database.
  EXPECT_NE(nullptr, db.add("q", 1, TRV_DT_PAR));
  EXPECT_EQ(0, c__tvbinitfromtvf(db, path.c_str()));
  EXPECT_EQ("Database has been initialized, cannot initialize from " + path, db.lastError());
}

// Each kind of operation that needs a symbol's records reads them from the file first.
TEST_F(ReadLifecycle, EveryOperationThatNeedsRecordsReadsTheSymbolFirst) {
  writeSampleFile();
  Database db;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str()));
  tvbRecordHandle* rec = nullptr;
  const char* key[2] = {"b", "c"};
  ASSERT_EQ(1, c__tvbfindrecord(db, db.symbol("p"), key, &rec)) << db.lastError();  // records
  double level = 0;
  c__tvbgetlevel(db, rec, &level);
  EXPECT_EQ(2.5, level);
  c__tvbfreesymboliterator(db, rec);
  ASSERT_EQ(1, c__tvbfindlastrecord(db, db.symbol("i"), &rec)) << db.lastError();  // navigation
  c__tvbfreesymboliterator(db, rec);
  int count = 0;
  double unused;
  char text[TRV_SSSIZE];
  ASSERT_EQ(1, c__tvbsymbolinfo(db, db.symbol("e"), TRV_SYMINFO_RECORD_COUNT, &count, &unused, text));  // queries
  EXPECT_EQ(1, count);
  tvbSymbol* copy = db.add("copy", 1, TRV_DT_SET);
  ASSERT_EQ(1, c__tvbcopysymbol(db, copy, db.symbol("j"))) << db.lastError();  // copies
  EXPECT_EQ((Strings{"c ''"}), recordLines(db, copy));

  ASSERT_EQ(1, c__tvbclosetvf(db, 0));
  for (const char* name : {"i", "j", "p", "e"}) EXPECT_FALSE(wasNeverLoaded(db, name)) << name;
}

TEST_F(ReadLifecycle, RefusesFilledDatabasesAndFilesItCannotOpen) {
  writeSampleFile();
  Database filled;
  filled.add("x", 0, TRV_DT_PAR);
  EXPECT_EQ(0, c__tvbinitfromtvf(filled, path.c_str()));
  EXPECT_EQ("Database has been initialized, cannot initialize from " + path, filled.lastError());

  Database db;
  std::string missing = dir.path("missing.tvf");
  EXPECT_EQ(0, c__tvbinitfromtvf(db, missing.c_str()));
  std::string error = db.lastError();
  EXPECT_EQ(0u, error.find("Error opening TVF file: cannot open file '" + missing + "'")) << error;
  // The failed read still counts as one: the database is not filled again.
  EXPECT_EQ(0, c__tvbinitfromtvf(db, path.c_str()));
  EXPECT_EQ("Database has been initialized, cannot initialize from " + path, db.lastError());
  EXPECT_EQ(1, c__tvbclosetvf(db, 1));

  // A file that is not a TVF file.
  std::string foreign = dir.path("foreign.tvf");
  std::ofstream(foreign) << "just some text, long enough to be taken for a file of some kind or other\n";
  Database other;
  EXPECT_EQ(0, c__tvbinitfromtvf(other, foreign.c_str()));
  EXPECT_EQ(0u, other.lastError().find("Error opening TVF file: ")) << other.lastError();
}

TEST_F(ReadLifecycle, TracesEachStepAtItsLevel) {
  {
    TvfFileWriter file(path, {"a"}, {"t1", "t1"});
    file.symbol("s", 1, TRV_DT_SET, 0, {{{1}, {1}}});
  }
  Database filled, level1, level2;
  filled.add("x", 0, TRV_DT_PAR);
  c__tvbsetdebug(filled, 2);
  ::testing::internal::CaptureStdout();
  c__tvbinitfromtvf(filled, path.c_str());
  std::string refused = ::testing::internal::GetCapturedStdout();
  c__tvbsetdebug(filled, 1);
  ::testing::internal::CaptureStdout();
  c__tvbinitfromtvf(level1, path.c_str());
  std::string one = ::testing::internal::GetCapturedStdout();
  c__tvbsetdebug(filled, 2);
  ::testing::internal::CaptureStdout();
  c__tvbinitfromtvf(level2, path.c_str());
  std::string two = ::testing::internal::GetCapturedStdout();
  c__tvbsetdebug(filled, 0);

  EXPECT_EQ("---- Entering InitFromTVF ----\n  FROM_NOSOURCE!=initFrom\n", refused);
  EXPECT_EQ(
      "---- Entering InitFromTVF ----\n"
      "Open tvf file for reading\n"
      "Opening tvf file was successful\n"
      "Start loading string table\n"
      "loading strings\n"
      "loading strings done\n"
      "start loading uels\n"
      "loading uels done\n"
      "creating symbols\n"
      "---- Leaving InitFromTVF ----\n",
      one);
  EXPECT_EQ(
      "---- Entering InitFromTVF ----\n"
      "Open tvf file for reading\n"
      "Opening tvf file was successful\n"
      "  using special values from TVB\n"
      "Start loading string table\n"
      "loading strings\n"
      "  reading string: t1\n"
      "  Adding test\n"
      "  reading string: t1\n"
      "  Text already exists\n"
      "loading strings done\n"
      "start loading uels\n"
      "  Get uel\n"
      "  Uel loaded: a\n"
      "loading uels done\n"
      "creating symbols\n"
      "  creating symbol\n"
      "  symbol created: s\n"
      "---- Leaving InitFromTVF ----\n",
      two);

  Database missing;
  c__tvbsetdebug(missing, 1);
  ::testing::internal::CaptureStdout();
  c__tvbinitfromtvf(missing, dir.path("missing.tvf").c_str());
  std::string failed = ::testing::internal::GetCapturedStdout();
  c__tvbsetdebug(missing, 0);
  EXPECT_EQ("---- Entering InitFromTVF ----\nOpen tvf file for reading\nError opening tvf file\n", failed);
}

// A text held twice in the file is taken once, so the texts after it move down one number while set
// records keep the numbers the file gave them.
TEST_F(ReadLifecycle, ATextHeldTwiceIsTakenOnceAndSetRecordsKeepTheFileNumbers) {
  {
    TvfFileWriter file(path, {"a", "b", "c", "d"}, {"red", "green", "red", "blue"});
    file.symbol("s", 1, TRV_DT_SET, 0, {{{1}, {1}}, {{2}, {2}}, {{3}, {3}}, {{4}, {4}}});
  }
  Database db;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str()));
  EXPECT_EQ((Strings{"a 'red'", "b 'green'", "c 'blue'", "d ''"}), recordLines(db, db.symbol("s")));
}

TEST_F(ReadLifecycle, ADamagedRecordBlockFailsTheFirstUseOfItsSymbol) {
  {
    TvfFileWriter file(path, {"a", "b"});
    file.symbol("p", 0, TRV_DT_PAR, 0, {{{}, {7}}});
    file.symbol("q", 2, TRV_DT_PAR, 0, {{{1, 1}, {1}}, {{1, 2}, {2}}, {{2, 1}, {3}}, {{2, 2}, {4}}});
  }
  exchange_test::damageFirstRecordBlock(path);

  Database db;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str())) << db.lastError();
  tvbRecordHandle* rec = nullptr;
  EXPECT_EQ(0, c__tvbfindfirstrecord(db, db.symbol("p"), &rec));
  EXPECT_EQ(0u, db.lastError().find("Error reading the records of symbol p from the TVF file: checksum mismatch"))
      << db.lastError();
  EXPECT_EQ(4u, recordLines(db, db.symbol("q")).size());  // the other symbols read as usual
}

TEST_F(ReadLifecycle, RunningOutOfMemoryFailsCleanly) {
  writeSampleFile();
  Database first;  // the TVF library is loaded once, before counting
  for (long n = 0;; ++n) {
    long before = tvbtest::liveAllocations();
    tvbHandle* db = nullptr;
    char msg[TRV_SSSIZE];
    ASSERT_EQ(1, tvbcreate(&db, msg, sizeof msg));
    tvbtest::failAllocationAfter(n);
    int rc = c__tvbinitfromtvf(db, path.c_str());
    tvbSymbol* p = nullptr;
    if (rc) c__tvbfindsymbol(db, "p", &p);
    int records = 0;
    double unused;
    if (p) rc = c__tvbsymbolinfo(db, p, TRV_SYMINFO_RECORD_COUNT, &records, &unused, msg);
    bool injected = tvbtest::injectedFailure();
    tvbtest::stopFailing();
    if (!rc) {
      c__tvbgetlasterror(db, msg);
      EXPECT_NE("", std::string(msg)) << "after " << n << " allocations";
    }
    tvbfree(&db);
    EXPECT_EQ(before, tvbtest::liveAllocations()) << "after " << n << " allocations";
    if (!injected) {
      EXPECT_EQ(1, rc);
      EXPECT_EQ(2, records);
      break;
    }
  }
}

}  // namespace
