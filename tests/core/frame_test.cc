// The database handle: creation and release entries, the last error, log output, contract assertions and
// clean failures when memory runs out.
#include <string>

#include "support/allocation_failures.h"
#include "support/database_fixture.h"

namespace {

TEST(Creation, EveryCreationEntryMakesAUsableDatabaseWithoutMessageOrLastError) {
  char msg[TRV_SSSIZE] = "junk", lpDir[TRV_SSSIZE] = {0};
  tvbHandle* dbs[7] = {};
  EXPECT_EQ(1, tvbcreate(&dbs[0], msg, sizeof msg));
  EXPECT_STREQ("", msg);
  EXPECT_EQ(1, tvbcreated(&dbs[1], "", msg, sizeof msg));
  EXPECT_EQ(1, d__tvbcreated(&dbs[2], lpDir, msg, sizeof msg));
  EXPECT_EQ(1, xcreate(&dbs[3]));
  EXPECT_EQ(1, xcreated(&dbs[4], "/opt/tvb"));
  EXPECT_EQ(1, d__xcreated(&dbs[5], lpDir));
  EXPECT_EQ(1, tvbxcreate_(&dbs[6]));
  for (int i = 0; i < 7; ++i) {
    char error[TRV_SSSIZE] = "junk";
    EXPECT_EQ(0, c__tvbgetlasterror(dbs[i], error));
    EXPECT_STREQ("", error);
    int nr = 0;
    EXPECT_EQ(1, c__tvbmergeuel(dbs[i], "a", &nr));
    EXPECT_EQ(1, nr);
    EXPECT_EQ(1, (i % 2 ? xfree : tvbfree)(&dbs[i]));
    EXPECT_EQ(nullptr, dbs[i]);
    EXPECT_EQ(1, tvbfree(&dbs[i]));  // already null: nothing to do
  }
}

using LastError = DatabaseTest;

TEST_F(LastError, SurvivesLaterSuccess) {
  EXPECT_EQ("Uel index 1 out of range [1,0]", errorOf(c__tvbgetuelbyindex(db, 1, nullptr)));
  EXPECT_EQ(1, uel("x"));
  char msg[TRV_SSSIZE];
  EXPECT_EQ(1, c__tvbgetlasterror(db, msg));
  EXPECT_STREQ("Uel index 1 out of range [1,0]", msg);
}

TEST_F(LastError, IsCutTo255Characters) {
  // Both quote kinds: the message repeats the label.
  EXPECT_EQ(0, uel(("'\"" + std::string(400, 'q')).c_str()));
  EXPECT_EQ("Label with single and double quote not allowed >'\"" + std::string(255 - 50, 'q'), lastError());
}

using LogOutput = DatabaseTest;

TEST_F(LogOutput, PrintLogWritesTheMessageAndANewline) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(1, c__tvbprintlog(db, "hello log"));
  EXPECT_EQ("hello log\n", testing::internal::GetCapturedStdout());
}

TEST(Trace, TheLevelIsSetWithoutADatabase) { EXPECT_EQ(1, c__tvbsetdebug(nullptr, 0)); }

using Assertions = DatabaseTest;

TEST_F(Assertions, ContractViolationsAbortNamingTheCondition) {
  char msg[TRV_SSSIZE];
  EXPECT_DEATH(tvbcreate(nullptr, msg, sizeof msg), "Assertion failed: NULL != tvb, file tvbcclib");
  EXPECT_DEATH(tvbcreated(&db, std::string(256, 'd').c_str(), msg, sizeof msg),
               "Assertion failed: sysDir.length\\(\\) < TRV_SSSIZE, file tvbcoorg");
  int nr;
  EXPECT_DEATH(c__tvbmergeuel(nullptr, "a", &nr), "Assertion failed: ptvb != NULL, file tvbcoorg");
  double value;
  EXPECT_DEATH(c__tvbgetlevel(db, nullptr, &value), "symIterPtr != NULL");

  tvbRecordHandle* setRec = add(addSymbol("s", 1, TRV_DT_SET), {"a"});
  tvbRecordHandle* parRec = add(addSymbol("p", 1, TRV_DT_PAR), {"a"});
  EXPECT_DEATH(c__tvbgetlevel(db, setRec, &value),
               "\\(sym->type==TRV_DT_PAR\\) \\|\\| \\(sym->type==TRV_DT_VAR\\) \\|\\| \\(sym->type==TRV_DT_EQU\\)");
  EXPECT_DEATH(c__tvbsetupper(db, parRec, 1.0), "\\(sym->type==TRV_DT_VAR\\) \\|\\| \\(sym->type==TRV_DT_EQU\\)");
  const char* names[1] = {"*"};
  tvbSymbol* out;
  EXPECT_DEATH(c__tvbaddsymbolx(db, "x", 0, TRV_DT_SET, 0, "", nullptr, names, &out),
               "\\(aDim>0\\) \\|\\| \\(TRV_DT_SET!=type\\)");
  EXPECT_DEATH(c__tvbaddsymbolx(db, "x", 21, TRV_DT_PAR, 0, "", nullptr, names, &out),
               "\\(aDim>=0\\) && \\(aDim<=GLOBAL_MAX_INDEX_DIM\\)");
  EXPECT_DEATH(c__tvbaddsymbolx(db, "x", 1, TRV_DT_ALIAS, 0, "", nullptr, names, &out), "TRV_DT_ALIAS!=type");
  c__tvbfreesymboliterator(db, setRec);
  c__tvbfreesymboliterator(db, parRec);
}

// Runs op with allocation n failing, n = 0, 1, 2, ... until it succeeds. Each failure must be clean: result 0
// and the operation's out-of-memory text. Returns the number of failures. (The shared loop would count what
// a success allocates as leaked.)
template <class Op>
int failEachAllocation(tvbHandle* db, const char* expected, Op op) {
  for (int n = 0; n < 1000; ++n) {
    tvbtest::failAllocationAfter(n);
    const int rc = op();
    const bool injected = tvbtest::injectedFailure();
    tvbtest::stopFailing();
    char msg[TRV_SSSIZE];
    c__tvbgetlasterror(db, msg);
    if (!injected) {
      EXPECT_EQ(1, rc) << msg;
      return n;
    }
    EXPECT_EQ(std::string("0 ") + expected, std::to_string(rc) + " " + msg) << "allocation " << n;
  }
  ADD_FAILURE() << "never succeeded";
  return -1;
}

using OutOfMemory = DatabaseTest;

// Nothing is lost or half made along the way, and all the database ever held goes with it.
TEST_F(OutOfMemory, EveryAllocationOfTheCoreOperationsFailsCleanly) {
  tvbfree(&db);
  const long baseline = tvbtest::liveAllocations();
  ASSERT_EQ(1, xcreate(&db));
  tvbSymbol* sym = nullptr;
  EXPECT_GT(failEachAllocation(db, "Out of memory in tvbAddSymbol",
                               [&] { return c__tvbaddsymbol(db, "p", 2, TRV_DT_PAR, 0, "text", &sym); }),
            0);
  // Records: many, so that the store must grow its tree while allocations fail.
  char a[16], b[16];
  const char* labels[2] = {a, b};
  for (int i = 0; i < 3000; ++i) {
    std::snprintf(a, sizeof a, "a%d", i % 60);
    std::snprintf(b, sizeof b, "b%d", i / 60);
    tvbRecordHandle* rec = nullptr;
    failEachAllocation(db, "Out of memory in tvbAddRecord", [&] { return c__tvbaddrecord(db, sym, labels, &rec); });
    c__tvbfreesymboliterator(db, rec);
  }
  int uels[2] = {1, 2};  // (a0,b0): replaces a record
  double values[5] = {7};
  failEachAllocation(db, "Out of memory in tvbAddRecord",
                     [&] { return c__tvbaddrecordraw(db, sym, uels, values, ""); });
  tvbRecordHandle* found = nullptr;
  failEachAllocation(db, "Out of memory in tvbFindRecord", [&] { return c__tvbfindrecord(db, sym, labels, &found); });
  c__tvbfreesymboliterator(db, found);
  tvbSymbol* copy = addSymbol("q", 2, TRV_DT_PAR);
  failEachAllocation(db, "Out of memory in tvbCopySymbol", [&] { return c__tvbcopysymbol(db, copy, sym); });
  EXPECT_EQ(3000, intInfo(sym, TRV_SYMINFO_RECORD_COUNT));
  EXPECT_EQ(3000, intInfo(copy, TRV_SYMINFO_RECORD_COUNT));
  EXPECT_EQ(2, dbInfo(TRV_INFO_SYMBOL_COUNT));
  tvbfree(&db);
  EXPECT_EQ(baseline, tvbtest::liveAllocations());
}

// With no database for the last error, the message goes to standard output.
TEST(Creation, OutOfMemoryLeavesNoDatabaseAndPrintsTheMessage) {
  tvbHandle* db = nullptr;
  char msg[TRV_SSSIZE];
  testing::internal::CaptureStdout();
  tvbtest::failAllocationAfter(0);
  const int rc = tvbcreate(&db, msg, sizeof msg);
  tvbtest::stopFailing();
  EXPECT_EQ("Out of memory in tvbCreate\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(0, rc);
  EXPECT_EQ(nullptr, db);
  EXPECT_STREQ("Error while creating object", msg);
}

}  // namespace
