// HeldSolver: the solver instance that a database keeps between solves, for a solver whose configuration
// allows the problem to be modified: made ready with the model once, then only modified and re-solved. It is
// released when another solver is named, when another model is registered, and when the database goes.
#pragma once

#include "platform/rundd/rundd_handles.h"

namespace tvb::model {

class HeldSolver {
 public:
  // The configuration's number of the solver used last (0 for none); its instance is held when it allows
  // modification and was made ready.
  int number() const { return number_; }
  void* instance() const { return instance_; }
  // Where cfgAlgCreate puts a new instance.
  void** instanceAddress() { return &instance_; }

  void use(int number) { number_ = number; }
  // No solver counts as used (its instance could not be made ready).
  void forget() { number_ = 0; }

  // Frees the instance when the solver used last holds one: cfgAlgFree(cfg, number, &instance).
  void release(cfgHandle_t cfg) noexcept;

 private:
  int number_ = 0;
  void* instance_ = nullptr;
};

}  // namespace tvb::model
