// A solver as the instance sees it: made ready with a model, brought up to date with what changed in it, and
// run. GLPK builds its problem afresh on every run; CLP keeps its instance and warm-starts from its last basis.
#ifndef RUNDD_SOLVER_ENGINE_H
#define RUNDD_SOLVER_ENGINE_H

#include <limits>
#include <memory>
#include <string>

#include "model_instance.h"

namespace rundd {

enum class Engine { kGlpk, kClp };

// Limits of one run; the defaults are none.
struct SolveLimits {
  double seconds = std::numeric_limits<double>::infinity();
  int iterations = std::numeric_limits<int>::max();
  double relative_gap = 0;  // of a branch-and-bound search
};

class SolverEngine {
 public:
  virtual ~SolverEngine() = default;

  // Takes the model in; false with *error when this engine cannot solve it.
  bool Ready(Model *model, std::string *error);
  // Brings the engine up to date with what changed in the model since the last run.
  bool Modify(std::string *error);
  // Solves and writes the solution (or the statuses that say why there is none) into the model. False with
  // *error when the solver could not run to an end; an infeasible or unbounded model is a run that ended.
  bool Run(const SolveLimits &limits, std::string *error);

  Model *model() const { return model_; }

 protected:
  virtual bool DoReady(std::string *error) = 0;
  virtual bool DoModify(std::string *error) = 0;
  virtual bool DoRun(const SolveLimits &limits, std::string *error) = 0;

  Model *model_ = nullptr;

 private:
  bool Current(std::string *error) const;
  int generation_ = 0;
};

std::unique_ptr<SolverEngine> MakeEngine(Engine engine);

}  // namespace rundd

#endif
