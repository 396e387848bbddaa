// The instance's alternatives, views and solution records as the database uses them between solves.
#include <cmath>

#include "rundd_test_support.h"

namespace rundd_test {
namespace {

TEST(Instance, AlternativeBoundsAreInForceWhileSwitchedOn) {
  Instance model;
  ASSERT_EQ(model.Load("features.mod"), 1);
  tvpPinfSet(model, 1e300);
  tvpSetAltVarLowerOne(model, 1, 3);
  tvpSetAltVarUpperOne(model, 1, 2e300);  // beyond the value of +infinity: infinite
  EXPECT_EQ(tvpGetVarLowerOne(model, 1), 1) << "the own bound while alternatives are off";
  tvpAltBoundsSet(model, 1);
  EXPECT_EQ(tvpGetVarLowerOne(model, 1), 3);
  EXPECT_EQ(tvpGetVarUpperOne(model, 1), 1e300);
  EXPECT_EQ(tvpGetVarUpperOne(model, 0), 4) << "alternative bounds start equal to the own ones";
  tvpSetAltRHSOne(model, 3, 5);
  tvpAltRHSSet(model, 1);
  EXPECT_EQ(tvpGetRhsOne(model, 3), 1) << "the own right-hand side stays what it was";
}

TEST(Instance, ViewsPutTheSwitchesBack) {
  Instance model;
  ASSERT_EQ(model.Load("features.mod"), 1);
  tvpSetAltVarUpperOne(model, 0, 1);
  tvpAltBoundsSet(model, 1);
  void *view = tvpViewStore(model);
  ASSERT_NE(view, nullptr);
  tvpAltBoundsSet(model, 0);
  tvpAltRHSSet(model, 1);
  tvpForceLinearSet(model, 1);
  EXPECT_EQ(tvpGetVarUpperOne(model, 0), 4);
  tvpViewRestore(model, &view);
  EXPECT_EQ(view, nullptr);
  EXPECT_EQ(tvpGetVarUpperOne(model, 0), 1);
  tvpViewRestore(model, &view);
  EXPECT_EQ(LastError(model), "tvpViewRestore: the view is not a stored view of this instance");
  tvpViewStore(model);  // never restored: freed with the instance
}

TEST(Instance, SolutionRecordsAndStatusesRoundTripAndNoRowHasNonlinearTerms) {
  Instance model;
  ASSERT_EQ(model.Load("features.mod"), 1);
  EXPECT_EQ(tvpModelStat(model), RUNDD_MODEL_NO_SOLUTION);
  ASSERT_EQ(tvpSetSolutionVarRec(model, 2, 7.5, -0.25, RUNDD_BASIS_BASIC, RUNDD_CONDITION_INFEASIBLE), 1);
  ASSERT_EQ(tvpSetSolutionEquRec(model, 4, 1.5, 2, RUNDD_BASIS_AT_UPPER, RUNDD_CONDITION_OK), 1);
  double level, marginal;
  int basis, condition;
  ASSERT_EQ(tvpGetSolutionVarRec(model, 2, &level, &marginal, &basis, &condition), 1);
  EXPECT_EQ(std::make_tuple(level, marginal, basis, condition),
            std::make_tuple(7.5, -0.25, RUNDD_BASIS_BASIC, RUNDD_CONDITION_INFEASIBLE));
  EXPECT_EQ(tvpGetVarStatOne(model, 2), RUNDD_BASIS_BASIC);
  EXPECT_EQ(tvpGetVarCStatOne(model, 2), RUNDD_CONDITION_INFEASIBLE);
  EXPECT_EQ(tvpGetEquStatOne(model, 4), RUNDD_BASIS_AT_UPPER);
  EXPECT_EQ(tvpGetEquCStatOne(model, 4), RUNDD_CONDITION_OK);
  EXPECT_EQ(Marginals(model, false)[4], 2);
  tvpSetEquLOne(model, 4, 3);
  EXPECT_EQ(tvpGetEquLOne(model, 4), 3);
  tvpModelStatSet(model, 13);
  tvpSolveStatSet(model, 13);
  EXPECT_EQ(tvpSolveStat(model), 13);

  std::vector<double> change(tvpM(model) + 1, 0.5);
  int errors = -1;
  ASSERT_EQ(tvpEvalGradNLUpdate(model, change.data(), 1, &errors), 1);
  EXPECT_EQ(change, std::vector<double>(6, 0.5));
  ASSERT_EQ(tvpEvalGradNLUpdate(model, change.data(), 0, &errors), 1);
  EXPECT_EQ(change, (std::vector<double>{0, 0, 0, 0, 0, 0.5}));
  EXPECT_EQ(errors, 0);
}

}  // namespace
}  // namespace rundd_test
