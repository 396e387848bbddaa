#include "core/label_table.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/case_insensitive.h"
#include "core/messages.h"

namespace tvb {

LabelTable::LabelTable() {
  arena_ = {' ', '\0'};
  offsets_ = {0, 2};
  hashes_ = {0};
  slots_.assign(16, 0);
  mask_ = 15;
}

int LabelTable::probe(std::string_view label, uint32_t hash) const {
  uint32_t i = hash & mask_;
  while (true) {
    int32_t nr = slots_[i];
    if (nr == 0 || (hashes_[nr] == hash && caseInsensitiveEqual(view(nr), label))) return static_cast<int>(i);
    i = (i + 1) & mask_;
  }
}

int LabelTable::find(std::string_view label) const {
  return slots_[probe(label, caseInsensitiveHash(label))];
}

int LabelTable::findOrAdd(std::string_view label) {
  int nr = find(label);
  return nr ? nr : append(label);
}

int LabelTable::append(std::string_view label) {
  // Reserve everything first so that a failed allocation leaves the table as it was.
  if (static_cast<size_t>(count() + 1) * 2 > slots_.size()) grow();
  arena_.reserve(arena_.size() + label.size() + 1);
  offsets_.reserve(offsets_.size() + 1);
  hashes_.reserve(hashes_.size() + 1);

  uint32_t hash = caseInsensitiveHash(label);
  int nr = count() + 1;
  arena_.insert(arena_.end(), label.begin(), label.end());
  arena_.push_back('\0');
  offsets_.push_back(static_cast<uint32_t>(arena_.size()));
  hashes_.push_back(hash);
  slots_[probe(label, hash)] = nr;
  return nr;
}

void LabelTable::grow() {
  std::vector<int32_t> slots(slots_.size() * 2, 0);
  uint32_t mask = static_cast<uint32_t>(slots.size() - 1);
  for (int nr = 1; nr <= count(); ++nr) {
    uint32_t i = hashes_[nr] & mask;
    while (slots[i]) i = (i + 1) & mask;
    slots[i] = nr;
  }
  slots_.swap(slots);
  mask_ = mask;
}

bool checkLabel(const char* label, std::string_view& normalised, char* errorBuffer) {
  if (std::strchr(label, '\'') && std::strchr(label, '"')) {
    std::snprintf(errorBuffer, 256, msg::kLabelBothQuotes, label);
    return false;
  }
  size_t n = std::strlen(label);
  while (n > 1 && std::isspace(static_cast<unsigned char>(label[n - 1]))) --n;
  normalised = std::string_view(label, n);
  if (n >= 64) {
    std::snprintf(errorBuffer, 256, msg::kLabelTooLong, 63, std::string(normalised).c_str());
    return false;
  }
  return true;
}

}  // namespace tvb
