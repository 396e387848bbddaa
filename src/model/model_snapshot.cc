#include "model/model_snapshot.h"

#include "loaders/tvpmcc.h"

namespace tvb::model {

void ModelSnapshot::take(tvpHandle_t model) {
  clear();
  const int n = tvp::ops.tvpN(model), m = tvp::ops.tvpM(model);
  std::vector<double> varLevels(n + 1), varMarginals(n + 1), equLevels(m + 1), equMarginals(m + 1);
  tvp::ops.tvpGetVarL(model, varLevels.data());
  tvp::ops.tvpGetVarM(model, varMarginals.data());
  tvp::ops.tvpGetEquL(model, equLevels.data());
  tvp::ops.tvpGetEquM(model, equMarginals.data());
  varLevels_.swap(varLevels);
  varMarginals_.swap(varMarginals);
  equLevels_.swap(equLevels);
  equMarginals_.swap(equMarginals);
  variableCount_ = n;
  equationCount_ = m;
}

void ModelSnapshot::clear() noexcept {
  varLevels_ = {};
  varMarginals_ = {};
  equLevels_ = {};
  equMarginals_ = {};
  variableCount_ = equationCount_ = 0;
}

}  // namespace tvb::model
