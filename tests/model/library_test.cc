// The model's libraries loaded at run time from the database's system directory. Each scenario runs in a
// fresh child process: once a process has loaded a library it stays loaded.
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "rundd.h"
#include "support/database.h"
#include "tvbcclib.h"

namespace {

TEST(ModelLibraries, AreLoadedFromTheSystemDirectoryAndAMissingOneIsNamed) {
  EXPECT_PASSES_IN_CHILD([] {
    void* model = nullptr;
    char msg[TRV_SSSIZE];
    ASSERT_EQ(1, tvpXCreate(&model));
    ASSERT_EQ(1, CtvpLoadMathProg(model, TRANSPORT_MODEL, nullptr, msg, sizeof msg)) << msg;
    {
      tvbtest::Database nowhere("/nonexistent"), db(LIBRARY_DIR);
      EXPECT_EQ(0, c__tvbinitfromdict(nowhere, model));
      const std::string reason = "Error in tvpGetReady: Could not load shared library /nonexistent/librunddclib.so: ";
      EXPECT_EQ(0u, nowhere.lastError().find(reason)) << nowhere.lastError();
      ASSERT_EQ(1, c__tvbinitfromdict(db, model)) << db.lastError();
      ASSERT_EQ(1, c__tvbinitupdate(db, model)) << db.lastError();
      ASSERT_EQ(1, c__tvbcallsolver(db, "CLP")) << db.lastError();
      EXPECT_EQ(RUNDD_MODEL_OPTIMAL, tvpModelStat(model));
    }
    tvpXFree(&model);
  });
}

}  // namespace
