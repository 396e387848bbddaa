// CLP as a solver with a held instance: Ready loads the model into a ClpSimplex (without its free rows, the
// objective's among them: they bind nothing, and CLP's iterations pay for every row it holds), Modify pushes the bounds,
// right-hand sides and levels of the entries that the model's change log names (all entries, compared with what
// CLP holds, when the log says everything or another solver has read it), and Run re-solves with the dual
// simplex method from the previous basis (the first run from the slack basis). Models with integer columns are
// refused. CLP's output goes to the model's environment log.
#ifndef RUNDD_CLP_ENGINE_H
#define RUNDD_CLP_ENGINE_H

#include <memory>
#include <string>
#include <vector>

#include "solver_engine.h"

class ClpSimplex;

namespace rundd {

class ClpLogHandler;
struct Point;

class ClpEngine : public SolverEngine {
 public:
  ClpEngine();
  ~ClpEngine() override;

 protected:
  bool DoReady(std::string *error) override;
  bool DoModify(std::string *error) override;
  bool DoRun(const SolveLimits &limits, std::string *error) override;

 private:
  // Brings one column or row of the held instance to what is in force in the model, touching CLP only where
  // they differ.
  void PushColumn(int j);
  void PushRow(int i);

  std::unique_ptr<ClpLogHandler> handler_;
  std::unique_ptr<ClpSimplex> clp_;
  // Reads the point of the last run, the free rows' activities computed from the columns' levels.
  Point ReadPoint();

  std::vector<int> clp_row_;  // the CLP row of each model row; -1 for a free row
  struct FreeTerm {
    int row, column;
    double coefficient;
  };
  std::vector<FreeTerm> free_terms_;  // the matrix entries of the free rows
  // Kept between runs: a re-solve allocates nothing of the model's size.
  std::vector<int> column_basis_, row_basis_;
  std::vector<double> row_level_, row_marginal_;
  unsigned change_epoch_ = 0;                  // the model's change log is read up to here
};

}  // namespace rundd

#endif
