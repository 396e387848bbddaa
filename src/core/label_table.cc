#include "core/label_table.h"

#include <cstring>
#include <string>

#include "core/case_insensitive.h"
#include "core/messages.h"
#include "core/vector_growth.h"

namespace tvb {

LabelTable::LabelTable() {
  arena_ = {' ', '\0'};
  offsets_ = {0, 2};
  slots_.assign(16, Slot{});
  mask_ = 15;
}

int LabelTable::probe(std::string_view label, uint32_t hash) const {
  uint32_t i = hash & mask_;
  while (true) {
    const Slot& slot = slots_[i];
    if (slot.nr == 0 || (slot.hash == hash && slot.length == label.size() &&
                         caseInsensitiveEqual(std::string_view(arena_.data() + slot.offset, slot.length), label))) {
      return static_cast<int>(i);
    }
    i = (i + 1) & mask_;
  }
}

int LabelTable::find(std::string_view label) const {
  return slots_[probe(label, caseInsensitiveHash(label))].nr;
}

int LabelTable::findOrAdd(std::string_view label) {
  int nr = find(label);
  return nr ? nr : append(label);
}

int LabelTable::append(std::string_view label) {
  // Reserve everything first so that a failed allocation leaves the table as it was.
  if (static_cast<size_t>(count() + 1) * 2 > slots_.size()) grow();
  reserveForMore(arena_, label.size() + 1);
  reserveForMore(offsets_, 1);

  const uint32_t hash = caseInsensitiveHash(label);
  const int nr = count() + 1;
  const uint32_t offset = static_cast<uint32_t>(arena_.size());
  arena_.insert(arena_.end(), label.begin(), label.end());
  arena_.push_back('\0');
  offsets_.push_back(static_cast<uint32_t>(arena_.size()));
  slots_[probe(label, hash)] = Slot{hash, nr, offset, static_cast<uint32_t>(label.size())};
  return nr;
}

void LabelTable::grow() {
  std::vector<Slot> slots(slots_.size() * 2, Slot{});
  const uint32_t mask = static_cast<uint32_t>(slots.size() - 1);
  for (const Slot& slot : slots_) {
    if (slot.nr == 0) continue;
    uint32_t i = slot.hash & mask;
    while (slots[i].nr != 0) i = (i + 1) & mask;
    slots[i] = slot;
  }
  slots_.swap(slots);
  mask_ = mask;
}

Status checkLabel(const char* label, std::string_view& normalised) {
  if (!label) [[unlikely]]
    return Status::error(msg::kNullLabel);
  // One pass finds the length and both kinds of quotes: labels are short, and this runs for every label
  // of every lookup.
  size_t n = 0;
  bool single = false, dbl = false;
  for (char c; (c = label[n]) != '\0'; ++n) {
    single |= c == '\'';
    dbl |= c == '"';
  }
  if (single && dbl) return Status::error(msg::kLabelBothQuotes, label);
  // White space as in the C locale, whatever locale the caller has set.
  auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (n > 1 && isSpace(label[n - 1])) --n;
  normalised = std::string_view(label, n);
  if (n > TRV_MAX_LABEL_LENGTH)
    return Status::error(msg::kLabelTooLong, TRV_MAX_LABEL_LENGTH, std::string(normalised).c_str());
  return Status();
}

}  // namespace tvb
