// A database tied to a MathProg model of librunddclib.so, and short helpers over both public interfaces. The
// database's special values are set so that infinities read as IEEE's (undefined 1e300, not available 2e300
// and epsilon 5e300 as by default).
#pragma once

#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "rundd.h"
#include "support/database.h"
#include "support/database_fixture.h"
#include "support/scratch_dir.h"

namespace model_test {

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kUndf = 1e300, kNa = 2e300, kEps = 5e300;

// The transportation model of the examples: x(i,j) shipments, b_var(j) demand fixed at the parameter b,
// cost (the objective), supply(i) and demand(j); optimal cost 153.675.
inline const std::string kTransport = TRANSPORT_MODEL;

class ModelTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    const double specials[5] = {kUndf, kNa, kInf, -kInf, kEps};
    ASSERT_EQ(1, c__tvbsetspecialvalues(db, specials));
    ASSERT_EQ(1, tvpXCreate(&model));
  }
  // The database goes before the model it holds a solver instance of.
  void TearDown() override {
    DatabaseTest::TearDown();
    tvpXFree(&model);
  }

  // Loads MathProg source (a model with its data) into model.
  void load(const std::string& source) {
    const std::string file = scratch.path("model.mod");
    std::ofstream(file) << source;
    loadFile(file);
  }
  void loadFile(const std::string& file) {
    char msg[TRV_SSSIZE];
    ASSERT_EQ(1, CtvpLoadMathProg(model, file.c_str(), nullptr, msg, sizeof msg)) << msg;
  }
  // tvbInitFromDict and tvbInitUpdate.
  void prepare() {
    ASSERT_EQ(1, c__tvbinitfromdict(db, model)) << lastError();
    ASSERT_EQ(1, c__tvbinitupdate(db, model)) << lastError();
  }

  // The five values of a variable's or equation's record, or its level alone for a parameter; empty with the
  // last error in failure when the record cannot be read.
  std::vector<double> values(const char* name, std::vector<const char*> labels) {
    tvbRecordHandle* rec = find(symbol(name), labels);
    if (!rec) return {};
    std::vector<double> result(5);
    int keys[GLOBAL_MAX_INDEX_DIM];
    c__tvbgetrecordraw(db, rec, static_cast<int>(labels.size()), keys, result.data());
    c__tvbfreesymboliterator(db, rec);
    return result;
  }
  // The message of the first read of a symbol's records, or "<loaded>".
  std::string loadError(const char* name) {
    tvbRecordHandle* rec = nullptr;
    const int rc = c__tvbfindfirstrecord(db, symbol(name), &rec);
    if (rec) c__tvbfreesymboliterator(db, rec);
    return rc || lastError().find("Cannot find a record") == 0 ? "<loaded>" : lastError();
  }
  double levelOf(const char* name, std::vector<const char*> labels) {
    std::vector<double> v = values(name, labels);
    return v.empty() ? NAN : v[TRV_FIELD_LEVEL];
  }
  // A parameter of the database with the given records.
  tvbSymbol* parameter(const char* name, int dim,
                       const std::vector<std::pair<std::vector<const char*>, double>>& data) {
    tvbSymbol* sym = addSymbol(name, dim, TRV_DT_PAR);
    for (const auto& [labels, value] : data) {
      tvbRecordHandle* rec = add(sym, labels);
      EXPECT_NE(nullptr, rec) << lastError();
      c__tvbsetlevel(db, rec, value);
      c__tvbfreesymboliterator(db, rec);
    }
    return sym;
  }
  // "" when the update succeeds, else its message; *unmatched receives noMatchCount.
  std::string update(tvbSymbol* modelSym, int action, tvbSymbol* dataSym, int updateType, int* unmatched = nullptr) {
    int count = -1;
    const int rc = c__tvbupdatemodelsymbol(db, modelSym, action, dataSym, updateType, &count);
    if (unmatched) *unmatched = count;
    return rc ? "" : lastError();
  }
  // "" when the solve succeeds, else its message.
  std::string solve(const char* solver) { return c__tvbcallsolver(db, solver) ? "" : lastError(); }

  // A column of the model as the solvers see it: alternative bounds switched on.
  struct Column {
    double level, lower, upper;
    bool operator==(const Column&) const = default;
  };
  Column column(int j) {
    tvpAltBoundsSet(model, 1);
    return {tvpGetVarLOne(model, j), tvpGetVarLowerOne(model, j), tvpGetVarUpperOne(model, j)};
  }

  tvbtest::ScratchDir scratch;
  void* model = nullptr;
};

}  // namespace model_test
