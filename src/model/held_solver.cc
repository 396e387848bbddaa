#include "model/held_solver.h"

#include "loaders/cfgmcc.h"

namespace tvb::model {

void HeldSolver::release(cfgHandle_t cfg) noexcept {
  if (number_ > 0 && cfg && instance_ && cfg::ops.cfgAlgAllowsModifyProblem(cfg, number_))
    cfg::ops.cfgAlgFree(cfg, number_, &instance_);
}

}  // namespace tvb::model
