// Solving the test models with GLPK and CLP, afresh and on a held instance, against glpsol's solutions of the
// same models; warm re-solves against fresh ones.
#include <cmath>

#include "rundd_test_support.h"

namespace rundd_test {
namespace {

enum class Path { kAfresh, kHeld };

struct SolveCase {
  const char *model;
  const char *data;
  const char *solver;
  Path path;
  int model_status;
  bool unique;  // levels and marginals are unique, so they must agree with glpsol's
};

void Solve(Instance &model, const char *solver, Path path) {
  if (path == Path::kAfresh) {
    ASSERT_EQ(SolveAfresh(model, solver), "");
    return;
  }
  HeldSolver held(solver);
  ASSERT_EQ(held.Ready(model), 0) << held.LastError();
  ASSERT_EQ(held.Solve(model), 0) << held.LastError();
}

void ExpectNear(const std::vector<double> &actual, const std::vector<double> &expected, size_t skip, const char *what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (size_t k = 0; k < actual.size(); ++k) {
    if (k == skip) continue;
    EXPECT_NEAR(actual[k], expected[k], 1e-7) << what << " " << k;
  }
}

TEST(Solve, ObjectiveLevelsAndMarginalsAgreeWithGlpsol) {
  const SolveCase cases[] = {
      {"transport.mod", "", "GLPK", Path::kAfresh, RUNDD_MODEL_OPTIMAL, false},
      {"transport.mod", "", "CLP", Path::kHeld, RUNDD_MODEL_OPTIMAL, false},
      {"transport.mod", "transport.dat", "glpk", Path::kAfresh, RUNDD_MODEL_OPTIMAL, true},
      {"transport.mod", "transport.dat", "clp", Path::kHeld, RUNDD_MODEL_OPTIMAL, true},
      {"features.mod", "", "GLPK", Path::kAfresh, RUNDD_MODEL_OPTIMAL, true},
      {"features.mod", "", "CLP", Path::kHeld, RUNDD_MODEL_OPTIMAL, true},
      {"features.mod", "", "CLP", Path::kAfresh, RUNDD_MODEL_OPTIMAL, true},
      {"features.mod", "", "GLPK", Path::kHeld, RUNDD_MODEL_OPTIMAL, true},
      {"integer.mod", "", "GLPK", Path::kAfresh, RUNDD_MODEL_OPTIMAL, true},
      {"infeasible.mod", "", "GLPK", Path::kAfresh, RUNDD_MODEL_INFEASIBLE, false},
      {"infeasible.mod", "", "CLP", Path::kHeld, RUNDD_MODEL_INFEASIBLE, false},
      {"unbounded.mod", "", "GLPK", Path::kAfresh, RUNDD_MODEL_UNBOUNDED, false},
      {"unbounded.mod", "", "CLP", Path::kHeld, RUNDD_MODEL_UNBOUNDED, false},
  };
  for (const SolveCase &c : cases) {
    SCOPED_TRACE(std::string(c.model) + " " + c.data + " " + c.solver + (c.path == Path::kHeld ? " held" : ""));
    Instance model;
    ASSERT_EQ(model.Load(c.model, c.data), 1) << LastError(model);
    ASSERT_NO_FATAL_FAILURE(Solve(model, c.solver, c.path));
    EXPECT_EQ(tvpModelStat(model), c.model_status);
    EXPECT_EQ(tvpSolveStat(model), RUNDD_SOLVE_NORMAL);
    if (c.model_status != RUNDD_MODEL_OPTIMAL) continue;
    const Reference reference = Glpsol(c.model, c.data);
    ASSERT_TRUE(reference.optimal);
    EXPECT_NEAR(tvpGetObjVal(model), reference.objective, 1e-7);
    EXPECT_NEAR(tvpGetEquLOne(model, 0), reference.objective, 1e-7) << "the objective row carries the objective";
    if (!c.unique) continue;
    ExpectNear(Levels(model, true), reference.column_level, -1, "column level");
    ExpectNear(Levels(model, false), reference.row_level, 0, "row level");
    if (tvpModelType(model) == RUNDD_MODEL_TYPE_MIP) continue;  // glpsol writes no marginals for these
    ExpectNear(Marginals(model, true), reference.column_marginal, -1, "column marginal");
    ExpectNear(Marginals(model, false), reference.row_marginal, -1, "row marginal");
  }
}

TEST(Solve, IntegerSolutionCarriesTheMarginalsOfItsFixedLinearProgram) {
  Instance model;
  ASSERT_EQ(model.Load("integer.mod"), 1);
  ASSERT_EQ(SolveAfresh(model, "GLPK"), "");
  // staffing: 2 crews - overtime - (projects built) >= 0.5 binds with overtime between its bounds, so a unit
  // more costs 1.
  const int staffing = 2;
  EXPECT_NEAR(tvpGetEquLOne(model, staffing), 0.5, 1e-9);
  double level, marginal;
  int basis, condition;
  ASSERT_EQ(tvpGetSolutionEquRec(model, staffing, &level, &marginal, &basis, &condition), 1);
  EXPECT_NEAR(marginal, -1, 1e-9);
  EXPECT_EQ(basis, RUNDD_BASIS_AT_LOWER);
  EXPECT_EQ(condition, RUNDD_CONDITION_OK);
}

TEST(Solve, ClpRefusesIntegerColumnsAndSaysSo) {
  Instance model;
  ASSERT_EQ(model.Load("integer.mod"), 1);
  const std::string expected = "CLP cannot solve models with integer columns (this one has 5); use GLPK";
  EXPECT_EQ(SolveAfresh(model, "CLP"), expected);
  HeldSolver held("CLP");
  EXPECT_NE(held.Ready(model), 0);
  EXPECT_EQ(held.LastError(), expected);
  EXPECT_EQ(held.Solve(model), 1) << "nothing was made ready";
  EXPECT_EQ(tvpSolveStat(model), RUNDD_SOLVE_CAPABILITY);
}

TEST(Solve, IterationLimitStopsTheSolveWithItsStatus) {
  Instance model;
  ASSERT_EQ(model.Load("transport.mod"), 1);
  ASSERT_EQ(SolveAfresh(model, "GLPK", 1), "");
  EXPECT_EQ(tvpSolveStat(model), RUNDD_SOLVE_ITERATION_LIMIT);
  EXPECT_EQ(tvpModelStat(model), RUNDD_MODEL_INTERMEDIATE_INFEASIBLE);
}

TEST(Solve, RaisedInterruptStopsSolvesUntilCleared) {
  Instance model;
  ASSERT_EQ(model.Load("features.mod"), 1);
  tvhTerminateRaise(model.env());
  ASSERT_EQ(SolveAfresh(model, "GLPK"), "");
  EXPECT_EQ(tvpSolveStat(model), RUNDD_SOLVE_USER_INTERRUPT);
  EXPECT_EQ(tvpModelStat(model), RUNDD_MODEL_NO_SOLUTION);
  tvhTerminateClear(model.env());
  ASSERT_EQ(SolveAfresh(model, "CLP"), "");
  EXPECT_EQ(tvpSolveStat(model), RUNDD_SOLVE_NORMAL);
}

// A change to the instance between two solves of a held CLP instance; the changes add up.
struct Change {
  const char *what;
  void (*apply)(tvpHandle_t);
};

TEST(Solve, WarmResolveAfterChangesEqualsAFreshSolve) {
  const Change changes[] = {
      {"alternative upper bound of x",
       [](tvpHandle_t m) {
         tvpSetAltVarUpperOne(m, 0, 1.5);
         tvpAltBoundsSet(m, 1);
       }},
      {"alternative right-hand side of the ranged row",
       [](tvpHandle_t m) {
         tvpSetAltRHSOne(m, 2, 0);  // 2 <= capacity <= 7 becomes 0 <= capacity <= 5
         tvpAltRHSSet(m, 1);
       }},
      {"alternative bounds fixing the free column",
       [](tvpHandle_t m) {
         tvpSetAltVarLowerOne(m, 3, 2);
         tvpSetAltVarUpperOne(m, 3, 2);
       }},
      {"a fixing that leaves nothing feasible", [](tvpHandle_t m) { tvpSetAltVarLowerOne(m, 3, 4); }},
      {"alternatives switched off",
       [](tvpHandle_t m) {
         tvpAltBoundsSet(m, 0);
         tvpAltRHSSet(m, 0);
       }},
      {"a level as a warm start", [](tvpHandle_t m) { tvpSetVarLOne(m, 1, 3); }},
  };
  Instance warm;
  ASSERT_EQ(warm.Load("features.mod"), 1);
  // Two held instances of one model take turns, so each must also push what the other has already taken in.
  HeldSolver first("CLP"), second("CLP");
  for (HeldSolver *h : {&first, &second}) {
    ASSERT_EQ(h->Ready(warm), 0);
    ASSERT_EQ(h->Solve(warm), 0);
  }
  for (size_t k = 0; k < std::size(changes); ++k) {
    SCOPED_TRACE(changes[k].what);
    HeldSolver &held = k % 2 == 0 ? first : second;
    changes[k].apply(warm);
    ASSERT_EQ(held.Modify(), 0) << held.LastError();
    ASSERT_EQ(held.Solve(warm), 0) << held.LastError();
    for (const char *solver : {"GLPK", "CLP"}) {
      Instance fresh;
      ASSERT_EQ(fresh.Load("features.mod"), 1);
      for (size_t i = 0; i <= k; ++i) changes[i].apply(fresh);
      ASSERT_EQ(SolveAfresh(fresh, solver), "");
      EXPECT_EQ(tvpModelStat(warm), tvpModelStat(fresh)) << solver;
      if (tvpModelStat(fresh) != RUNDD_MODEL_OPTIMAL) continue;
      EXPECT_NEAR(tvpGetObjVal(warm), tvpGetObjVal(fresh), 1e-9) << solver;
      ExpectNear(Levels(warm, true), Levels(fresh, true), -1, solver);
    }
  }
}

}  // namespace
}  // namespace rundd_test
