#include "model/update_action.h"

#include "loaders/tvpmcc.h"
#include "model/messages.h"

namespace tvb::model {
namespace {

using tvp::ops;

Status outsideSnapshot(const ModelSnapshot& snapshot, const ModelSymbol& symbol, const char* name, int j) {
  return Status::error(msg::kOutsideSnapshot, j, name,
                       symbol.isVariable() ? snapshot.variableCount() : snapshot.equationCount());
}

// The bound in force of the variable's own, read with alternative bounds switched off for the moment.
double ownBound(tvpHandle_t tvp, int j, bool upper) {
  ops.tvpAltBoundsSet(tvp, 0);
  const double bound = upper ? ops.tvpGetVarUpperOne(tvp, j) : ops.tvpGetVarLowerOne(tvp, j);
  ops.tvpAltBoundsSet(tvp, 1);
  return bound;
}

void moveUpperBound(tvpHandle_t tvp, int j, UpdateValue v) {
  const double upper = v.given ? v.value : ownBound(tvp, j, /*upper=*/true);
  ops.tvpSetAltVarUpperOne(tvp, j, upper);
  if (ops.tvpGetVarLOne(tvp, j) > upper) ops.tvpSetVarLOne(tvp, j, upper);
}

void moveLowerBound(tvpHandle_t tvp, int j, UpdateValue v) {
  const double lower = v.given ? v.value : ownBound(tvp, j, /*upper=*/false);
  ops.tvpSetAltVarLowerOne(tvp, j, lower);
  if (lower > ops.tvpGetVarLOne(tvp, j)) ops.tvpSetVarLOne(tvp, j, lower);
}

}  // namespace

Status applyAction(const ModelLink& link, const ModelSymbol& symbol, const char* name, int action, int j,
                   UpdateValue v) {
  const tvpHandle_t tvp = link.model();
  const ModelSnapshot& snapshot = link.snapshot();
  const bool column = symbol.isVariable();
  // Actions 0, 4 and 5 fall back on the snapshot.
  if (!v.given && (action == 0 || action == 4 || action == 5) &&
      !(column ? snapshot.hasVariable(j) : snapshot.hasEquation(j)))
    return outsideSnapshot(snapshot, symbol, name, j);

  switch (action) {
    case 0: {
      const double level = v.given ? v.value : snapshot.varLevel(j);
      ops.tvpSetVarLOne(tvp, j, level);
      ops.tvpSetAltVarLowerOne(tvp, j, level);
      ops.tvpSetAltVarUpperOne(tvp, j, level);
      break;
    }
    case 1:
      moveUpperBound(tvp, j, v);
      break;
    case 2:
      moveLowerBound(tvp, j, v);
      break;
    case 3:
      moveUpperBound(tvp, j, v);
      moveLowerBound(tvp, j, v);
      break;
    case 4:
      if (column)
        ops.tvpSetVarLOne(tvp, j, v.given ? v.value : snapshot.varLevel(j));
      else
        ops.tvpSetEquLOne(tvp, j, v.given ? v.value : snapshot.equLevel(j));
      break;
    case 5:
      if (column)
        ops.tvpSetSolutionVarRec(tvp, j, ops.tvpGetVarLOne(tvp, j), v.given ? v.value : snapshot.varMarginal(j),
                                 ops.tvpGetVarStatOne(tvp, j), ops.tvpGetVarCStatOne(tvp, j));
      else
        ops.tvpSetSolutionEquRec(tvp, j, ops.tvpGetEquLOne(tvp, j), v.given ? v.value : snapshot.equMarginal(j),
                                 ops.tvpGetEquStatOne(tvp, j), ops.tvpGetEquCStatOne(tvp, j));
      break;
  }
  return Status();
}

}  // namespace tvb::model
