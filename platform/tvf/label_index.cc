#include "label_index.h"

#include <cctype>

namespace tvf {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

uint64_t LabelIndex::Hash(std::string_view s) {
  uint64_t h = 14695981039346656037ULL;  // FNV-1a over the lower-cased bytes
  for (char c : s) {
    h ^= static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
    h *= 1099511628211ULL;
  }
  return h;
}

int LabelIndex::Find(const StringTable &labels, std::string_view label) const {
  if (slots_.empty()) return 0;
  const size_t mask = slots_.size() - 1;
  for (size_t i = Hash(label) & mask;; i = (i + 1) & mask) {
    int nr = slots_[i];
    if (nr == 0) return 0;
    if (EqualIgnoringCase(labels.Get(nr), label)) return nr;
  }
}

void LabelIndex::MakeRoom(const StringTable &labels) {
  if ((used_ + 1) * 2 > slots_.size()) Grow(labels);
}

void LabelIndex::Insert(const StringTable &labels, int nr) {
  MakeRoom(labels);
  const size_t mask = slots_.size() - 1;
  size_t i = Hash(labels.Get(nr)) & mask;
  while (slots_[i] != 0) i = (i + 1) & mask;
  slots_[i] = nr;
  ++used_;
}

void LabelIndex::Grow(const StringTable &labels) {
  std::vector<int32_t> grown(slots_.empty() ? 64 : slots_.size() * 2, 0);
  const size_t mask = grown.size() - 1;
  for (int32_t nr : slots_) {
    if (nr == 0) continue;
    size_t i = Hash(labels.Get(nr)) & mask;
    while (grown[i] != 0) i = (i + 1) & mask;
    grown[i] = nr;
  }
  slots_.swap(grown);
}

}  // namespace tvf
