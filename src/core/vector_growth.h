// Room for more elements before a change that must not fail halfway. The capacity at least doubles when it
// runs out: reserving the exact size each time would copy the whole vector on every addition and make n
// additions quadratic.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tvb {

template <typename T>
void reserveForMore(std::vector<T>& v, size_t more) {
  if (v.size() + more > v.capacity()) v.reserve(std::max(v.size() + more, 2 * v.capacity()));
}

}  // namespace tvb
