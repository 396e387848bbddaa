// CLP as a solver with a held instance: Ready loads the model into a ClpSimplex, Modify pushes only the bounds,
// right-hand sides and levels that differ from what the instance was last given, and Run re-solves with the dual
// simplex method from the previous basis (the first run solves from scratch). Models with integer columns are
// refused. CLP's output goes to the model's environment log.
#ifndef RUNDD_CLP_ENGINE_H
#define RUNDD_CLP_ENGINE_H

#include <memory>
#include <vector>

#include "solver_engine.h"

class ClpSimplex;

namespace rundd {

class ClpLogHandler;

class ClpEngine : public SolverEngine {
 public:
  ClpEngine();
  ~ClpEngine() override;

 protected:
  bool DoReady(std::string *error) override;
  bool DoModify(std::string *error) override;
  bool DoRun(const SolveLimits &limits, std::string *error) override;

 private:
  // What the held instance was last given, to push only what differs.
  struct Pushed {
    std::vector<double> column_lower, column_upper, row_lower, row_upper, level;
  };
  Pushed InForce() const;

  std::unique_ptr<ClpLogHandler> handler_;
  std::unique_ptr<ClpSimplex> clp_;
  Pushed pushed_;
  bool solved_ = false;  // a basis from an earlier run exists
};

}  // namespace rundd

#endif
