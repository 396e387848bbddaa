// Helpers for the tests of librunddclib.so: an instance that frees itself, loading a model of models/, solving
// with a solver afresh (tvhCallSolver) or on a held instance (cfg), and glpsol's solution of the same model as
// the reference.
#ifndef RUNDD_TESTS_RUNDD_TEST_SUPPORT_H
#define RUNDD_TESTS_RUNDD_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "rundd.h"
#include "support/scratch_dir.h"

namespace rundd_test {

using tvbtest::ScratchDir;

inline std::string ModelPath(const std::string &name) { return std::string(RUNDD_TEST_MODELS) + "/" + name; }

// A model instance for one test, optionally loaded from models/<model> (and <data>).
class Instance {
 public:
  explicit Instance(const char *dir = nullptr) {
    EXPECT_EQ(dir == nullptr ? tvpXCreate(&pt_) : CtvpXCreateD(&pt_, dir), 1);
  }
  ~Instance() { tvpXFree(&pt_); }
  Instance(const Instance &) = delete;
  Instance &operator=(const Instance &) = delete;
  operator tvpHandle_t() const { return pt_; }

  // 1 on success; the message of a failure in *message.
  int Load(const std::string &model, const std::string &data = "", std::string *message = nullptr) {
    char msg[256] = "untouched";
    const std::string data_path = data.empty() ? "" : ModelPath(data);
    const int ok = CtvpLoadMathProg(pt_, ModelPath(model).c_str(), data_path.c_str(), msg, sizeof msg);
    if (message != nullptr) *message = msg;
    return ok;
  }
  tvhHandle_t env() const { return tvpEnvironment(pt_); }
  dctHandle_t dict() const { return tvpDict(pt_); }

 private:
  tvpHandle_t pt_ = nullptr;
};

inline std::string LastError(tvpHandle_t pt) {
  char msg[256];
  CtvpGetLastError(pt, msg);
  return msg;
}

// Solves afresh through the environment; "" on success, else the environment's message.
inline std::string SolveAfresh(const Instance &model, const char *solver, int iteration_limit = 2100000000) {
  char msg[256] = "untouched";
  void *job = &msg;
  const int rc = CtvhCallSolver(model.env(), model, "", solver, 5, 0, "", "", 2e300, iteration_limit, 2100000000, 2e300,
                                2e300, &job, msg);
  EXPECT_EQ(job, nullptr);
  return rc == 0 ? "" : (std::string(msg).empty() ? "(empty message)" : msg);
}

// A configuration read from the build's trvcmpNT.txt and a held solver of it, freed with the object.
class HeldSolver {
 public:
  explicit HeldSolver(const char *name) {
    EXPECT_EQ(cfgXCreate(&cfg_), 1);
    EXPECT_EQ(CcfgReadConfig(cfg_, RUNDD_CONFIG_PATH), 0);
    number_ = CcfgAlgNumber(cfg_, name);
    char msg[256];
    EXPECT_EQ(CcfgAlgCreate(cfg_, number_, &solver_, "", msg), 1) << msg;
  }
  ~HeldSolver() {
    cfgAlgFree(cfg_, number_, &solver_);
    cfgXFree(&cfg_);
  }
  HeldSolver(const HeldSolver &) = delete;
  HeldSolver &operator=(const HeldSolver &) = delete;

  int Ready(tvpHandle_t model) { return cfgAlgReadyAPI(cfg_, number_, solver_, model, nullptr); }
  int Modify() { return cfgAlgModifyProblem(cfg_, number_, solver_); }
  int Solve(tvpHandle_t model) { return cfgAlgCallSolver(cfg_, number_, solver_, model); }
  std::string LastError() const {
    char msg[256];
    CcfgGetLastError(cfg_, msg);
    return msg;
  }

 private:
  cfgHandle_t cfg_ = nullptr;
  void *solver_ = nullptr;
  int number_ = 0;
};

// What glpsol writes with -w: the objective and the levels (and, for a linear program, marginals).
struct Reference {
  double objective = 0;
  bool optimal = false;
  std::vector<double> row_level, row_marginal, column_level, column_marginal;
};

inline Reference Glpsol(const std::string &model, const std::string &data = "") {
  ScratchDir dir;
  std::string command = "glpsol --math " + ModelPath(model);
  if (!data.empty()) command += " -d " + ModelPath(data);
  command += " -w " + dir.path("solution.txt") + " > " + dir.path("output.txt") + " 2>&1";
  Reference r;
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream in(dir.path("solution.txt"));
  std::string line;
  bool mip = false;
  while (std::getline(in, line)) {
    std::istringstream f(line);
    std::string kind, word, status;
    f >> kind;
    if (kind == "s") {
      f >> word;
      mip = word == "mip";
      int m, n;
      f >> m >> n >> status;
      if (!mip) f >> word;  // the dual status
      f >> r.objective;
      r.optimal = status == (mip ? "o" : "f");
    } else if (kind == "i" || kind == "j") {
      int index;
      double level, marginal = 0;
      f >> index;
      if (!mip) f >> status;
      f >> level;
      if (!mip) f >> marginal;
      (kind == "i" ? r.row_level : r.column_level).push_back(level);
      (kind == "i" ? r.row_marginal : r.column_marginal).push_back(marginal);
    }
  }
  return r;
}

inline std::vector<double> Levels(tvpHandle_t pt, bool columns) {
  std::vector<double> v(columns ? tvpN(pt) : tvpM(pt));
  EXPECT_EQ(columns ? tvpGetVarL(pt, v.data()) : tvpGetEquL(pt, v.data()), 1);
  return v;
}

inline std::vector<double> Marginals(tvpHandle_t pt, bool columns) {
  std::vector<double> v(columns ? tvpN(pt) : tvpM(pt));
  EXPECT_EQ(columns ? tvpGetVarM(pt, v.data()) : tvpGetEquM(pt, v.data()), 1);
  return v;
}

}  // namespace rundd_test

#endif
