#include "solver_engine.h"

#include "clp_engine.h"
#include "environment.h"
#include "glpk_engine.h"
#include "messages.h"
#include "rundd.h"
#include "solution.h"

namespace rundd {

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
  return DoRun(limits, error);
}

std::unique_ptr<SolverEngine> MakeEngine(Engine engine) {
  if (engine == Engine::kClp) return std::make_unique<ClpEngine>();
  return std::make_unique<GlpkEngine>();
}

}  // namespace rundd
