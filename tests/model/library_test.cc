// The model's libraries loaded at run time from the database's system directory. Each scenario runs in a
// fresh child process: once a process has loaded a library it stays loaded.
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "rundd.h"
#include "tvbcclib.h"

namespace {

std::string lastError(tvbHandle* db) {
  char msg[TRV_SSSIZE];
  c__tvbgetlasterror(db, msg);
  return msg;
}

TEST(ModelLibraries, AreLoadedFromTheSystemDirectoryAndAMissingOneIsNamed) {
  EXPECT_PASSES_IN_CHILD([] {
    void* model = nullptr;
    char msg[TRV_SSSIZE];
    ASSERT_EQ(1, tvpXCreate(&model));
    ASSERT_EQ(1, CtvpLoadMathProg(model, TRANSPORT_MODEL, nullptr, msg, sizeof msg)) << msg;

    tvbHandle* nowhere = nullptr;
    ASSERT_EQ(1, tvbcreated(&nowhere, "/nonexistent", msg, sizeof msg));
    EXPECT_EQ(0, c__tvbinitfromdict(nowhere, model));
    const std::string reason = "Error in tvpGetReady: Could not load shared library /nonexistent/librunddclib.so: ";
    EXPECT_EQ(0u, lastError(nowhere).find(reason)) << lastError(nowhere);
    tvbfree(&nowhere);

    tvbHandle* db = nullptr;
    ASSERT_EQ(1, tvbcreated(&db, LIBRARY_DIR, msg, sizeof msg));
    ASSERT_EQ(1, c__tvbinitfromdict(db, model)) << lastError(db);
    ASSERT_EQ(1, c__tvbinitupdate(db, model)) << lastError(db);
    ASSERT_EQ(1, c__tvbcallsolver(db, "CLP")) << lastError(db);
    EXPECT_EQ(RUNDD_MODEL_OPTIMAL, tvpModelStat(model));
    tvbfree(&db);
    tvpXFree(&model);
  });
}

}  // namespace
