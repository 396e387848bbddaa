// The six actions of tvbUpdateModelSymbol on one model entry j, with a value or, where the data has none, with
// the action's default:
//   0  fix variable j at v: level and both alternative bounds      default: its level at tvbInitUpdate
//   1  alternative upper bound v, the level lowered to it           default: the variable's own upper bound
//   2  alternative lower bound v, the level raised to it            default: the variable's own lower bound
//   3  1, then 2                                                    defaults: those of 1 and 2
//   4  level of variable or equation j                              default: its level at tvbInitUpdate
//   5  marginal of variable or equation j, level and statuses kept  default: its marginal at tvbInitUpdate
#pragma once

#include "core/status.h"
#include "model/model_entry.h"
#include "model/model_link.h"

namespace tvb::model {

struct UpdateValue {
  bool given = false;  // false: the action's default
  double value = 0;
};

// Applies action (0 to 5) to entry j of symbol, a column when it is a variable, else a row. Fails only when a
// default is needed from the snapshot and j lies outside it; name is the model symbol's, for the message.
Status applyAction(const ModelLink& link, const ModelSymbol& symbol, const char* name, int action, int j,
                   UpdateValue v);

}  // namespace tvb::model
