// GLPK as a solver: builds GLPK's problem from the instance on every run (bounds and right-hand sides in
// force), runs the simplex method and, for a model with integer columns, branch and bound; the marginals of an
// integer solution are those of the linear program with the integer columns fixed at their values.
#ifndef RUNDD_GLPK_ENGINE_H
#define RUNDD_GLPK_ENGINE_H

#include "solver_engine.h"

namespace rundd {

class GlpkEngine : public SolverEngine {
 protected:
  bool DoReady(std::string *) override { return true; }
  bool DoModify(std::string *) override { return true; }  // nothing is kept between runs
  bool DoRun(const SolveLimits &limits, std::string *error) override;
};

}  // namespace rundd

#endif
