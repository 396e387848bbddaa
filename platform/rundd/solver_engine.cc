#include "solver_engine.h"

#include "clp_engine.h"
#include "environment.h"
#include "glpk_engine.h"
#include "messages.h"
#include "rundd.h"
#include "solution.h"

namespace rundd {

namespace {

// Bounds in force that cross (an alternative lower bound above the upper one, say) leave nothing to solve.
bool BoundsCross(const Model &model) {
  for (int j = 0; j < model.ColumnCount(); ++j) {
    if (model.LowerInForce(j) > model.UpperInForce(j)) return true;
  }
  for (int i = 0; i < model.RowCount(); ++i) {
    double lower, upper;
    model.RowBoundsInForce(i, &lower, &upper);
    if (lower > upper) return true;
  }
  return false;
}

}  // namespace

bool SolverEngine::Ready(Model *model, std::string *error) {
  model_ = model;
  generation_ = model->generation;
  if (model->content.model_type == 0) {
    *error = msg::NoModelLoaded();
    model_ = nullptr;
    return false;
  }
  if (DoReady(error)) return true;
  model_ = nullptr;
  return false;
}

bool SolverEngine::Current(std::string *error) const {
  if (model_ == nullptr) {
    *error = msg::NoModelLoaded();
    return false;
  }
  if (model_->generation != generation_) {
    *error = msg::ModelReloaded();
    return false;
  }
  return true;
}

bool SolverEngine::Modify(std::string *error) { return Current(error) && DoModify(error); }

bool SolverEngine::Run(const SolveLimits &limits, std::string *error) {
  if (!Current(error)) return false;
  if (model_->environment->interrupt) {
    WriteStatuses(*model_, RUNDD_MODEL_NO_SOLUTION, RUNDD_SOLVE_USER_INTERRUPT);
    return true;
  }
  if (BoundsCross(*model_)) {
    WriteStatuses(
        *model_,
        model_->content.model_type == RUNDD_MODEL_TYPE_MIP ? RUNDD_MODEL_INTEGER_INFEASIBLE : RUNDD_MODEL_INFEASIBLE,
        RUNDD_SOLVE_NORMAL);
    return true;
  }
  return DoRun(limits, error);
}

std::unique_ptr<SolverEngine> MakeEngine(Engine engine) {
  if (engine == Engine::kClp) return std::make_unique<ClpEngine>();
  return std::make_unique<GlpkEngine>();
}

}  // namespace rundd
