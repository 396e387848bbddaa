// Solving through the database: results read from the model after each solve, scenarios that turn infeasible
// and feasible again on the held instance, solvers taking turns, the time of the solver call, and a database
// freed while it holds an instance.
#include "model/model_fixture.h"

namespace {

using model_test::kTransport;
using model_test::ModelTest;

class ModelSolve : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    loadFile(kTransport);
    prepare();
  }
  // Demand of new-york, chicago and topeka, into b.
  void setDemand(double newYork, double chicago, double topeka) {
    tvbSymbol* demand = parameter(("b" + std::to_string(++scenario)).c_str(), 1,
                                  {{{"new-york"}, newYork}, {{"chicago"}, chicago}, {{"topeka"}, topeka}});
    tvbSymbol* b = nullptr;
    if (!c__tvbfindsymbol(db, "b", &b)) b = addSymbol("b", 1, TRV_DT_PAR);
    ASSERT_EQ("", update(b, 0, demand, 2));
  }
  double cost() { return levelOf("cost", {}); }
  double price(const char* market) { return values("demand", {market})[TRV_FIELD_MARGINAL]; }
  int scenario = 0;
};

TEST_F(ModelSolve, ResultsAreReadFromTheModelAfterEachSolve) {
  ASSERT_EQ("", solve("CLP"));
  EXPECT_NEAR(153.675, cost(), 1e-9);
  EXPECT_NEAR(275, levelOf("x", {"san-diego", "topeka"}), 1e-9);
  EXPECT_NEAR(0.225, price("new-york"), 1e-9);
  // Demand up at chicago: the next read sees the new solution.
  setDemand(325, 320, 275);
  ASSERT_EQ("", solve("CLP"));
  EXPECT_NEAR(153.675 + 20 * 0.153, cost(), 1e-9);
  EXPECT_EQ(320, levelOf("b_var", {"chicago"}));
}

TEST_F(ModelSolve, ScenariosTurnInfeasibleAndFeasibleAgainOnTheHeldInstance) {
  struct Scenario {
    double scale;
    int modelStatus;
    double cost;
  };
  const Scenario scenarios[] = {{1.0, RUNDD_MODEL_OPTIMAL, 153.675},
                                {1.2, RUNDD_MODEL_INFEASIBLE, 0},
                                {0.9, RUNDD_MODEL_OPTIMAL, 138.3075},
                                {1.3, RUNDD_MODEL_INFEASIBLE, 0},
                                {1.0, RUNDD_MODEL_OPTIMAL, 153.675}};
  for (const Scenario& s : scenarios) {
    setDemand(325 * s.scale, 300 * s.scale, 275 * s.scale);
    ASSERT_EQ("", solve("CLP")) << s.scale;
    EXPECT_EQ(s.modelStatus, tvpModelStat(model)) << s.scale;
    if (s.modelStatus == RUNDD_MODEL_OPTIMAL) {
      EXPECT_NEAR(s.cost, cost(), 1e-6) << s.scale;
    }
  }
}

TEST_F(ModelSolve, SolversTakeTurnsWithTheSameResults) {
  setDemand(300, 300, 300);
  for (const char* solver : {"CLP", "GLPK", "clp", "CLP", "glpk"}) {
    double seconds = -1;
    ASSERT_EQ(1, c__tvbcallsolvertimed(db, solver, &seconds)) << lastError();
    EXPECT_GE(seconds, 0) << solver;
    EXPECT_EQ(RUNDD_MODEL_OPTIMAL, tvpModelStat(model)) << solver;
    EXPECT_NEAR(151.2, cost(), 1e-6) << solver;
  }
}

TEST_F(ModelSolve, OnlyTheModelsSymbolsAreReadAgainAndTheirOldRecordHandlesKnowIt) {
  ASSERT_EQ("", solve("CLP"));
  tvbSymbol* own = parameter("own", 1, {{{"chicago"}, 1}});
  tvbRecordHandle* rec = find(symbol("x"), {"seattle", "chicago"});
  ASSERT_NE(nullptr, rec);
  setDemand(325, 200, 275);
  ASSERT_EQ("", solve("CLP"));
  double level = 0;
  EXPECT_EQ("The record handle of symbol x stands on no record (its record was removed)",
            errorOf(c__tvbgetlevel(db, rec, &level)));
  c__tvbfreesymboliterator(db, rec);
  EXPECT_EQ(std::vector<std::string>{"chicago"}, keys(own));
  EXPECT_NEAR(200, levelOf("x", {"seattle", "chicago"}), 1e-9);
}

TEST_F(ModelSolve, AnUnknownSolverFailsBeforeTheModelIsTouched) {
  setDemand(900, 0, 0);
  EXPECT_EQ("Invalid solver name: CPLEX", solve("CPLEX"));
  EXPECT_EQ(RUNDD_MODEL_NO_SOLUTION, tvpModelStat(model));
  EXPECT_EQ("No solver name specified", solve(nullptr));
}

TEST_F(ModelSolve, ADatabaseFreedWithAHeldInstanceReleasesIt) {
  ASSERT_EQ("", solve("CLP"));
  tvbfree(&db);  // the sanitizers' leak check sees the instance go
  EXPECT_EQ(RUNDD_MODEL_OPTIMAL, tvpModelStat(model));
}

TEST_F(ModelSolve, RegisteringAnotherModelReleasesTheHeldInstanceAndWaitsForInitUpdate) {
  ASSERT_EQ("", solve("CLP"));
  void* other = nullptr;
  tvpXCreate(&other);
  char msg[TRV_SSSIZE];
  ASSERT_EQ(1, CtvpLoadMathProg(other, kTransport.c_str(), nullptr, msg, sizeof msg)) << msg;
  ASSERT_EQ(1, c__tvbregistertvp(db, other)) << lastError();
  EXPECT_EQ("The database is not prepared for model updates: call tvbInitUpdate first", solve("CLP"));
  ASSERT_EQ(1, c__tvbinitupdate(db, other)) << lastError();
  ASSERT_EQ("", solve("CLP"));
  EXPECT_EQ(RUNDD_MODEL_OPTIMAL, tvpModelStat(other));
  tvbfree(&db);
  tvpXFree(&other);
}

// An instance that could not be made ready is not held: the next call makes one again.
TEST_F(ModelTest, ASolverThatCannotTakeTheModelIsMadeReadyAgainNextTime) {
  load(R"(var n{k in 1..2} integer >= 0, <= 3;
          maximize z: n[1] + 2 * n[2];
          s.t. c: n[1] + n[2] <= 4.5;
          end;)");
  prepare();
  EXPECT_EQ("readyapi failed", solve("CLP"));
  EXPECT_EQ("readyapi failed", solve("CLP"));
  ASSERT_EQ("", solve("GLPK"));
  EXPECT_EQ(7, levelOf("z", {}));
}

}  // namespace
