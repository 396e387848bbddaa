// ModelSnapshot: the levels and marginals of a model's variables and equations as tvbInitUpdate found them.
// Updates that name no value for an entry fall back on them; a parameter variable is fixed at its level.
#pragma once

#include <vector>

#include "platform/rundd/rundd_handles.h"

namespace tvb::model {

class ModelSnapshot {
 public:
  // Reads every level and marginal of model. May throw std::bad_alloc (the snapshot is then empty).
  void take(tvpHandle_t model);
  void clear() noexcept;

  int variableCount() const { return variableCount_; }
  int equationCount() const { return equationCount_; }
  bool hasVariable(int j) const { return j >= 0 && j < variableCount_; }
  bool hasEquation(int j) const { return j >= 0 && j < equationCount_; }

  // REQUIRES: hasVariable(j) / hasEquation(j).
  double varLevel(int j) const { return varLevels_[j]; }
  double varMarginal(int j) const { return varMarginals_[j]; }
  double equLevel(int j) const { return equLevels_[j]; }
  double equMarginal(int j) const { return equMarginals_[j]; }

 private:
  int variableCount_ = 0;
  int equationCount_ = 0;
  // One entry per variable (equation) and one more: entry j is column (row) j.
  std::vector<double> varLevels_;
  std::vector<double> varMarginals_;
  std::vector<double> equLevels_;
  std::vector<double> equMarginals_;
};

}  // namespace tvb::model
