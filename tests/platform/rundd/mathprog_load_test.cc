// Loading MathProg models: the instance's columns, rows and objective as the translator builds them, and the
// translator's messages for models it refuses.
#include <cmath>

#include "rundd_test_support.h"

namespace rundd_test {
namespace {

constexpr double kInf = INFINITY;

TEST(MathProgLoad, ColumnsKeepBoundsIntegralityAndStartingLevels) {
  Instance model;
  ASSERT_EQ(model.Load("features.mod"), 1) << LastError(model);
  EXPECT_EQ(tvpModelType(model), RUNDD_MODEL_TYPE_LP);
  ASSERT_EQ(tvpN(model), 5);
  struct Expected {
    double lower, upper, level;
  };
  // x in [0, 4], y >= 1, z = 2.5, w free, v in [-3, 0]: each starts at its bound nearest 0.
  const Expected columns[] = {{0, 4, 0}, {1, kInf, 1}, {2.5, 2.5, 2.5}, {-kInf, kInf, 0}, {-3, 0, 0}};
  for (int j = 0; j < 5; ++j) {
    SCOPED_TRACE(j);
    EXPECT_EQ(tvpGetVarLowerOne(model, j), columns[j].lower);
    EXPECT_EQ(tvpGetVarUpperOne(model, j), columns[j].upper);
    EXPECT_EQ(tvpGetVarLOne(model, j), columns[j].level);
    EXPECT_EQ(tvpGetVarScaleOne(model, j), 1);
  }
  tvpPinfSet(model, 1e300);
  tvpMinfSet(model, -1e300);
  EXPECT_EQ(tvpGetVarUpperOne(model, 1), 1e300) << "infinite bounds are reported as the values set";
  EXPECT_EQ(tvpGetVarLowerOne(model, 3), -1e300);

  Instance integer;
  ASSERT_EQ(integer.Load("integer.mod"), 1);
  EXPECT_EQ(tvpModelType(integer), RUNDD_MODEL_TYPE_MIP);
}

TEST(MathProgLoad, RowsKeepTypeAndRightHandSideAndTheObjectiveRowItsConstant) {
  Instance model;
  ASSERT_EQ(model.Load("features.mod"), 1);
  ASSERT_EQ(tvpM(model), 5);
  struct Expected {
    int type;
    double rhs, level;
  };
  // profit (the objective: its level holds the constant 10 besides 2 y + z at the start), waste (a further
  // objective: a free row), capacity (ranged, seen as >= 2), balance (w - x = 1), mix (x - y <= 2).
  const Expected rows[] = {{RUNDD_EQU_FREE, 0, 14.5},
                           {RUNDD_EQU_FREE, 0, 1},
                           {RUNDD_EQU_GREATER, 2, 1},
                           {RUNDD_EQU_EQUAL, 1, 0},
                           {RUNDD_EQU_LESS, 2, -1}};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(tvpGetEquTypeOne(model, i), rows[i].type);
    EXPECT_EQ(tvpGetRhsOne(model, i), rows[i].rhs);
    EXPECT_EQ(tvpGetEquLOne(model, i), rows[i].level);
  }
}

TEST(MathProgLoad, RefusedModelsGiveTheTranslatorsMessageAndLeaveTheInstanceAsItWas) {
  struct Refusal {
    const char *model, *data, *message_end;
  };
  const Refusal refusals[] = {
      {"syntax_error.mod", "", "syntax_error.mod:4: y not defined"},
      {"no_such_model.mod", "", "no_such_model.mod - No such file or directory"},
      {"transport.mod", "no_such_data.dat", "no_such_data.dat - No such file or directory"},
      {"transport.mod", "infeasible.mod", "infeasible.mod:2: syntax error in data section"},
  };
  Instance model;
  ASSERT_EQ(model.Load("features.mod"), 1);
  for (const Refusal &r : refusals) {
    SCOPED_TRACE(r.model);
    std::string message;
    EXPECT_EQ(model.Load(r.model, r.data, &message), 0);
    EXPECT_TRUE(message.ends_with(r.message_end)) << message;
    EXPECT_EQ(LastError(model), message);
    EXPECT_EQ(tvpN(model), 5) << "the model loaded before stays";
  }
  char msg[256];
  EXPECT_EQ(CtvpLoadMathProg(model, nullptr, nullptr, msg, sizeof msg), 0);
  EXPECT_STREQ(msg, "tvpLoadMathProg: no model file given");
}

TEST(MathProgLoad, ReloadingReplacesTheModelAndKeepsTheDictionaryHandle) {
  Instance model;
  ASSERT_EQ(model.Load("transport.mod"), 1);
  dctHandle_t dict = model.dict();
  EXPECT_EQ(dctNUels(dict), 5);
  ASSERT_EQ(model.Load("transport.mod", "transport.dat"), 1);
  EXPECT_EQ(model.dict(), dict);
  EXPECT_EQ(dctNUels(dict), 4);
  EXPECT_EQ(tvpN(model), 4);
  EXPECT_EQ(tvpModelStat(model), RUNDD_MODEL_NO_SOLUTION);
}

}  // namespace
}  // namespace rundd_test
