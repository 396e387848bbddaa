#include "entry_names.h"

namespace rundd {

namespace {

constexpr char kQuote = '\'';

// Reads one label starting at pos, up to the ',' or ']' that ends it; pos moves to that character.
std::optional<EntryLabel> ReadLabel(std::string_view name, size_t *pos) {
  EntryLabel label;
  size_t i = *pos;
  if (i < name.size() && name[i] == kQuote) {
    label.quoted = true;
    for (++i;; ++i) {
      if (i >= name.size()) return std::nullopt;  // no closing quote
      if (name[i] != kQuote) {
        label.text += name[i];
      } else if (i + 1 < name.size() && name[i + 1] == kQuote) {
        label.text += kQuote;
        ++i;
      } else {
        ++i;
        break;
      }
    }
  } else {
    while (i < name.size() && name[i] != ',' && name[i] != ']') label.text += name[i++];
  }
  if (label.text.empty() && !label.quoted) return std::nullopt;
  *pos = i;
  return label;
}

}  // namespace

std::optional<EntryName> ParseEntryName(std::string_view name) {
  EntryName entry;
  const size_t open = name.find('[');
  entry.symbol = std::string(name.substr(0, open));
  if (entry.symbol.empty()) return std::nullopt;
  if (open == std::string_view::npos) return entry;
  size_t pos = open + 1;
  for (;;) {
    std::optional<EntryLabel> label = ReadLabel(name, &pos);
    if (!label || pos >= name.size()) return std::nullopt;
    entry.labels.push_back(std::move(*label));
    if (name[pos] == ']') break;
    if (name[pos] != ',') return std::nullopt;
    ++pos;
  }
  if (pos + 1 != name.size()) return std::nullopt;  // something after the closing bracket
  return entry;
}

}  // namespace rundd
