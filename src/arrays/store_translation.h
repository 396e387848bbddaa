// Caller-to-store translation of special values for bulk writes. A value smaller in magnitude than every caller
// special value that the database's mode compares with cannot equal one of them, so it passes with one comparison;
// the others take the database's own translation.
#pragma once

#include <cmath>
#include <limits>

#include "core/special_values.h"

namespace tvb::arrays {

class ToStore {
 public:
  explicit ToStore(const SpecialValues& special) : special_(special) {
    const int first = special.mode() == 2 ? 0 : kSpecialValueCount - 1;  // mode 1 compares epsilon only
    if (special.mode() == 0) return;
    for (int slot = first; slot < kSpecialValueCount; ++slot)
      if (!std::isnan(special.caller(slot))) below_ = std::fmin(below_, std::fabs(special.caller(slot)));
  }

  double operator()(double v) const { return std::fabs(v) < below_ ? v : special_.toStore(v); }

 private:
  SpecialValues special_;  // a copy: the writes around it cannot change it
  double below_ = std::numeric_limits<double>::infinity();
};

}  // namespace tvb::arrays
