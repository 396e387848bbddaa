// Every allocation of loading a model and solving it made to fail in turn: each failure must come out as a
// failed call with a message, never as a crash or a silent success, and (where the solver allows) no leak.
#include "rundd_test_support.h"
#include "support/allocation_failures.h"

namespace rundd_test {
namespace {

// Loads transport.mod and solves it afresh with allocation n failing: 1 when everything succeeded.
int LoadAndSolve(long n, const char *solver) {
  const std::string model_file = ModelPath("transport.mod");
  void *model = nullptr;
  tvbtest::failAllocationAfter(n);
  int ok = tvpXCreate(&model);
  char msg[256] = "";
  ok = ok && CtvpLoadMathProg(model, model_file.c_str(), "", msg, sizeof msg);
  ok = ok && CtvhCallSolver(tvpEnvironment(model), model, "", solver, 5, 0, "", "", 2e300, 2100000000, 2100000000,
                            2e300, 2e300, nullptr, msg) == 0;
  ok = ok && tvpModelStat(model) == RUNDD_MODEL_OPTIMAL;
  tvbtest::stopFailing();
  if (!ok && model != nullptr) {
    EXPECT_STRNE(msg, "") << "a failed call says why";
  }
  tvpXFree(&model);
  return ok ? 1 : 0;
}

TEST(AllocationFailure, LoadingAndSolvingWithGlpkFailCleanlyWithoutLeaks) {
  EXPECT_GT(tvbtest::failEachAllocation([](long n) { return LoadAndSolve(n, "GLPK"); }), 10);
}

// CLP does not free what it holds when an allocation fails inside it, so only the clean failure is checked.
TEST(AllocationFailure, SolvingWithClpFailsCleanly) {
  for (long n = 0; n < 100000; ++n) {
    const int ok = LoadAndSolve(n, "CLP");
    if (!tvbtest::injectedFailure()) {
      EXPECT_EQ(ok, 1) << "no allocation failed from " << n << " on";
      EXPECT_GT(n, 10);
      return;
    }
  }
  ADD_FAILURE() << "never succeeded";
}

}  // namespace
}  // namespace rundd_test
