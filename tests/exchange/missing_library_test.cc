// A database made where the TVF library cannot be found is usable all the same; its last error says why,
// and the file operations fail with that reason. Every scenario runs in a fresh child process: once a
// process has loaded the library it stays loaded.
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "tvbcclib.h"

namespace {

std::string lastError(tvbHandle* db) {
  char msg[TRV_SSSIZE];
  c__tvbgetlasterror(db, msg);
  return msg;
}

const std::string kReason = "TVF create did not succeed: Could not load shared library /nonexistent/libtvfdclib.so: ";

TEST(MissingTvfLibrary, TheDatabaseIsMadeAndTheReasonKept) {
  EXPECT_PASSES_IN_CHILD([] {
    tvbHandle* db = nullptr;
    char msg[TRV_SSSIZE] = "junk";
    ASSERT_EQ(1, tvbcreated(&db, "/nonexistent", msg, sizeof msg));
    EXPECT_STREQ("", msg);
    char error[TRV_SSSIZE];
    EXPECT_EQ(1, c__tvbgetlasterror(db, error));
    std::string reason = error;
    EXPECT_EQ(0u, reason.find(kReason)) << reason;

    // The database works as usual.
    tvbSymbol* p = nullptr;
    ASSERT_EQ(1, c__tvbaddsymbol(db, "p", 1, TRV_DT_PAR, 0, "", &p));
    const char* key[1] = {"a"};
    tvbRecordHandle* rec = nullptr;
    ASSERT_EQ(1, c__tvbaddrecord(db, p, key, &rec));
    c__tvbfreesymboliterator(db, rec);

    // Reading and writing files need the library: they fail with the reason.
    tvbHandle* empty = nullptr;
    ASSERT_EQ(1, tvbcreated(&empty, "/nonexistent", msg, sizeof msg));
    EXPECT_EQ(0, c__tvbinitfromtvf(empty, "/tmp/any.tvf"));
    EXPECT_EQ(reason, lastError(empty));
    EXPECT_EQ(0, c__tvbwritetvf(db, "/tmp/any.tvf", 0));
    EXPECT_EQ(0u, lastError(db).find(kReason)) << lastError(db);
    tvbfree(&empty);
    tvbfree(&db);
  });
}

TEST(MissingTvfLibrary, ADatabaseMadeLaterFindsTheLibraryBesideTvbcclib) {
  EXPECT_PASSES_IN_CHILD([] {
    tvbHandle *missing = nullptr, *db = nullptr;
    char msg[TRV_SSSIZE];
    ASSERT_EQ(1, tvbcreated(&missing, "/nonexistent", msg, sizeof msg));
    ASSERT_EQ(1, tvbcreate(&db, msg, sizeof msg));
    EXPECT_EQ(0, c__tvbgetlasterror(db, msg)) << msg;
    EXPECT_EQ(0, c__tvbinitfromtvf(db, "/nonexistent/file.tvf"));
    EXPECT_EQ(0u, lastError(db).find("Error opening TVF file: ")) << lastError(db);
    tvbfree(&missing);
    tvbfree(&db);
  });
}

}  // namespace
