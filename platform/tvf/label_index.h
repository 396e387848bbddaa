// Finds a label of a StringTable regardless of letter case, so that the writer refuses a label registered
// twice. An open-addressing table of label numbers (4 bytes a slot, at most half full); the texts stay in the
// label table.
#ifndef TVF_LABEL_INDEX_H
#define TVF_LABEL_INDEX_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "catalog.h"

namespace tvf {

class LabelIndex {
 public:
  // The number of the label equal to `label` (ignoring case), or 0.
  int Find(const StringTable &labels, std::string_view label) const;
  // Makes room for one more label, so that the next Insert allocates nothing.
  void MakeRoom(const StringTable &labels);
  // Records that label number `nr` of `labels` exists. REQUIRES: Find(labels, labels.Get(nr)) == 0.
  void Insert(const StringTable &labels, int nr);
  void Clear() {
    slots_.clear();
    used_ = 0;
  }

 private:
  static uint64_t Hash(std::string_view s);
  void Grow(const StringTable &labels);

  std::vector<int32_t> slots_;  // label numbers, 0 for an empty slot
  size_t used_ = 0;
};

}  // namespace tvf

#endif
