// Copying a database into an empty one: refusals, independence of the copy, symbols still in a file, element
// texts, aliases and domains.
#include <string>
#include <vector>

#include "exchange/exchange_support.h"
#include "support/allocation_failures.h"

namespace {

using exchange_test::Database;
using exchange_test::dump;
using exchange_test::recordLines;
using exchange_test::ScratchDir;
using exchange_test::TvfFileWriter;
using exchange_test::wasNeverLoaded;

class DatabaseCopy : public ::testing::Test {
 protected:
  void writeFile() {
    TvfFileWriter file(path, {"a", "b", "c"}, {"alpha", "beta"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {2}}, {{2}, {1}}});
    file.alias("ii", "i");
    file.alias("u", "*");
    file.symbol("p", 2, TRV_DT_PAR, 0, {{{1, 3}, {1}}, {{2, 3}, {2}}}, {"ii", "k"});
    file.symbol("x", 1, TRV_DT_VAR, TRV_VAR_POSITIVE, {{{3}, {1, 2, 3, 4, 5}}}, {"u"});
  }

  std::string intAnswer(tvbHandle* db, tvbSymbol* sym, int key) {
    int value = -1;
    double unused;
    char text[TRV_SSSIZE] = "";
    c__tvbsymbolinfo(db, sym, key, &value, &unused, text);
    return std::to_string(value) + text;
  }

  ScratchDir dir;
  std::string path = dir.path("source.tvf");
};

TEST_F(DatabaseCopy, RefusesTargetsThatHoldSomethingAndLeavesThemUnchanged) {
  Database source;
  source.add("s", 1, TRV_DT_SET);

  Database labelled;
  int uel = 0;
  c__tvbmergeuel(labelled, "l", &uel);
  EXPECT_EQ(0, c__tvbinitfromdb(labelled, source));
  EXPECT_EQ("Uels present. Cannot load Uels from other database.", labelled.lastError());
  EXPECT_EQ(nullptr, labelled.symbol("s"));
  c__tvbsetdebug(labelled, 1);
  ::testing::internal::CaptureStdout();
  c__tvbinitfromdb(labelled, source);
  EXPECT_EQ("---- Entering InitFromDB ----\nUels present. Cannot load Uels from other database.\n",
            ::testing::internal::GetCapturedStdout());
  c__tvbsetdebug(labelled, 0);

  Database withSymbol;
  withSymbol.add("t", 0, TRV_DT_PAR);
  EXPECT_EQ(0, c__tvbinitfromdb(withSymbol, source));
  EXPECT_EQ("Symbols present. Cannot load symbols from other database.", withSymbol.lastError());

  TvfFileWriter(dir.path("empty.tvf"), {});
  Database fromFile;
  ASSERT_EQ(1, c__tvbinitfromtvf(fromFile, dir.path("empty.tvf").c_str()));
  EXPECT_EQ(0, c__tvbinitfromdb(fromFile, source));
  EXPECT_EQ("Database incorrectly initialized.", fromFile.lastError());
  ASSERT_EQ(1, c__tvbclosetvf(fromFile, 0));  // closed, it counts as filled in memory, and empty
  EXPECT_EQ(1, c__tvbinitfromdb(fromFile, source)) << fromFile.lastError();

  Database empty, target;
  EXPECT_EQ(1, c__tvbinitfromdb(target, empty));
  EXPECT_TRUE(dump(target).empty());
  EXPECT_EQ(0, c__tvbinitfromtvf(target, path.c_str()));  // the copy counts as filled
}

TEST_F(DatabaseCopy, CopiesEverythingAndSharesNothing) {
  writeFile();
  Database source;
  ASSERT_EQ(1, c__tvbinitfromtvf(source, path.c_str()));
  tvbSymbol* s = source.add("s", 1, TRV_DT_SET);
  source.record(s, {"a"}, {1}, "beta");   // a text of the file
  source.record(s, {"d"}, {1}, "delta");  // and a new one
  source.record(source.add("e", 1, TRV_DT_EQU, TRV_EQU_GE), {"d"}, {1, 0, 0, 3e300, 1});

  Database target;
  ASSERT_EQ(1, c__tvbinitfromdb(target, source)) << target.lastError();
  // The source's symbols were read from its file for the copy.
  ASSERT_EQ(1, c__tvbclosetvf(source, 0));
  EXPECT_FALSE(wasNeverLoaded(source, "p"));

  EXPECT_EQ(dump(source), dump(target));
  EXPECT_EQ((std::vector<std::string>{"a 'beta'", "b 'alpha'"}), recordLines(target, target.symbol("i")));
  EXPECT_EQ((std::vector<std::string>{"a 'beta'", "d 'delta'"}), recordLines(target, target.symbol("s")));
  EXPECT_EQ(target.symbol("i"), target.symbol("ii"));
  EXPECT_EQ(target.symbol("*"), target.symbol("u"));
  EXPECT_EQ("p type 1 subtype 0 '' (ii,k?)", exchange_test::describe(target, target.symbol("p")));
  for (const char* name : {"i", "p", "x", "s", "e"}) {
    EXPECT_EQ(intAnswer(source, source.symbol(name), TRV_SYMINFO_NUMBER),
              intAnswer(target, target.symbol(name), TRV_SYMINFO_NUMBER))
        << name;
  }
  for (int uel = 1; uel <= 4; ++uel) {
    char a[TRV_SSSIZE], b[TRV_SSSIZE];
    ASSERT_EQ(1, c__tvbgetuelbyindex(source, uel, a));
    ASSERT_EQ(1, c__tvbgetuelbyindex(target, uel, b));
    EXPECT_STREQ(a, b);
  }

  // Independent: a change to the copy does not reach the source, nor a new text.
  tvbRecordHandle* rec = nullptr;
  const char* key[2] = {"a", "c"};
  ASSERT_EQ(1, c__tvbfindrecord(target, target.symbol("p"), key, &rec));
  c__tvbsetlevel(target, rec, 42);
  c__tvbfreesymboliterator(target, rec);
  ASSERT_EQ(1, c__tvbfindrecord(target, target.symbol("s"), key, &rec));
  c__tvbsetelemtext(target, rec, "changed");
  c__tvbfreesymboliterator(target, rec);
  EXPECT_EQ("a.c 1(3ff0000000000000)", recordLines(source, source.symbol("p"))[0]);
  EXPECT_EQ("a 'beta'", recordLines(source, source.symbol("s"))[0]);
}

TEST_F(DatabaseCopy, SymbolsWaitingInAHostProgramAreCopiedEmpty) {
  Database source;
  source.record(source.add("p", 1, TRV_DT_PAR), {"a"}, {1});
  ASSERT_EQ(1, c__tvbinitfromcmex(source, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  Database target;
  ASSERT_EQ(1, c__tvbinitfromdb(target, source)) << target.lastError();
  EXPECT_TRUE(recordLines(target, target.symbol("p")).empty());
  EXPECT_EQ("0", intAnswer(target, target.symbol("p"), TRV_SYMINFO_RECORD_COUNT));
}

TEST_F(DatabaseCopy, RunningOutOfMemoryFailsCleanly) {
  writeFile();
  Database first;  // the TVF library is loaded once, before counting
  for (long n = 0;; ++n) {
    long before = tvbtest::liveAllocations();
    tvbHandle *source = nullptr, *target = nullptr;
    char msg[TRV_SSSIZE];
    ASSERT_EQ(1, tvbcreate(&source, msg, sizeof msg));
    ASSERT_EQ(1, tvbcreate(&target, msg, sizeof msg));
    ASSERT_EQ(1, c__tvbinitfromtvf(source, path.c_str()));
    tvbtest::failAllocationAfter(n);
    int rc = c__tvbinitfromdb(target, source);
    bool injected = tvbtest::injectedFailure();
    tvbtest::stopFailing();
    if (!rc) {
      c__tvbgetlasterror(target, msg);
      EXPECT_NE("", std::string(msg)) << "after " << n << " allocations";
    }
    tvbfree(&source);
    tvbfree(&target);
    EXPECT_EQ(before, tvbtest::liveAllocations()) << "after " << n << " allocations";
    if (!injected) {
      EXPECT_EQ(1, rc);
      break;
    }
  }
}

}  // namespace
