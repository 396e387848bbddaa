// ElementTexts: the interned explanatory texts of set records. A record stores the number of its text;
// number 0 is " " and means no text. Texts are matched exactly and never removed.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tvb {

class ElementTexts {
 public:
  ElementTexts() : texts_{" "}, numbers_{{" ", 0}} {}

  int count() const { return static_cast<int>(texts_.size()); }
  // The text with this number (" " for 0), or an empty text for a number outside the table.
  const char* text(int nr) const { return nr >= 0 && nr < count() ? texts_[nr].c_str() : ""; }

  // The number of text, appending it when new.
  int intern(std::string_view text) {
    auto it = numbers_.find(std::string(text));
    if (it != numbers_.end()) return it->second;
    texts_.emplace_back(text);
    try {
      numbers_.emplace(texts_.back(), count() - 1);
    } catch (...) {
      texts_.pop_back();
      throw;
    }
    return count() - 1;
  }

 private:
  std::vector<std::string> texts_;
  std::unordered_map<std::string, int> numbers_;
};

}  // namespace tvb
