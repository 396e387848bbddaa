// Row and column names as GLPK's translator writes them, taken apart into the symbol's name and its labels:
// "x[seattle,new-york]", "c['New York']" (a label that is not a plain word or number is quoted, a quote inside
// it doubled), "z" for a scalar.
#ifndef RUNDD_ENTRY_NAMES_H
#define RUNDD_ENTRY_NAMES_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rundd {

struct EntryLabel {
  std::string text;     // without quotes
  bool quoted = false;  // the translator quoted it
};

struct EntryName {
  std::string symbol;
  std::vector<EntryLabel> labels;
};

// Nothing when the name is not of that form (a name cut short by the translator, for one).
std::optional<EntryName> ParseEntryName(std::string_view name);

}  // namespace rundd

#endif
