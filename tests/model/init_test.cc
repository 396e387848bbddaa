// Tying a database to a model: registration, initialising from the dictionary, preparing updates, and the
// model as the source of its symbols' records, loaded on demand or streamed into a TVF file.
#include <functional>

#include "model/model_fixture.h"

namespace {

using model_test::kInf;
using model_test::kTransport;
using model_test::ModelTest;

using ModelInit = ModelTest;

TEST_F(ModelInit, DictionaryGivesLabelsInItsOrderAndSymbolsThatWaitForTheModel) {
  loadFile(kTransport);
  ASSERT_EQ(1, c__tvbinitfromdict(db, model)) << lastError();
  char label[TRV_SSSIZE];
  std::vector<std::string> labels;
  for (int k = 1; c__tvbgetuelbyindex(db, k, label); ++k) labels.push_back(label);
  EXPECT_EQ((std::vector<std::string>{"seattle", "new-york", "chicago", "topeka", "san-diego"}), labels);

  struct Expected {
    const char* name;
    int dim, type, userInfo;
  };
  const Expected expected[] = {{"x", 2, TRV_DT_VAR, TRV_VAR_POSITIVE},
                               {"b_var", 1, TRV_DT_VAR, TRV_VAR_POSITIVE},
                               {"cost", 0, TRV_DT_EQU, TRV_EQU_NB},
                               {"supply", 1, TRV_DT_EQU, TRV_EQU_LE},
                               {"demand", 1, TRV_DT_EQU, TRV_EQU_GE}};
  ASSERT_EQ(5, dbInfo(TRV_INFO_SYMBOL_COUNT));
  for (int i = 0; i < 5; ++i) {
    tvbSymbol* sym = nullptr;
    ASSERT_EQ(1, c__tvbgetsymbolbyindex(db, i, &sym));
    char name[TRV_SSSIZE];
    int unused = 0;
    double dummy;
    c__tvbsymbolinfo(db, sym, TRV_SYMINFO_NAME, &unused, &dummy, name);
    EXPECT_STREQ(expected[i].name, name);
    EXPECT_EQ(expected[i].dim, intInfo(sym, TRV_SYMINFO_DIM)) << name;
    EXPECT_EQ(expected[i].type, intInfo(sym, TRV_SYMINFO_TYPE)) << name;
    EXPECT_EQ(expected[i].userInfo, intInfo(sym, TRV_SYMINFO_USERINFO)) << name;
  }
  tvbSymbol* domains[2];
  char buffers[2][TRV_SSSIZE];
  char* names[2] = {buffers[0], buffers[1]};
  ASSERT_EQ(1, c__tvbgetdomain(db, symbol("x"), 2, domains, names));
  EXPECT_EQ(universe(), domains[0]);
  // Until tvbInitUpdate the database has no source for them.
  EXPECT_EQ("Symbol x not initialized from TVF or TVP: 3", loadError("x"));
}

TEST_F(ModelInit, RefusalsOfInitFromDict) {
  loadFile(kTransport);
  void* unloaded = nullptr;
  tvpXCreate(&unloaded);
  struct Case {
    const char* label;  // registered first
    const char* name;   // a symbol added first
    int dim, type;
    void* model;
    std::string message;
  };
  const Case cases[] = {
      {"a", nullptr, 0, 0, model, "Uels present. Cannot load Uels from dictionary."},
      {nullptr, "z", 1, TRV_DT_VAR, model, "Variable/Equation symbol z does not exist in model"},
      {nullptr, "X", 1, TRV_DT_VAR, model, "Mismatch in dimension for symbol x"},
      {nullptr, "demand", 1, TRV_DT_PAR, model, "Mismatch in type for symbol demand"},
      {nullptr, nullptr, 0, 0, nullptr, "No model instance specified (the model handle is NULL)"},
      {nullptr, nullptr, 0, 0, unloaded, "No dictionary available"},
  };
  for (const Case& c : cases) {
    tvbtest::Database fresh;
    int nr;
    if (c.label) c__tvbmergeuel(fresh, c.label, &nr);
    if (c.name) fresh.add(c.name, c.dim, c.type);
    EXPECT_EQ(0, c__tvbinitfromdict(fresh, c.model)) << c.message;
    EXPECT_EQ(c.message, fresh.lastError());
  }
  tvpXFree(&unloaded);
}

TEST_F(ModelInit, OwnSymbolsOfTheModelStayTheSymbolsTheyAre) {
  loadFile(kTransport);
  tvbSymbol* demand = addSymbol("Demand", 1, TRV_DT_EQU, TRV_EQU_GE);
  ASSERT_EQ(1, c__tvbinitfromdict(db, model)) << lastError();
  EXPECT_EQ(demand, symbol("demand"));
  EXPECT_EQ(5, dbInfo(TRV_INFO_SYMBOL_COUNT));
}

TEST_F(ModelInit, RefusalsOfInitUpdate) {
  loadFile(kTransport);
  void* other = nullptr;
  tvpXCreate(&other);
  EXPECT_EQ("No model instance specified (the model handle is NULL)", errorOf(c__tvbinitupdate(db, nullptr)));
  EXPECT_EQ("No model registered with this database: call tvbRegisterTVP or tvbInitFromDict first",
            errorOf(c__tvbinitupdate(db, model)));
  ASSERT_EQ(1, c__tvbregistertvp(db, model)) << lastError();
  EXPECT_EQ("The model instance is not the one registered with this database (tvbRegisterTVP, tvbInitFromDict)",
            errorOf(c__tvbinitupdate(db, other)));
  tvpXFree(&other);

  tvbtest::Database fromFile;
  c__tvbinitfromtvf(fromFile, scratch.path("none.tvf").c_str());
  EXPECT_EQ(0, c__tvbinitupdate(fromFile, model));
  EXPECT_EQ("Database initialized from TVF cannot sync with model", fromFile.lastError());
}

TEST_F(ModelInit, RecordsComeFromTheModelWithBoundsInForceAndEquationBoundsFromTheRightHandSide) {
  loadFile(kTransport);
  prepare();
  EXPECT_EQ((std::vector<double>{0, 0, 0, kInf, 1}), values("x", {"seattle", "topeka"}));
  // The parameter variable is fixed at b.
  EXPECT_EQ((std::vector<double>{300, 0, 300, 300, 1}), values("b_var", {"chicago"}));
  EXPECT_EQ((std::vector<double>{0, 0, -kInf, 600, 1}), values("supply", {"san-diego"}));
  EXPECT_EQ(-kInf, values("cost", {})[TRV_FIELD_LOWER]);
  EXPECT_EQ(kInf, values("demand", {"topeka"})[TRV_FIELD_UPPER]);
}

// One row type code serves the whole equation: that of its first row.
TEST_F(ModelInit, TheFirstRowsTypeGivesEveryRowItsBounds) {
  load(R"(var y{k in 1..2} >= 0;
          s.t. range{k in 1..2}: k <= y[k] <= 2;  # ranged, then an equality
          minimize z: y[1] + y[2];
          end;)");
  prepare();
  EXPECT_EQ((std::vector<double>{0, 0, 1, kInf, 1}), values("range", {"1"}));
  EXPECT_EQ((std::vector<double>{0, 0, 2, kInf, 1}), values("range", {"2"}));
}

TEST_F(ModelInit, ASecondInitUpdateKeepsTheSnapshotOfTheFirst) {
  loadFile(kTransport);
  prepare();
  tvpSetVarLOne(model, 0, 42);  // x(seattle,new-york)
  ASSERT_EQ(1, c__tvbinitupdate(db, model)) << lastError();
  tvbSymbol* none = parameter("none", 2, {});
  ASSERT_EQ("", update(symbol("x"), 4, none, 1));  // no data: every level back to the snapshot's
  EXPECT_EQ(0, tvpGetVarLOne(model, 0));
}

TEST_F(ModelInit, WritingStreamsModelSymbolsWithoutLoadingThem) {
  loadFile(kTransport);
  prepare();
  const std::string file = scratch.path("model.tvf");
  ASSERT_EQ(1, c__tvbwritetvf(db, file.c_str(), 0)) << lastError();
  // Still not loaded: a change in the model shows at the first read.
  tvpSetVarLOne(model, 0, 42);
  EXPECT_EQ(42, levelOf("x", {"seattle", "new-york"}));

  tvbtest::Database copy;
  ASSERT_EQ(1, c__tvbinitfromtvf(copy, file.c_str()));
  EXPECT_EQ(300, copy.level(copy.symbol("b_var"), {"chicago"}));
}

TEST_F(ModelInit, ASymbolTheModelCannotFillFailsToLoadWithItsReason) {
  loadFile(kTransport);
  ASSERT_EQ(1, c__tvbregistertvp(db, model));  // the database keeps labels and symbols of its own
  int nr = 0;
  c__tvbmergeuel(db, "seattle", &nr);
  addAndFree(addSymbol("supply", 1, TRV_DT_EQU, TRV_EQU_LE), {"seattle"});
  addAndFree(addSymbol("x", 1, TRV_DT_VAR, TRV_VAR_POSITIVE), {"seattle"});
  ASSERT_EQ(1, c__tvbinitupdate(db, model)) << lastError();
  ASSERT_EQ("", solve("CLP"));
  EXPECT_EQ(
      "Label number 5 of symbol supply in the model lies outside the database's labels [1,1]: initialise the "
      "database from the model's dictionary",
      loadError("supply"));
  EXPECT_EQ(
      "Symbol x (a Variable of dimension 1) does not match the model's symbol of that name (a variable of "
      "dimension 2)",
      loadError("x"));
}

}  // namespace
