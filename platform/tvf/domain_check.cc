#include "domain_check.h"

namespace tvf {

void DomainCheck::Begin(const std::vector<int> &sets, int label_count) {
  active_ = false;  // stays so when memory runs out below
  bits_.assign(sets.size(), {});
  const size_t words = static_cast<size_t>(label_count) / 64 + 1;
  for (size_t i = 0; i < sets.size(); ++i) {
    if (sets[i] < 0) continue;
    std::vector<uint64_t> &b = bits_[i];
    b.assign(words, 0);  // a set without records still checks: nothing lies in it
    auto it = members_.find(sets[i]);
    if (it != members_.end()) {
      for (int32_t label : it->second) {
        auto u = static_cast<uint32_t>(label);
        if ((u >> 6) < words) b[u >> 6] |= uint64_t{1} << (u & 63);
      }
    }
    active_ = true;
  }
}

}  // namespace tvf
