// tvbCallSolver and tvbCallSolverTimed: solve the registered model with a solver named in the configuration.
// A solver that allows it keeps its instance in the database between solves, made ready once and then only
// modified; any other runs afresh through the solver environment. After a solve the model's variable and
// equation symbols are emptied and marked not loaded, so that their next use reads the new solution.
#include <ctime>
#include <string>
#include <vector>

#include "api/operations.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "loaders/cfgmcc.h"
#include "loaders/dctmcc.h"
#include "loaders/tvhmcc.h"
#include "loaders/tvpmcc.h"
#include "model/messages.h"
#include "model/model_link.h"

namespace tvb::model {
namespace {

// The model and solve status preset before a held solve: no solution, until the solver writes its own.
constexpr int kNoSolution = 13;

// The settings of a fresh solve through the environment: solve link 5, no log, no limits (2e300 seconds,
// 2100000000 iterations and domain errors, relative and absolute gaps 2e300).
constexpr int kSolveLink = 5, kLogOption = 0, kNoCountLimit = 2100000000;
constexpr double kNoLimit = 2e300;

// The processor time of the solver call alone, written to the caller's variable (when there is one) when the
// call ends, whether it succeeded or not.
class SolveClock {
 public:
  explicit SolveClock(double* seconds) : seconds_(seconds), start_(std::clock()) {}
  ~SolveClock() {
    if (seconds_) *seconds_ = static_cast<double>(std::clock() - start_) / CLOCKS_PER_SEC;
  }
  SolveClock(const SolveClock&) = delete;
  SolveClock& operator=(const SolveClock&) = delete;

 private:
  double* seconds_;
  std::clock_t start_;
};

bool isLinear(int modelType) { return modelType >= 1 && modelType <= 3; }

// The model goes to the solver as linear, each right-hand side reduced by the constant change of its row.
void prepareLinearTreatment(tvpHandle_t tvp) {
  const int rows = tvp::ops.tvpM(tvp);
  std::vector<double> change(rows + 1, 0.0);
  int errors = 0;
  tvp::ops.tvpEvalGradNLUpdate(tvp, change.data(), 1, &errors);
  if (!isLinear(tvp::ops.tvpModelType(tvp))) return;
  for (int i = 0; i < rows; ++i) tvp::ops.tvpSetAltRHSOne(tvp, i, tvp::ops.tvpGetRhsOne(tvp, i) - change[i]);
  tvp::ops.tvpAltRHSSet(tvp, 1);
  tvp::ops.tvpForceLinearSet(tvp, 1);
}

// The held instance of solver n: made ready with the model when n is not the solver used last, else modified
// with what changed; then solved.
Status solveHeld(ModelLink& link, const std::string& sysDir, const char* name, int n, bool changed, double* seconds) {
  const cfgHandle_t cfg = link.configuration();
  const tvpHandle_t tvp = link.model();
  HeldSolver& held = link.heldSolver();
  void* view = tvp::ops.tvpViewStore(tvp);
  tvp::ops.tvpModelStatSet(tvp, kNoSolution);
  tvp::ops.tvpSolveStatSet(tvp, kNoSolution);
  if (changed) {
    char reason[TRV_SSSIZE] = {};
    if (!cfg::ops.cfgAlgCreate(cfg, n, held.instanceAddress(), sysDir.c_str(), reason)) {
      held.forget();
      return reason[0] ? libraryFailure(reason) : Status::error(msg::kCreateFailed, name);
    }
    if (cfg::ops.cfgAlgReadyAPI(cfg, n, held.instance(), tvp, nullptr) != 0) {
      held.release(cfg);  // an instance that is not ready is of no use later
      held.forget();
      return Status::error(msg::kReadyApiFailed);
    }
  } else if (cfg::ops.cfgAlgModifyProblem(cfg, n, held.instance()) != 0) {
    return Status::error(msg::kModifyFailed);
  }
  {
    SolveClock clock(seconds);
    if (cfg::ops.cfgAlgCallSolver(cfg, n, held.instance(), tvp) != 0) return Status::error(msg::kCallSolverFailed);
  }
  tvp::ops.tvpViewRestore(tvp, &view);
  return Status();
}

// A fresh run of the solver through the environment's general solve call.
Status solveAfresh(const ModelLink& link, const char* name, double* seconds) {
  char reason[TRV_SSSIZE] = {};
  void* job = nullptr;
  int result;
  {
    SolveClock clock(seconds);
    result = tvh::ops.tvhCallSolver(link.environment(), link.model(), "", name, kSolveLink, kLogOption, "", "",
                                    kNoLimit, kNoCountLimit, kNoCountLimit, kNoLimit, kNoLimit, &job, reason);
  }
  if (result == 0) return Status();
  return reason[0] ? libraryFailure(reason) : Status::error(msg::kSolveFailed, name);
}

// Every symbol of the database named like a symbol of the model reads the new solution when next used.
void markForReloading(DatabaseCore& db, dctHandle_t dct) {
  char name[64];
  for (int i = 1, count = dct::ops.dctNLSyms(dct); i <= count; ++i) {
    name[0] = '\0';
    dct::ops.dctSymName(dct, i, name, sizeof name);
    tvbSymbol* sym = db.symbols.find(name);
    if (!sym || !sym->records) continue;  // an alias has no records of its own
    sym->awaitSource();
  }
}

Status callSolver(DatabaseCore& db, ModelLink& link, const char* name, double* seconds) {
  if (!link.prepared()) return Status::error(msg::kNotPrepared);
  if (!name) return Status::error(msg::kNoSolverName);
  const cfgHandle_t cfg = link.configuration();
  const tvpHandle_t tvp = link.model();
  const int n = cfg::ops.cfgAlgNumber(cfg, name);
  if (n <= 0) return Status::error(msg::kInvalidSolver, name);

  HeldSolver& held = link.heldSolver();
  const bool changed = n != held.number();
  if (link.altBoundsRequested()) tvp::ops.tvpAltBoundsSet(tvp, 1);
  prepareLinearTreatment(tvp);
  if (changed) held.release(cfg);
  held.use(n);
  tvh::ops.tvhTerminateClear(link.environment());

  if (cfg::ops.cfgAlgAllowsModifyProblem(cfg, n)) {
    TVB_RETURN_IF_FAILED(solveHeld(link, db.sysDir, name, n, changed, seconds));
  } else {
    TVB_RETURN_IF_FAILED(solveAfresh(link, name, seconds));
  }
  tvp::ops.tvpAltRHSSet(tvp, 0);
  tvp::ops.tvpForceLinearSet(tvp, 0);
  markForReloading(db, link.dictionary());
  return Status();
}

}  // namespace
}  // namespace tvb::model

int tvbCallSolver(tvbHandle* ptvb, const char* solver) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbCallSolver", [&] {
    return tvb::model::callSolver(tvb::coreOf(ptvb), tvb::model::modelLinkOf(ptvb), solver, nullptr);
  });
}

int tvbCallSolverTimed(tvbHandle* ptvb, const char* solver, double* seconds) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbCallSolverTimed", [&] {
    return tvb::model::callSolver(tvb::coreOf(ptvb), tvb::model::modelLinkOf(ptvb), solver, seconds);
  });
}
