// LabelTable: the labels (UELs) of a database, numbered 1..n in registration order and never removed.
// Texts live in one arena (zero-terminated, addressed by offset); lookups use an open-addressing table keyed
// by the case-insensitive hash whose slots also hold where the label's text is, so that a lookup reads one
// slot and the text it compares with, and touches no per-label allocation.
// Number 0 is a placeholder (" ") that is never a label.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/status.h"
#include "tvbcclib.h"

namespace tvb {

class LabelTable {
 public:
  LabelTable();

  int count() const { return static_cast<int>(offsets_.size()) - 2; }

  // REQUIRES: 0 <= nr <= count(). The stored spelling, zero-terminated.
  const char* label(int nr) const { return arena_.data() + offsets_[nr]; }
  std::string_view view(int nr) const {
    return {arena_.data() + offsets_[nr], static_cast<size_t>(offsets_[nr + 1] - offsets_[nr] - 1)};
  }

  // The number of a label (any letter case), or 0 when it is not registered.
  int find(std::string_view label) const;

  // The number of label, registering it first when needed. REQUIRES: label passed the label check.
  int findOrAdd(std::string_view label);

  // Appends a label known to be new (trusted sources); returns its number.
  int append(std::string_view label);

 private:
  void grow();
  int probe(std::string_view label, uint32_t hash) const;  // slot index: holding label, or empty

  struct Slot {
    uint32_t hash = 0;
    int32_t nr = 0;  // 0: empty
    uint32_t offset = 0;  // the label's text in the arena
    uint32_t length = 0;
  };

  std::vector<char> arena_;
  std::vector<uint32_t> offsets_;  // label i spans [offsets_[i], offsets_[i+1]) including its zero
  std::vector<Slot> slots_;
  uint32_t mask_ = 0;
};

// Checks a label and yields its normalised form (trailing white space removed, at least one character
// kept): a view of the label's first characters, so that checking allocates nothing.
Status checkLabel(const char* label, std::string_view& normalised);

}  // namespace tvb
