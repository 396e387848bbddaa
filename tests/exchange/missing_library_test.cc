// A database made where the TVF library cannot be found is usable all the same; its last error says why,
// and the file operations fail with that reason. The scenario runs in a fresh child process: once a process
// has loaded the library it stays loaded.
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "support/database.h"
#include "tvbcclib.h"

namespace {

TEST(MissingTvfLibrary, ADatabaseIsMadeWithoutIt) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string reason =
        "TVF create did not succeed: Could not load shared library /nonexistent/libtvfdclib.so: ";
    tvbHandle* db = nullptr;
    char msg[TRV_SSSIZE] = "junk";
    ASSERT_EQ(1, tvbcreated(&db, "/nonexistent", msg, sizeof msg));
    EXPECT_STREQ("", msg);
    EXPECT_EQ(1, c__tvbgetlasterror(db, msg));
    const std::string full = msg;
    EXPECT_EQ(0u, full.find(reason)) << full;
    // The database works as usual.
    tvbSymbol* p = nullptr;
    ASSERT_EQ(1, c__tvbaddsymbol(db, "p", 1, TRV_DT_PAR, 0, "", &p));
    const char* key[1] = {"a"};
    tvbRecordHandle* rec = nullptr;
    ASSERT_EQ(1, c__tvbaddrecord(db, p, key, &rec));
    c__tvbfreesymboliterator(db, rec);
    // Reading and writing files need the library: they fail with the reason.
    tvbtest::Database empty("/nonexistent");
    EXPECT_EQ(0, c__tvbinitfromtvf(empty, "/tmp/any.tvf"));
    EXPECT_EQ(full, empty.lastError());
    EXPECT_EQ(0, c__tvbwritetvf(db, "/tmp/any.tvf", 0));
    c__tvbgetlasterror(db, msg);
    EXPECT_EQ(0u, std::string(msg).find(reason)) << msg;
    tvbfree(&db);
    // A database made later, without a directory, finds the library beside libtvbcclib.so.
    tvbtest::Database later;
    EXPECT_EQ(0, c__tvbgetlasterror(later, msg)) << msg;
    EXPECT_EQ(0, c__tvbinitfromtvf(later, "/nonexistent/file.tvf"));
    EXPECT_EQ(0u, later.lastError().find("Error opening TVF file: ")) << later.lastError();
  });
}

}  // namespace
