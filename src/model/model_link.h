// ModelLink: a database's link to a model instance: the model, its dictionary and solver environment, the
// solver configuration, the solver held between solves, and the snapshot of the model's levels and marginals
// taken when updates are prepared. The database owns the configuration, the held solver and the snapshot; the
// model, dictionary and environment belong to the caller. Empty until a model is registered.
#pragma once

#include <string>

#include "core/status.h"
#include "model/held_solver.h"
#include "model/model_snapshot.h"
#include "platform/rundd/rundd_handles.h"
#include "tvbcclib.h"

namespace tvb::model {

class ModelLink {
 public:
  ModelLink() = default;
  ~ModelLink() { release(); }
  ModelLink(const ModelLink&) = delete;
  ModelLink& operator=(const ModelLink&) = delete;

  tvpHandle_t model() const { return tvp_; }
  dctHandle_t dictionary() const { return dct_; }
  tvhHandle_t environment() const { return tvh_; }
  cfgHandle_t configuration() const { return cfg_; }

  // Ties the link to model and its dictionary (null when it has none). Another model than the one tied before
  // ends what was prepared for that one: its held solver is released and its snapshot goes, so that updates
  // and solves wait for the next tvbInitUpdate.
  void registerModel(tvpHandle_t model, dctHandle_t dictionary);

  // Preparing updates (tvbInitUpdate): the environment, the configuration (made once, in sysDir when given)
  // and the snapshot; prepared() once every step succeeded.
  void setEnvironment(tvhHandle_t environment) { tvh_ = environment; }
  Status makeConfiguration(const std::string& sysDir);
  ModelSnapshot& snapshot() { return snapshot_; }
  const ModelSnapshot& snapshot() const { return snapshot_; }
  void markPrepared() { prepared_ = true; }
  bool prepared() const { return prepared_; }

  // Alternative bounds are switched on before every solve once an update moved a parameter or variable.
  void requestAltBounds() { useAltBounds_ = true; }
  bool altBoundsRequested() const { return useAltBounds_; }

  HeldSolver& heldSolver() { return heldSolver_; }

  // Lets go of the snapshot, the held solver and the configuration, in this order. The model, its
  // dictionary and environment stay the caller's.
  void release() noexcept;

 private:
  tvpHandle_t tvp_ = nullptr;  // the registered model instance
  dctHandle_t dct_ = nullptr;  // its dictionary
  tvhHandle_t tvh_ = nullptr;  // its solver environment
  cfgHandle_t cfg_ = nullptr;  // the solver configuration
  bool prepared_ = false;
  bool useAltBounds_ = false;
  HeldSolver heldSolver_;
  ModelSnapshot snapshot_;
};

// The failure of a model library's operation with the reason it gave; its shortage of memory throws
// std::bad_alloc, as the operation calling it ran out of memory.
Status libraryFailure(const char* reason);

// The model link of the database that handle wraps. Defined where the handle is (database/).
ModelLink& modelLinkOf(tvbHandle* handle);

}  // namespace tvb::model
