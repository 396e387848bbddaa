// A model variable whose name ends in "_var" stands for the parameter of the name without the suffix: fixed at
// its level by tvbInitUpdate, moved to new parameter values by tvbUpdateModelSymbol.
#pragma once

#include <cstring>
#include <string>

namespace tvb::model {

inline constexpr const char* kParameterVariableSuffix = "_var";

// Whether name is longer than the suffix and ends in it (letter case counting).
inline bool isParameterVariableName(const char* name) {
  const size_t length = std::strlen(name), suffix = std::strlen(kParameterVariableSuffix);
  return length > suffix && std::strcmp(name + length - suffix, kParameterVariableSuffix) == 0;
}

// The model variable of parameter parameterName.
inline std::string parameterVariableName(const std::string& parameterName) {
  return parameterName + kParameterVariableSuffix;
}

}  // namespace tvb::model
