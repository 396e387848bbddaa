// ModelLink: a database's link to a model instance: the model, its dictionary and solver environment, the
// solver configuration, the solver held between solves, and the snapshot of the model's levels and marginals
// taken when updates are prepared. The database owns the configuration, the held solver and the snapshot; the
// model, dictionary and environment belong to the caller. Empty until a model is registered.
#pragma once

#include <vector>

#include "platform/rundd/rundd_handles.h"
#include "tvbcclib.h"

namespace tvb::model {

// The configuration library's solver instance; its interface passes it as an opaque pointer.
using SolverInstance = void*;

class ModelLink {
 public:
  ModelLink() = default;
  ModelLink(const ModelLink&) = delete;
  ModelLink& operator=(const ModelLink&) = delete;

  // Lets go of the snapshot. The solver and configuration objects are released here too once the model link
  // creates them.
  void release() noexcept {
    varLevels_ = {};
    varMarginals_ = {};
    equLevels_ = {};
    equMarginals_ = {};
  }

 private:
  tvpHandle_t tvp_ = nullptr;  // the registered model instance
  dctHandle_t dct_ = nullptr;  // its dictionary
  tvhHandle_t tvh_ = nullptr;  // its solver environment
  cfgHandle_t cfg_ = nullptr;  // the solver configuration
  SolverInstance algHandle_ = nullptr;  // the solver kept between solves
  int solverNumber_ = 0;                // the number of the solver kept; 0 for none
  bool useAltBounds_ = false;           // alternative bounds to switch on before a solve
  // The model's starting values, one entry per variable (equation) and one more: entry j is column (row) j.
  std::vector<double> varLevels_;
  std::vector<double> varMarginals_;
  std::vector<double> equLevels_;
  std::vector<double> equMarginals_;
};

// The model link of the database that handle wraps. Defined where the handle is (database/).
ModelLink& modelLinkOf(tvbHandle* handle);

}  // namespace tvb::model
