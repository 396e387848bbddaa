// The database handle: creation and release entries, the last error, log output, contract assertions and
// clean failures when memory runs out.
#include <cstring>
#include <string>

#include "support/allocation_failures.h"
#include "support/database_fixture.h"

namespace {

TEST(Creation, NewDatabaseHasEmptyMessageAndNoLastError) {
  tvbHandle* db = nullptr;
  char msg[TRV_SSSIZE] = "junk";
  ASSERT_EQ(1, tvbcreate(&db, msg, sizeof msg));
  EXPECT_STREQ("", msg);
  char error[TRV_SSSIZE] = "junk";
  EXPECT_EQ(0, c__tvbgetlasterror(db, error));
  EXPECT_STREQ("", error);
  EXPECT_EQ(1, tvbfree(&db));
  EXPECT_EQ(nullptr, db);
  EXPECT_EQ(1, tvbfree(&db));  // already null: nothing to do
}

TEST(Creation, EveryCreationEntryMakesAUsableDatabase) {
  char msg[TRV_SSSIZE];
  char lpDir[TRV_SSSIZE] = {0};
  tvbHandle* dbs[6] = {};
  EXPECT_EQ(1, tvbcreated(&dbs[0], "", msg, sizeof msg));
  EXPECT_EQ(1, d__tvbcreated(&dbs[1], lpDir, msg, sizeof msg));
  EXPECT_EQ(1, xcreate(&dbs[2]));
  EXPECT_EQ(1, xcreated(&dbs[3], "/opt/tvb"));
  EXPECT_EQ(1, d__xcreated(&dbs[4], lpDir));
  EXPECT_EQ(1, tvbxcreate_(&dbs[5]));
  for (tvbHandle*& db : dbs) {
    int nr = 0;
    EXPECT_EQ(1, c__tvbmergeuel(db, "a", &nr));
    EXPECT_EQ(1, nr);
    EXPECT_EQ(1, xfree(&db));
  }
}

TEST(CreationDeath, NullHandleVariableAndLongDirectoryAreContractViolations) {
  char msg[TRV_SSSIZE];
  EXPECT_DEATH(tvbcreate(nullptr, msg, sizeof msg), "Assertion failed: NULL != tvb, file tvbcclib");
  std::string longDir(256, 'd');
  tvbHandle* db = nullptr;
  EXPECT_DEATH(tvbcreated(&db, longDir.c_str(), msg, sizeof msg),
               "Assertion failed: sysDir.length\\(\\) < TRV_SSSIZE, file tvbcoorg");
}

using LastError = DatabaseTest;

TEST_F(LastError, SurvivesLaterSuccessAndIsCutTo255Characters) {
  int nr;
  ASSERT_EQ(0, c__tvbgetuelbyindex(db, 1, nullptr));
  EXPECT_EQ("Uel index 1 out of range [1,0]", lastError());
  EXPECT_EQ(1, c__tvbmergeuel(db, "x", &nr));
  EXPECT_EQ("Uel index 1 out of range [1,0]", lastError());

  std::string label = "'\"" + std::string(400, 'q');  // both quote kinds: the message repeats the label
  EXPECT_EQ(0, c__tvbmergeuel(db, label.c_str(), &nr));
  char msg[TRV_SSSIZE];
  EXPECT_EQ(1, c__tvbgetlasterror(db, msg));
  EXPECT_EQ(255u, std::strlen(msg));
  EXPECT_EQ(0, std::strncmp(msg, "Label with single and double quote not allowed >'\"qqq", 52));
}

TEST_F(LastError, PrintLogWritesTheMessageAndANewline) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(1, c__tvbprintlog(db, "hello log"));
  EXPECT_EQ("hello log\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(1, c__tvbsetdebug(nullptr, 0));  // the handle is not needed for the trace level
}

using Assertions = DatabaseTest;

TEST_F(Assertions, NullHandleAndWrongValueFieldAbortNamingTheCondition) {
  int nr;
  EXPECT_DEATH(c__tvbmergeuel(nullptr, "a", &nr), "Assertion failed: ptvb != NULL, file tvbcoorg");
  double value;
  EXPECT_DEATH(c__tvbgetlevel(db, nullptr, &value), "symIterPtr != NULL");

  tvbSymbol* set = addSymbol("s", 1, TRV_DT_SET);
  tvbSymbol* par = addSymbol("p", 1, TRV_DT_PAR);
  tvbRecordHandle* setRec = add(set, {"a"});
  tvbRecordHandle* parRec = add(par, {"a"});
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

// Runs op with the n-th allocation failing, for n = 0, 1, 2, ... until it succeeds. Each failure must be
// clean: result 0, the operation's out-of-memory text, and the database still usable.
template <class Op>
int failEachAllocation(tvbHandle* db, const char* expected, Op op) {
  for (int n = 0; n < 1000; ++n) {
    tvbtest::failAllocationAfter(n);
    int rc = op();
    bool injected = tvbtest::injectedFailure();
    tvbtest::stopFailing();
    if (!injected) {
      EXPECT_EQ(1, rc);
      return n;
    }
    EXPECT_EQ(0, rc) << "allocation " << n;
    char msg[TRV_SSSIZE];
    c__tvbgetlasterror(db, msg);
    EXPECT_STREQ(expected, msg) << "allocation " << n;
  }
  ADD_FAILURE() << "never succeeded";
  return -1;
}

TEST(OutOfMemory, EveryAllocationOfTheCoreOperationsFailsCleanly) {
  long baseline = tvbtest::liveAllocations();
  tvbHandle* db = nullptr;
  char msg[TRV_SSSIZE];
  ASSERT_EQ(1, tvbcreate(&db, msg, sizeof msg));

  tvbSymbol* sym = nullptr;
  EXPECT_GT(failEachAllocation(db, "Out of memory in tvbAddSymbol",
                               [&] { return c__tvbaddsymbol(db, "p", 2, TRV_DT_PAR, 0, "text", &sym); }),
            0);
  ASSERT_NE(nullptr, sym);

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
  double values[5] = {7, 0, 0, 0, 0};
  failEachAllocation(db, "Out of memory in tvbAddRecord", [&] { return c__tvbaddrecordraw(db, sym, uels, values, ""); });
  tvbRecordHandle* found = nullptr;
  failEachAllocation(db, "Out of memory in tvbFindRecord", [&] { return c__tvbfindrecord(db, sym, labels, &found); });
  c__tvbfreesymboliterator(db, found);

  tvbSymbol* copy = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(db, "q", 2, TRV_DT_PAR, 0, "", &copy));
  failEachAllocation(db, "Out of memory in tvbCopySymbol", [&] { return c__tvbcopysymbol(db, copy, sym); });

  // Nothing was lost or half-made along the way.
  int count = 0;
  double unused;
  char text[TRV_SSSIZE];
  EXPECT_EQ(1, c__tvbsymbolinfo(db, sym, TRV_SYMINFO_RECORD_COUNT, &count, &unused, text));
  EXPECT_EQ(3000, count);
  EXPECT_EQ(1, c__tvbsymbolinfo(db, copy, TRV_SYMINFO_RECORD_COUNT, &count, &unused, text));
  EXPECT_EQ(3000, count);
  EXPECT_EQ(1, c__tvbinfo(db, TRV_INFO_SYMBOL_COUNT, &count, &unused, text));
  EXPECT_EQ(2, count);

  tvbfree(&db);
  EXPECT_EQ(baseline, tvbtest::liveAllocations());
}

TEST(OutOfMemory, CreationReportsOnStandardOutputWhenNoDatabaseWasMade) {
  tvbHandle* db = nullptr;
  char msg[TRV_SSSIZE];
  testing::internal::CaptureStdout();
  tvbtest::failAllocationAfter(0);
  int rc = tvbcreate(&db, msg, sizeof msg);
  tvbtest::stopFailing();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(0, rc);
  EXPECT_EQ(nullptr, db);
  EXPECT_STREQ("Error while creating object", msg);
  EXPECT_EQ("Out of memory in tvbCreate\n", out);
}

}  // namespace
