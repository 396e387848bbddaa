// Reading a TVF file: what tvbInitFromTVF takes from the file, its refusals and trace lines, loading each
// symbol on first use, and closing the file with and without loading what is left. A host program hands the
// database its read routines instead (written in C, host_program.c): records are read through them on first
// use, the host's special values mapped and element texts fetched; writing streams them into a file without
// loading them; the log routine receives tvbPrintLog's messages.
#include <string>
#include <tuple>
#include <vector>

#include "exchange/exchange_support.h"
#include "exchange/host_program.h"
#include "support/allocation_failures.h"

namespace {

using exchange_test::Database;
using exchange_test::info;
using exchange_test::recordLines;
using exchange_test::traced;
using exchange_test::TvfFileWriter;
using exchange_test::wasNeverLoaded;
using Strings = std::vector<std::string>;

class ReadLifecycle : public ::testing::Test {
 protected:
  // Two sets, an alias of each kind, a parameter over them and a relaxed domain, an equation, and a scalar. A
  // text held twice is taken once, so the texts after it move down one number while set records keep the
  // numbers the file gave them: c's 3 reads 'blue', b's 4 none.
  void writeSampleFile() {
    TvfFileWriter file(path, {"a", "b", "c"}, {"red", "green", "red", "blue"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {1}}, {{2}, {4}}});
    file.symbol("j", 1, TRV_DT_SET, 0, {{{3}, {3}}});
    file.alias("ii", "i");
    file.alias("u", "*");
    file.symbol("p", 2, TRV_DT_PAR, 0, {{{1, 3}, {1.5}}, {{2, 3}, {2.5}}}, {"ii", "k"}, "parameter p");
    file.symbol("e", 1, TRV_DT_EQU, 53 + TRV_EQU_LE, {{{1}, {1, 2, 3, 4, 5}}}, {"u"});
    file.symbol("f", 0, TRV_DT_PAR, 0, {{{}, {9}}});
  }
  std::string refusal() const { return "Database has been initialized, cannot initialize from " + path; }

  exchange_test::ScratchDir dir;
  std::string path = dir.path("sample.tvf");
};

TEST_F(ReadLifecycle, TakesTheWholeCatalogFromTheFile) {
  writeSampleFile();
  Database db;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str())) << db.lastError();
  EXPECT_EQ("", db.lastError());
  EXPECT_EQ(5, info(db, nullptr, TRV_INFO_SYMBOL_COUNT));  // the aliases are not reachable by index
  // Symbol numbers are the file's, 1-based; an alias yields its set, an alias of "*" the Universe, also as a
  // domain.
  EXPECT_EQ(db.symbol("i"), db.symbol("II"));
  EXPECT_EQ(db.symbol("*"), db.symbol("u"));
  EXPECT_EQ(5, info(db, db.symbol("p"), TRV_SYMINFO_NUMBER));
  EXPECT_EQ((Strings{"labels a,b,c", "i type 0 subtype 0 '' (*)", "  a 'red'", "  b ''", "j type 0 subtype 0 '' (*)",
                     "  c 'blue'", "p type 1 subtype 0 'parameter p' (ii,k?)", "  a.c 1.5(3ff8000000000000)",
                     "  b.c 2.5(4004000000000000)", "e type 3 subtype 2 '' (u)",
                     "  a 1(3ff0000000000000) 2(4000000000000000) 3(4008000000000000) 4(4010000000000000) "
                     "5(4014000000000000)",
                     "f type 1 subtype 0 '' ()", "   9(4022000000000000)"}),
            exchange_test::dump(db));
}

// Each kind of operation that needs a symbol's records reads them from the file first.
TEST_F(ReadLifecycle, EveryKindOfOperationReadsASymbolOnFirstUse) {
  writeSampleFile();
  Database db;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str()));
  tvbRecordHandle* rec = nullptr;
  const char* key[2] = {"b", "c"};
  ASSERT_EQ(1, c__tvbfindrecord(db, db.symbol("p"), key, &rec)) << db.lastError();  // records
  c__tvbfreesymboliterator(db, rec);
  ASSERT_EQ(1, c__tvbfindlastrecord(db, db.symbol("i"), &rec)) << db.lastError();  // navigation
  c__tvbfreesymboliterator(db, rec);
  EXPECT_EQ(1, info(db, db.symbol("e"), TRV_SYMINFO_RECORD_COUNT));  // queries
  tvbSymbol* copy = db.add("copy", 1, TRV_DT_SET);
  ASSERT_EQ(1, c__tvbcopysymbol(db, copy, db.symbol("j"))) << db.lastError();  // copies
  EXPECT_EQ((Strings{"c 'blue'"}), recordLines(db, copy));
  ASSERT_EQ(1, c__tvbclosetvf(db, 0));
  for (const char* name : {"i", "j", "p", "e"}) EXPECT_FALSE(wasNeverLoaded(db, name)) << name;
}

// Closing the file keeps what was read; what never was is gone for good, unless the close reads it first.
TEST_F(ReadLifecycle, ClosingTheFileDropsTheSymbolsNotReadUnlessAskedToReadThem) {
  writeSampleFile();
  Database db, loaded;
  for (auto [database, loadRest] : {std::pair{&db, 0}, {&loaded, 1}}) {
    ASSERT_EQ(1, c__tvbinitfromtvf(*database, path.c_str()));
    recordLines(*database, database->symbol("p"));
    ASSERT_EQ(1, c__tvbclosetvf(*database, loadRest));
    EXPECT_EQ(2u, recordLines(*database, database->symbol("p")).size());
  }
  EXPECT_TRUE(wasNeverLoaded(db, "f"));
  EXPECT_EQ(1u, recordLines(loaded, loaded.symbol("f")).size());
  EXPECT_EQ(0, c__tvbclosetvf(db, 0));
  EXPECT_EQ("Database not initialized from TVF", db.lastError());
  EXPECT_NE(nullptr, db.add("q", 1, TRV_DT_PAR));  // an ordinary database now
}

// Labels registered before the file is read keep their numbers and spelling; the file's keys are translated,
// whether the records are read or streamed into a new file.
TEST_F(ReadLifecycle, LabelsRegisteredBeforeKeepTheirNumbersAndKeysFollowTheirLabels) {
  writeSampleFile();
  Database db, readBack;
  int nr = 0;
  for (const char* label : {"c", "zz", "A"}) c__tvbmergeuel(db, label, &nr);
  ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str()));
  const std::string written = dir.path("written.tvf");
  ASSERT_EQ(1, c__tvbwritetvf(db, written.c_str(), 0)) << db.lastError();
  ASSERT_EQ(1, c__tvbinitfromtvf(readBack, written.c_str()));
  const Strings p = {"A.c 1.5(3ff8000000000000)", "b.c 2.5(4004000000000000)"};
  EXPECT_EQ(p, recordLines(db, db.symbol("p")));
  EXPECT_EQ(p, recordLines(readBack, readBack.symbol("p")));
  EXPECT_EQ("labels c,zz,A,b", exchange_test::dump(db)[0]);
}

// Records that could not be read never pass for an empty symbol: every use and every write of the database
// names the reason, also after the file is closed, until the symbol is cleared; a load cut short by memory
// keeps nothing and is read whole at the next use.
TEST_F(ReadLifecycle, ASymbolThatCouldNotBeReadFailsUntilCleared) {
  const std::string whole = dir.path("whole.tvf");
  for (const std::string& file : {path, whole})
    TvfFileWriter(file, {"a", "b"}).symbol("p", 1, TRV_DT_PAR, 0, {{{1}, {1}}, {{2}, {2}}});
  exchange_test::damageFirstRecordBlock(path);
  Database db, shortOfMemory;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str()));
  const std::string reason = "Error reading the records of symbol p from the TVF file: ";
  const std::string written = dir.path("written.tvf");
  for (int closed : {0, 1}) {
    EXPECT_EQ(-1, info(db, db.symbol("p"), TRV_SYMINFO_RECORD_COUNT));
    EXPECT_EQ(0u, db.lastError().find(reason)) << db.lastError();
    EXPECT_EQ(0, c__tvbwritetvf(db, written.c_str(), 0));
    EXPECT_EQ(0u, db.lastError().find("Problems writing symbol p to TVF: " + reason)) << db.lastError();
    if (closed) continue;
    EXPECT_EQ(0, c__tvbclosetvf(db, 1));  // fails at p and keeps the file open
    ASSERT_EQ(1, c__tvbclosetvf(db, 0));
  }
  ASSERT_EQ(1, c__tvbclearsymbol(db, db.symbol("p")));
  EXPECT_EQ(1, c__tvbwritetvf(db, written.c_str(), 0)) << db.lastError();

  ASSERT_EQ(1, c__tvbinitfromtvf(shortOfMemory, whole.c_str()));
  tvbSymbol* p = shortOfMemory.symbol("p");
  int count = 0;
  double unused;
  char text[TRV_SSSIZE];
  for (long n = 0; n == 0 || tvbtest::injectedFailure(); ++n) {
    tvbtest::failAllocationAfter(n);
    c__tvbsymbolinfo(shortOfMemory, p, TRV_SYMINFO_RECORD_COUNT, &count, &unused, text);
    tvbtest::stopFailing();
  }
  EXPECT_EQ(2, count) << shortOfMemory.lastError();
}

// Once filled, by a file (even one that could not be read) or in memory, a database is not filled again.
TEST_F(ReadLifecycle, AFilledDatabaseIsNotFilledAgain) {
  writeSampleFile();
  Database filled, missing, closed;
  filled.add("x", 0, TRV_DT_PAR);
  EXPECT_EQ("---- Entering InitFromTVF ----\n  FROM_NOSOURCE!=initFrom\n",
            traced(filled, 2, [&] { EXPECT_EQ(0, c__tvbinitfromtvf(filled, path.c_str())); }));
  EXPECT_EQ(0, c__tvbinitfromtvf(missing, dir.path("missing.tvf").c_str()));
  ASSERT_EQ(1, c__tvbinitfromtvf(closed, path.c_str()));
  ASSERT_EQ(1, c__tvbclosetvf(closed, 1));
  for (Database* db : {&filled, &missing, &closed}) {
    EXPECT_EQ(0, c__tvbinitfromtvf(*db, path.c_str()));
    EXPECT_EQ(refusal(), db->lastError());
  }
}

TEST_F(ReadLifecycle, AFileThatCannotBeOpenedIsNamed) {
  Database db;
  const std::string absent = dir.path("missing.tvf");
  EXPECT_EQ("---- Entering InitFromTVF ----\nOpen tvf file for reading\nError opening tvf file\n",
            traced(db, 1, [&] { EXPECT_EQ(0, c__tvbinitfromtvf(db, absent.c_str())); }));
  EXPECT_EQ(0u, db.lastError().find("Error opening TVF file: cannot open file '" + absent + "'")) << db.lastError();
}

// At level 1 the steps, at level 2 their details too, indented.
TEST_F(ReadLifecycle, EachStepIsTracedAtItsLevel) {
  {
    TvfFileWriter file(path, {"a"}, {"t1", "t1"});
    file.symbol("s", 1, TRV_DT_SET, 0, {{{1}, {1}}});
  }
  Database level1, level2;
  EXPECT_EQ(
      "---- Entering InitFromTVF ----\nOpen tvf file for reading\nOpening tvf file was successful\n"
      "Start loading string table\nloading strings\nloading strings done\nstart loading uels\nloading uels done\n"
      "creating symbols\n---- Leaving InitFromTVF ----\n",
      traced(level1, 1, [&] { c__tvbinitfromtvf(level1, path.c_str()); }));
  EXPECT_EQ(
      "---- Entering InitFromTVF ----\nOpen tvf file for reading\nOpening tvf file was successful\n"
      "  using special values from TVB\nStart loading string table\nloading strings\n"
      "  reading string: t1\n  Adding test\n  reading string: t1\n  Text already exists\nloading strings done\n"
      "start loading uels\n  Get uel\n  Uel loaded: a\nloading uels done\n"
      "creating symbols\n  creating symbol\n  symbol created: s\n---- Leaving InitFromTVF ----\n",
      traced(level2, 2, [&] { c__tvbinitfromtvf(level2, path.c_str()); }));
}

// Every allocation of reading a file, a first use, a copy of the database and a write of the copy fails in
// turn: no failure leaks, each leaves a message, and once none fails the written file holds what was read.
TEST_F(ReadLifecycle, RunningOutOfMemoryFailsCleanly) {
  writeSampleFile();
  Database first, original, readBack;  // the TVF library is loaded once, before counting
  std::string written = dir.path("written.tvf");
  tvbtest::failEachAllocation([&](long n) {
    tvbHandle *db = nullptr, *copy = nullptr;
    char msg[TRV_SSSIZE], copyMsg[TRV_SSSIZE];
    EXPECT_EQ(1, tvbcreate(&db, msg, sizeof msg));
    EXPECT_EQ(1, tvbcreate(&copy, msg, sizeof msg));
    tvbtest::failAllocationAfter(n);
    tvbSymbol* p = nullptr;
    int records = 0, rc = c__tvbinitfromtvf(db, path.c_str()) && c__tvbfindsymbol(db, "p", &p);
    double unused;
    rc = rc && c__tvbsymbolinfo(db, p, TRV_SYMINFO_RECORD_COUNT, &records, &unused, msg);
    rc = rc && c__tvbinitfromdb(copy, db) && c__tvbwritetvf(copy, written.c_str(), 0);
    tvbtest::stopFailing();
    c__tvbgetlasterror(db, msg);
    c__tvbgetlasterror(copy, copyMsg);
    EXPECT_TRUE(rc ? records == 2 : *msg || *copyMsg) << "after " << n << " allocations";
    tvbfree(&db);
    tvbfree(&copy);
    return rc;
  });
  ASSERT_EQ(1, c__tvbinitfromtvf(original, path.c_str()));
  ASSERT_EQ(1, c__tvbinitfromtvf(readBack, written.c_str())) << readBack.lastError();
  EXPECT_EQ(exchange_test::dump(original), exchange_test::dump(readBack));
}

const int kParameterKeys[] = {1, 2, 3, 4, 5, 6};
const double kParameterValues[] = {2e300, 0, 0, 0, 0, 7.5,   0, 0, 0, 0, 3e300, 0, 0, 0, 0,
                                   4e300, 0, 0, 0, 0, 5e300, 0, 0, 0, 0, 1e300, 0, 0, 0, 0};
const int kVariableKeys[] = {1, 2};
const double kVariableValues[] = {1, 2e300, 4e300, 3e300, 5e300};
const int kSetKeys[] = {1, 2, 3};
const double kSetValues[] = {0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0};
const HostSymbol kSymbols[] = {{"p", 1, 6, kParameterKeys, kParameterValues},
                               {"x", 2, 1, kVariableKeys, kVariableValues},
                               {"s", 1, 3, kSetKeys, kSetValues}};
const char* const kTexts[] = {"one", "two", "two"};

class HostProgramTest : public ::testing::Test {
 protected:
  // The database knows the labels and symbols; the host holds the records.
  void SetUp() override {
    hostProgramStart(&host, kSymbols, 3, kTexts, 3);
    int uel = 0;
    for (const char* label : {"a", "b", "c", "d", "e", "f"}) c__tvbmergeuel(db, label, &uel);
    for (auto [name, dim, type] :
         {std::tuple{"p", 1, TRV_DT_PAR}, {"x", 2, TRV_DT_VAR}, {"s", 1, TRV_DT_SET}, {"missing", 1, TRV_DT_PAR}})
      db.add(name, dim, type);
  }

  void handOver() {
    ASSERT_EQ(1, c__tvbinitfromcmex(db, hostFindSymbol, hostDataReadRawStart, hostDataReadRaw, hostDataReadDone,
                                    hostElemText, hostLog, &host));
  }

  // Fails the first use of sym and returns the last error.
  std::string firstUseError(const char* name) {
    tvbRecordHandle* rec = nullptr;
    EXPECT_EQ(0, c__tvbfindfirstrecord(db, db.symbol(name), &rec));
    return db.lastError();
  }

  HostProgram host;
  Database db;
};

// The host's special values (the defaults 1e300 .. 5e300) are mapped to the caller's; nothing is read before
// it is needed, and each symbol once.
TEST_F(HostProgramTest, RecordsAreReadThroughTheHostOnFirstUseWithItsSpecialValuesMapped) {
  handOver();
  EXPECT_EQ(0, host.finds);
  const double mine[5] = {-1, -2, -3, -4, -5};
  c__tvbsetspecialvalues(db, mine);
  EXPECT_EQ((Strings{"a -2(c000000000000000)", "b 7.5(401e000000000000)", "c -3(c008000000000000)",
                     "d -4(c010000000000000)", "e -5(c014000000000000)", "f -1(bff0000000000000)"}),
            recordLines(db, db.symbol("p")));
  EXPECT_EQ((Strings{"a.b 1(3ff0000000000000) -2(c000000000000000) -4(c010000000000000) -3(c008000000000000) "
                     "-5(c014000000000000)"}),
            recordLines(db, db.symbol("x")));
  recordLines(db, db.symbol("p"));
  EXPECT_EQ(2, host.finds);
}

// Set values are text numbers, not mapped; the host's texts are fetched and interned.
TEST_F(HostProgramTest, ElementTextsAreFetchedFromTheHost) {
  handOver();
  Strings set;
  EXPECT_EQ("  Text already exists\n", exchange_test::traced(db, 2, [&] { set = recordLines(db, db.symbol("s")); }));
  EXPECT_EQ((Strings{"a ''", "b 'two'", "c 'two'"}), set);
  EXPECT_EQ(2, host.elemTexts);
}

// Cut to 255 characters; before the hand-over they go to standard output.
TEST_F(HostProgramTest, LogMessagesGoToTheHost) {
  EXPECT_EQ("before the host\n", exchange_test::traced(db, 0, [&] { c__tvbprintlog(db, "before the host"); }));
  handOver();
  EXPECT_EQ("", exchange_test::traced(db, 0, [&] { EXPECT_EQ(1, c__tvbprintlog(db, std::string(300, 'm').c_str())); }));
  EXPECT_EQ(1, host.logCalls);
  EXPECT_EQ(std::string(1, '\xff') + std::string(255, 'm'), std::string(host.logged, 256));
}

// Handing over empties every symbol (they wait in the host again); a failing text routine ends the loading
// without a message of its own.
TEST_F(HostProgramTest, AFailingRoutineIsNamed) {
  for (auto [failure, routine] : {std::pair{HOST_FAIL_FIND_SYMBOL, "findSymbol"},
                                  {HOST_FAIL_READ_START, "dataReadRawStart"},
                                  {HOST_FAIL_READ, "dataReadRaw"},
                                  {HOST_FAIL_READ_DONE, "dataReadDone"}}) {
    handOver();
    host.failure = failure;
    EXPECT_EQ("Problems with " + std::string(routine) + " for symbol p", firstUseError("p"));
  }
  handOver();
  host.failure = HOST_FAIL_ELEM_TEXT;
  EXPECT_EQ(nullptr, db.symbol("nosuch"));
  EXPECT_EQ("Cannot find symbol nosuch", firstUseError("s"));
}

// A symbol the host does not have fails every use, rather than passing for an empty one.
TEST_F(HostProgramTest, ASymbolTheHostLacksFailsEveryUse) {
  db.record(db.symbol("missing"), {"a"}, {1});
  handOver();
  EXPECT_EQ("Problems with findSymbol for symbol missing", firstUseError("missing"));
  EXPECT_EQ("Problems with findSymbol for symbol missing", firstUseError("missing"));
}

TEST_F(HostProgramTest, ALabelNumberOutsideTheDatabasesLabelsIsRefused) {
  const int keys[] = {7};
  const double values[] = {1, 0, 0, 0, 0};
  const HostSymbol outside[] = {{"p", 1, 1, keys, values}};
  hostProgramStart(&host, outside, 1, nullptr, 0);
  handOver();
  EXPECT_EQ("Problems with dataReadRaw for symbol p: label number 7 outside [1,6]", firstUseError("p"));
}

TEST_F(HostProgramTest, WritingStreamsTheHostsRecordsWithoutLoadingThem) {
  handOver();
  exchange_test::ScratchDir dir;
  std::string path = dir.path("host.tvf");
  ASSERT_EQ(1, c__tvbclearsymbol(db, db.symbol("missing")));  // not in the host: emptied, so not read
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 0)) << db.lastError();
  EXPECT_EQ(3, host.finds);
  EXPECT_EQ(0, host.elemTexts);  // set values go to the file as the host gives them
  Database readBack;
  ASSERT_EQ(1, c__tvbinitfromtvf(readBack, path.c_str()));
  EXPECT_EQ((Strings{"a NA", "b 7.5(401e000000000000)", "c +INF", "d -INF", "e EPS", "f UNDF"}),
            recordLines(readBack, readBack.symbol("p")));
  // The database itself still reads each symbol from the host at its first use.
  EXPECT_EQ(6u, recordLines(db, db.symbol("p")).size());
  EXPECT_EQ(4, host.finds);
  host.failure = HOST_FAIL_READ;
  handOver();
  EXPECT_EQ(0, c__tvbwritetvf(db, path.c_str(), 0));
  EXPECT_EQ("Problems writing symbol p to TVF: Problems with dataReadRaw for symbol p", db.lastError());
}

}  // namespace
