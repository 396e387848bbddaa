#include "core/special_values.h"

#include <algorithm>

namespace tvb {

const double kInternalSpecialValues[kSpecialValueCount] = {
    1.0e300, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::denorm_min()};

void SpecialValues::set(const double* values) {
  smallestCallerMagnitude_ = std::numeric_limits<double>::infinity();
  for (int i = 0; i < kSpecialValueCount; ++i) {
    caller_[i] = values[i];
    smallestCallerMagnitude_ = std::isnan(values[i]) ? 0.0 : std::min(smallestCallerMagnitude_, std::fabs(values[i]));
  }
  mode_ = 1;
  for (int i = 0; i < 4; ++i) {
    if (values[i] == kInternalSpecialValues[i]) continue;
    if (i == 1 && std::isnan(values[i])) continue;  // any NaN stands for the internal NA
    mode_ = 2;
    break;
  }
  if (mode_ == 1 && values[4] == kInternalSpecialValues[4]) mode_ = 0;
}

double SpecialValues::toCallerAll(double v) const {
  if (std::isnan(v)) return caller_[1];
  for (int i = 0; i < kSpecialValueCount; ++i)
    if (v == kInternalSpecialValues[i]) return caller_[i];
  return v;
}

double SpecialValues::toStoreAll(double v) const {
  for (int i = 0; i < kSpecialValueCount; ++i)
    if (v == caller_[i]) return kInternalSpecialValues[i];
  return v;
}

}  // namespace tvb
