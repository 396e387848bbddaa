// Bad input: a missing or malformed configuration file, unknown solvers and options, indices out of range,
// NULL handles. Each fails with a message and nothing is printed.
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "rundd_test_support.h"

namespace rundd_test {
namespace {

std::string ConfigError(const std::string &file) {
  cfgHandle_t cfg = nullptr;
  EXPECT_EQ(cfgXCreate(&cfg), 1);
  const int rc = CcfgReadConfig(cfg, file.c_str());
  char msg[256];
  CcfgGetLastError(cfg, msg);
  cfgXFree(&cfg);
  return rc == 0 ? "" : msg;
}

TEST(Configuration, MissingOrMalformedFilesAreRefusedWithTheFileAndLine) {
  ScratchDir dir;
  EXPECT_EQ(ConfigError(dir.path("none.txt")),
            "Cannot open solver configuration file '" + dir.path("none.txt") + "': No such file or directory");
  struct Malformed {
    const char *text, *message;
  };
  const Malformed cases[] = {
      {"# solvers\n\nGLPK no glpk\nCLP yes\n", ":4: expected 3 fields (solver, held instance, engine), saw 2"},
      {"GLPK maybe glpk\n", ":1: held instance must be 'yes' or 'no', saw 'maybe'"},
      {"GLPK no simplex\n", ":1: unknown engine 'simplex' (known: glpk, clp)"},
      {"GLPK no glpk\nglpk yes clp\n", ":2: solver 'glpk' is listed twice"},
  };
  for (const Malformed &c : cases) {
    const std::string file = dir.path("trvcmpNT.txt");
    std::ofstream(file) << c.text;
    EXPECT_EQ(ConfigError(file), file + c.message);
  }
  EXPECT_EQ(ConfigError(RUNDD_CONFIG_PATH), "");
}

TEST(Configuration, SolversAreKnownByNameInAnyCaseWithTheirHeldInstanceSetting) {
  cfgHandle_t cfg = nullptr;
  ASSERT_EQ(cfgXCreate(&cfg), 1);
  ASSERT_EQ(CcfgReadConfig(cfg, RUNDD_CONFIG_PATH), 0);
  EXPECT_EQ(CcfgAlgNumber(cfg, "glpk"), 1);
  EXPECT_EQ(CcfgAlgNumber(cfg, "Clp"), 2);
  EXPECT_EQ(CcfgAlgNumber(cfg, "CPLEX"), 0);
  EXPECT_EQ(cfgAlgAllowsModifyProblem(cfg, 1), 0);
  EXPECT_EQ(cfgAlgAllowsModifyProblem(cfg, 2), 1);
  EXPECT_EQ(cfgAlgAllowsModifyProblem(cfg, 3), 0);
  void *solver = &cfg;
  char msg[256];
  EXPECT_EQ(CcfgAlgCreate(cfg, 3, &solver, "", msg), 0);
  EXPECT_EQ(solver, nullptr);
  EXPECT_STREQ(msg, "cfgAlgCreate: solver 3 is not in the configuration (2 solvers)");
  cfgXFree(&cfg);
}

TEST(Environment, SystemDirectoryHoldsTheLibraryAndItsConfigurationUnlessGiven) {
  Instance model;
  char dir[256];
  EXPECT_EQ(CtvhGetStrOpt(model.env(), "namesysdir", dir), dir);
  EXPECT_EQ(std::filesystem::path(dir), std::filesystem::path(RUNDD_LIBRARY_PATH).parent_path() / "");
  EXPECT_TRUE(std::filesystem::exists(std::string(dir) + RUNDD_CONFIG_FILE));
  EXPECT_EQ(CtvhGetStrOpt(model.env(), "NameScrDir", dir), dir);
  EXPECT_STREQ(dir, "");
  char msg[256];
  CtvhGetLastError(model.env(), msg);
  EXPECT_STREQ(msg, "tvhGetStrOpt: unknown option 'NameScrDir'");

  ScratchDir scratch;
  Instance elsewhere(scratch.path("sys").c_str());
  CtvhGetStrOpt(elsewhere.env(), "NameSysDir", dir);
  EXPECT_EQ(std::string(dir), scratch.path("sys/"));
  ASSERT_EQ(elsewhere.Load("features.mod"), 1);
  EXPECT_EQ(SolveAfresh(elsewhere, "GLPK"), "Cannot open solver configuration file '" +
                                                scratch.path("sys/trvcmpNT.txt") + "': No such file or directory");
}

TEST(Failures, UnknownSolversAndIndicesOutOfRangeFailWithAMessage) {
  Instance model;
  ASSERT_EQ(model.Load("transport.mod"), 1);
  EXPECT_EQ(SolveAfresh(model, "CPLEX"), std::string("Unknown solver 'CPLEX' (not in ") + RUNDD_CONFIG_PATH + ")");
  struct OutOfRange {
    std::function<bool()> fails;
    std::string message;
  };
  dctHandle_t d = model.dict();
  const OutOfRange cases[] = {
      {[&] { return std::isnan(tvpGetVarLOne(model, 6)); },
       "tvpGetVarLOne: column 6 is out of range (the model has 6 columns)"},
      {[&] { return std::isnan(tvpGetRhsOne(model, -1)); },
       "tvpGetRhsOne: row -1 is out of range (the model has 6 rows)"},
      {[&] { return tvpGetEquTypeOne(model, 6) == -1; },
       "tvpGetEquTypeOne: row 6 is out of range (the model has 6 rows)"},
      {[&] {
         tvpSetAltVarUpperOne(model, 99, 1);
         return true;
       },
       "tvpSetAltVarUpperOne: column 99 is out of range (the model has 6 columns)"},
      {[&] {
         tvpSetVarLOne(model, 0, NAN);
         return tvpGetVarLOne(model, 0) == 0;
       },
       "tvpSetVarLOne: NaN is not a value"},
  };
  for (const OutOfRange &c : cases) {
    EXPECT_TRUE(c.fails());
    EXPECT_EQ(LastError(model), c.message);
  }
  char msg[256];
  int sym, dim, key[20];
  EXPECT_EQ(dctSymDim(d, 5), -1);
  EXPECT_EQ(dctColUels(d, 6, &sym, key, &dim), 0);
  CdctGetLastError(d, msg);
  EXPECT_STREQ(msg, "dctColUels: column 6 is out of range (the model has 6 columns)");
  EXPECT_EQ(dctFindFirstRowCol(d, 0, nullptr, &dim), nullptr);
  EXPECT_EQ(dim, -1);
  EXPECT_EQ(dctFindNextRowCol(d, &sym, &dim), 0);
  CdctGetLastError(d, msg);
  EXPECT_STREQ(msg, "dctFindNextRowCol: the search is not an open search of this dictionary");
}

TEST(Failures, NullHandlesGiveTheFailureResultOfEveryLibrary) {
  char msg[256] = "untouched";
  EXPECT_EQ(CtvpLoadMathProg(nullptr, "m.mod", "", msg, sizeof msg), 0);
  EXPECT_STREQ(msg, "tvpLoadMathProg: the model instance is NULL");
  EXPECT_EQ(tvpN(nullptr), 0);
  EXPECT_TRUE(std::isnan(tvpGetVarLOne(nullptr, 0)));
  EXPECT_EQ(tvpDict(nullptr), nullptr);
  tvpSetVarLOne(nullptr, 0, 1);
  EXPECT_EQ(CtvhCallSolver(nullptr, nullptr, "", "GLPK", 5, 0, "", "", 2e300, 1, 1, 2e300, 2e300, nullptr, msg), 1);
  EXPECT_STREQ(msg, "tvhCallSolver: the environment is NULL");
  Instance model;
  EXPECT_EQ(CtvhCallSolver(model.env(), nullptr, "", "GLPK", 5, 0, "", "", 2e300, 1, 1, 2e300, 2e300, nullptr, msg), 1);
  EXPECT_STREQ(msg, "tvhCallSolver: the model instance is NULL");
  EXPECT_EQ(model.dict(), nullptr) << "no dictionary before a model is loaded";
  EXPECT_EQ(dctNLSyms(nullptr), 0);
  EXPECT_EQ(CcfgReadConfig(nullptr, RUNDD_CONFIG_PATH), 1);
  EXPECT_EQ(CcfgAlgCreate(nullptr, 1, nullptr, "", msg), 0);
  EXPECT_STREQ(msg, "cfgAlgCreate: the configuration is NULL");
  EXPECT_EQ(cfgAlgCallSolver(nullptr, 1, nullptr, nullptr), 1);
  EXPECT_EQ(tvpN(model.env()), 0) << "a handle of another library is no model";
  void *none = nullptr;
  EXPECT_EQ(tvpXFree(&none) + tvhXFree(&none) + dctXFree(&none) + cfgXFree(&none), 4);
  void *owned = model.env();
  EXPECT_EQ(tvhXFree(&owned), 1);
  EXPECT_EQ(owned, model.env()) << "an instance's environment is freed with the instance only";
}

// Standard output and standard error, redirected to a file while body runs; what was written there.
std::string Printed(const std::function<void()> &body) {
  ScratchDir dir;
  std::fflush(nullptr);
  const int saved_out = dup(1), saved_err = dup(2);
  const int file = open(dir.path("printed").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(file, 1);
  dup2(file, 2);
  body();
  std::fflush(nullptr);
  dup2(saved_out, 1);
  dup2(saved_err, 2);
  close(saved_out);
  close(saved_err);
  close(file);
  std::ifstream in(dir.path("printed"));
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Failures, NothingIsPrintedTheOutputGoesToTheEnvironmentsLog) {
  Instance model;
  const std::string printed = Printed([&] {
    model.Load("syntax_error.mod");
    model.Load("no_such_model.mod");
    model.Load("integer.mod");
    SolveAfresh(model, "GLPK");
    SolveAfresh(model, "CLP");
    model.Load("transport.mod");
    HeldSolver held("CLP");
    held.Ready(model);
    held.Solve(model);
  });
  EXPECT_EQ(printed, "");
  std::vector<char> log(1 << 16);
  EXPECT_GT(CtvhGetLog(model.env(), log.data(), static_cast<int>(log.size())), 0);
  const std::string text = log.data();
  for (const char *expected : {"syntax_error.mod:4: y not defined", "INTEGER OPTIMAL SOLUTION FOUND", "Clp"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
}

}  // namespace
}  // namespace rundd_test
