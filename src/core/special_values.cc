#include "core/special_values.h"

#include <algorithm>

namespace tvb {

const double kInternalSpecialValues[kSpecialValueCount] = {
    1.0e300, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::denorm_min()};

void SpecialValues::set(const double* values) {
  smallestCallerMagnitude = std::numeric_limits<double>::infinity();
  for (int i = 0; i < kSpecialValueCount; ++i) {
    caller[i] = values[i];
    smallestCallerMagnitude = std::isnan(values[i]) ? 0.0 : std::min(smallestCallerMagnitude, std::fabs(values[i]));
  }
  mode = 1;
  for (int i = 0; i < 4; ++i) {
    if (values[i] == kInternalSpecialValues[i]) continue;
    if (i == 1 && std::isnan(values[i])) continue;  // any NaN stands for the internal NA
    mode = 2;
    break;
  }
  if (mode == 1 && values[4] == kInternalSpecialValues[4]) mode = 0;
}

double SpecialValues::toCallerAll(double v) const {
  if (std::isnan(v)) return caller[1];
  for (int i = 0; i < kSpecialValueCount; ++i)
    if (v == kInternalSpecialValues[i]) return caller[i];
  return v;
}

double SpecialValues::toStoreAll(double v) const {
  for (int i = 0; i < kSpecialValueCount; ++i)
    if (v == caller[i]) return kInternalSpecialValues[i];
  return v;
}

}  // namespace tvb
