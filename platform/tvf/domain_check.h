// Checked domains while a file is written: remembers the labels of every one-dimensional set written so far
// and, for a symbol whose domain was set with checking, tests each record's labels against its domain sets.
#ifndef TVF_DOMAIN_CHECK_H
#define TVF_DOMAIN_CHECK_H

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tvf {

class DomainCheck {
 public:
  // Keeps the labels of the one-dimensional set with 0-based index `set` (ascending).
  void RememberSet(int set, std::vector<int32_t> labels) { members_[set] = std::move(labels); }

  // Prepares the test of a symbol of `dim` positions; sets[i] is the 0-based index of the domain set of
  // position i, or -1 where any label is allowed. Labels run from 1 to label_count.
  void Begin(const std::vector<int> &sets, int label_count);
  void End() { active_ = false; }
  bool active() const { return active_; }

  // The 0-based first position whose label lies outside its domain set, or -1.
  int FirstViolation(const int32_t *key) const {
    for (size_t i = 0; i < bits_.size(); ++i) {
      const std::vector<uint64_t> &b = bits_[i];
      if (b.empty()) continue;
      auto label = static_cast<uint32_t>(key[i]);
      if ((label >> 6) >= b.size() || !((b[label >> 6] >> (label & 63)) & 1)) return static_cast<int>(i);
    }
    return -1;
  }

  void Clear() {
    members_.clear();
    bits_.clear();
    active_ = false;
  }

 private:
  std::unordered_map<int, std::vector<int32_t>> members_;
  std::vector<std::vector<uint64_t>> bits_;  // per position; empty where any label is allowed
  bool active_ = false;
};

}  // namespace tvf

#endif
