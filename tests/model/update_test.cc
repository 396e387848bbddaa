// Updating model symbols from data: the six actions with and without values, the three update types, the value
// rules, the count of data records that match no entry, and the refusals.
#include "model/model_fixture.h"

namespace {

using model_test::kEps;
using model_test::kInf;
using model_test::kNa;
using model_test::kUndf;
using model_test::ModelTest;

// Columns 0-2: y(1..3) in [0, 10]; columns 3-5: p_var(1..3) fixed at 2 (the parameter p); rows 0-2: e(k).
class ModelUpdate : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    load(R"(var y{k in 1..3} >= 0, <= 10;
            var p_var{k in 1..3} = 2;
            s.t. e{k in 1..3}: y[k] >= p_var[k];
            minimize z: sum{k in 1..3} y[k];
            end;)");
    prepare();
    addSymbol("p", 1, TRV_DT_PAR);  // the model's parameter, in the database
  }
  // A parameter over the labels 1..3 of the model.
  tvbSymbol* data(std::vector<std::pair<std::vector<const char*>, double>> records) {
    static int n = 0;
    return parameter(("data" + std::to_string(++n)).c_str(), 1, records);
  }
};

TEST_F(ModelUpdate, ActionsMoveLevelsAndAlternativeBounds) {
  struct Case {
    const char* what;
    int action;
    double startLevel, v;
    Column after;
  };
  const Case cases[] = {
      {"fix", 0, 5, 7, {7, 7, 7}},
      {"upper below the level lowers it", 1, 5, 3, {3, 0, 3}},
      {"upper above the level keeps it", 1, 5, 7, {5, 0, 7}},
      {"lower above the level raises it", 2, 5, 7, {7, 7, 10}},
      {"lower below the level keeps it", 2, 5, 3, {5, 3, 10}},
      {"both bounds fix", 3, 5, 4, {4, 4, 4}},
      {"infinity is a bound", 1, 5, kInf, {5, 0, kInf}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ("", update(symbol("y"), 4, data({{{"1"}, c.startLevel}}), 2)) << c.what;
    ASSERT_EQ("", update(symbol("y"), 3, data({}), 1)) << c.what;  // own bounds again
    ASSERT_EQ("", update(symbol("y"), c.action, data({{{"1"}, c.v}}), 2)) << c.what;
    EXPECT_EQ(c.after, column(0)) << c.what;
  }
}

TEST_F(ModelUpdate, UpdateTypesSayWhatEntriesWithoutDataGet) {
  ASSERT_EQ("", update(symbol("y"), 3, data({{{"1"}, 6}, {{"2"}, 6}, {{"3"}, 6}}), 2));
  struct Case {
    int updateType;
    Column second;  // y(2), which has no data
  };
  const Case cases[] = {{0, {0, 0, 0}}, {2, {6, 6, 6}}, {1, {6, 0, 10}}, {-7, {6, 0, 10}}};
  for (const Case& c : cases) {
    ASSERT_EQ("", update(symbol("y"), 3, data({{{"2"}, 6}}), 2));
    ASSERT_EQ("", update(symbol("y"), 3, data({{{"1"}, 1}}), c.updateType)) << c.updateType;
    EXPECT_EQ(c.second, column(1)) << c.updateType;
    EXPECT_EQ((Column{1, 1, 1}), column(0)) << c.updateType;
  }
  // Without data, action 0 puts the level of tvbInitUpdate back.
  ASSERT_EQ("", update(symbol("p"), 0, data({{{"1"}, 9}}), 2));
  ASSERT_EQ("", update(symbol("p"), 0, data({}), 1));
  EXPECT_EQ((Column{2, 2, 2}), column(3));
}

TEST_F(ModelUpdate, LevelsAndMarginalsOfEquations) {
  ASSERT_EQ("", update(symbol("e"), 4, data({{{"2"}, 8}}), 2));
  ASSERT_EQ("", update(symbol("e"), 5, data({{{"2"}, -3}}), 2));
  EXPECT_EQ(8, tvpGetEquLOne(model, 1));
  double level, marginal;
  int basis, condition;
  tvpGetSolutionEquRec(model, 1, &level, &marginal, &basis, &condition);
  EXPECT_EQ(8, level);
  EXPECT_EQ(-3, marginal);
}

TEST_F(ModelUpdate, ValuesEpsilonIsZeroInfinitiesStayAndNoNumbersAreRefused) {
  struct Case {
    double value;
    std::string error;
    double level = 0;
  };
  const Case cases[] = {
      {kEps, "", 0},
      {-1e301, "", -1e301},
      {kInf, "", kInf},
      {1e300 * 0.99, "", 1e300 * 0.99},
      {kNa, "Bad value nan"},
      {kUndf, "Bad value 1e+300"},
      {1.5e300, "Bad value 1.5e+300"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.error, update(symbol("e"), 4, data({{{"1"}, c.value}}), 2)) << c.value;
    if (c.error.empty()) {
      EXPECT_EQ(c.level, tvpGetEquLOne(model, 0)) << c.value;
    }
  }
}

TEST_F(ModelUpdate, UnmatchedDataRecordsAreCounted) {
  tvbSymbol* wide = parameter("wide", 2, {{{"1", "1"}, 4}});
  struct Case {
    tvbSymbol* data;
    int unmatched;
  };
  const Case cases[] = {
      {data({{{"1"}, 4}, {{"2"}, 4}}), 0},
      {data({{{"1"}, 4}, {{"elsewhere"}, 4}}), 1},
      {wide, 1},  // keys of another dimension never match
  };
  for (const Case& c : cases) {
    int unmatched = -1;
    EXPECT_EQ("", update(symbol("p"), 0, c.data, 2, &unmatched));
    EXPECT_EQ(c.unmatched, unmatched);
  }
}

TEST_F(ModelUpdate, Refusals) {
  tvbSymbol* good = data({{{"1"}, 4}});
  tvbSymbol* set = addSymbol("s", 1, TRV_DT_SET);
  tvbSymbol* q = parameter("q", 1, {});
  struct Case {
    tvbSymbol *modelSym, *dataSym;
    int action;
    std::string message;
  };
  const Case cases[] = {
      {nullptr, good, 0, "No TORV symbol handle specified"},
      {symbol("y"), nullptr, 0, "No Data symbol handle specified for TORV symbol y"},
      {set, good, 0, "TORV symbol s must be parameter, variable, or equation"},
      {symbol("y"), set, 0, "Data symbol s must be parameter"},
      {q, good, 0, "Could not find symbol q_var in model"},
      {symbol("y"), good, 6, "Invalid actionType, saw 6"},
      {symbol("y"), good, -1, "Invalid actionType, saw -1"},
      {symbol("e"), good, 1,
       "actionType 1 moves the level and bounds of variables; e is an equation of the model (use 4 or 5)"},
      {symbol("p"), good, 5, "actionType 5 sets levels or marginals; parameter p is fixed by its values (use 0 to 3)"},
  };
  const Column before = column(0);
  for (const Case& c : cases) {
    EXPECT_EQ(c.message, update(c.modelSym, c.action, c.dataSym, 2)) << c.message;
    EXPECT_EQ(before, column(0)) << c.message;
  }
}

TEST_F(ModelUpdate, NothingBeforeTheDatabaseIsPrepared) {
  tvbtest::Database other;
  ASSERT_EQ(1, c__tvbinitfromdict(other, model)) << other.lastError();
  int count = 0;
  const std::string unprepared = "The database is not prepared for model updates: call tvbInitUpdate first";
  EXPECT_EQ(0, c__tvbupdatemodelsymbol(other, other.symbol("y"), 0, data({}), 2, &count));
  EXPECT_EQ(unprepared, other.lastError());
  EXPECT_EQ(0, c__tvbcallsolver(other, "CLP"));
  EXPECT_EQ(unprepared, other.lastError());
}

}  // namespace
