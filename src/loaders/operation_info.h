// One operation of an external library as the check protocol sees it, and the compile-time checks that keep
// an operation table honest: the lookup name follows the "C" prefix rule, and the C parameter list agrees with
// the signature codes. A table row that breaks either does not compile.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "tvbcclib_signatures.h"

namespace tvb::loaders {

struct OperationInfo {
  const char* name;      // as the library's check entry knows it
  const char* lookup;    // the exported entry name
  int argCount;          // counted arguments; the leading library object is not counted
  const int* signature;  // argCount + 1 codes, result first
};

// The lookup name is "C" + name when any code (the result's included) is string-bearing, else the name.
constexpr bool LookupNameFollowsRule(std::string_view name, std::string_view lookup, std::span<const int> signature) {
  bool carriesString = false;
  for (int code : signature) carriesString = carriesString || SIG_IS_STRING_BEARING(code);
  if (!carriesString) return lookup == name;
  return lookup.size() == name.size() + 1 && lookup[0] == 'C' && lookup.substr(1) == name;
}

// The C parameters that a signature implies: the library object, one per counted argument, one more for each
// sized string (its length follows), and the buffer of a string result.
constexpr size_t ImpliedParameterCount(std::span<const int> signature) {
  size_t count = signature.size();  // the object and the counted arguments
  for (size_t i = 1; i < signature.size(); ++i) count += signature[i] == SIG_STRING_OUT_SIZED ? 1 : 0;
  return count + (signature[0] == SIG_STRING_OUT ? 1 : 0);
}

template <class F>
struct ParameterCount;
template <class R, class... A>
struct ParameterCount<R (*)(A...)> {
  static constexpr size_t value = sizeof...(A);
};

}  // namespace tvb::loaders
