#include "model_instance.h"

#include <cmath>
#include <utility>

#include "dictionary.h"
#include "environment.h"
#include "rundd.h"

namespace rundd {

int Row::Type() const {
  if (std::isfinite(lower) && std::isfinite(upper)) return lower == upper ? RUNDD_EQU_EQUAL : RUNDD_EQU_GREATER;
  if (std::isfinite(lower)) return RUNDD_EQU_GREATER;
  if (std::isfinite(upper)) return RUNDD_EQU_LESS;
  return RUNDD_EQU_FREE;
}

double Row::Rhs() const {
  if (std::isfinite(lower)) return lower;
  if (std::isfinite(upper)) return upper;
  return 0;
}

Model::Model(const std::string &system_dir)
    : TaggedObject(kKind),
      model_status(RUNDD_MODEL_NO_SOLUTION),
      solve_status(RUNDD_SOLVE_NO_SOLUTION),
      environment(std::make_unique<Environment>(system_dir)) {
  environment->owned_by_instance = true;
}

Model::~Model() = default;

void Model::Replace(ModelContent new_content, std::unique_ptr<Dictionary> dict) {
  content = std::move(new_content);
  // The dictionary object stays the same across reloads, so that a handle from tvpDict stays valid.
  if (dictionary == nullptr) {
    dictionary = std::move(dict);
    dictionary->owned_by_instance = true;
  } else {
    dictionary->Adopt(*dict);
  }
  model_status = RUNDD_MODEL_NO_SOLUTION;
  solve_status = RUNDD_SOLVE_NO_SOLUTION;
  objective_value = 0;
  ++generation;
  changes.everything = true;
}

double Model::Reported(double bound) const {
  if (bound == kInfinity) return switches.plus_infinity;
  if (bound == -kInfinity) return switches.minus_infinity;
  return bound;
}

double Model::Taken(double value) const {
  if (value >= switches.plus_infinity) return kInfinity;
  if (value <= switches.minus_infinity) return -kInfinity;
  return value;
}

}  // namespace rundd
