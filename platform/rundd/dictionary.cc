#include "dictionary.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "entry_names.h"
#include "messages.h"
#include "rundd.h"

namespace rundd {

namespace {

std::string Lower(std::string_view s) {
  std::string lower(s);
  for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The variable type of a symbol from all its columns (see rundd.h).
int VariableType(const DictionarySymbol &symbol, const std::vector<Column> &columns) {
  bool any_integer = false, all_binary = true, all_nonnegative = true, all_nonpositive = true;
  for (int j : symbol.entries) {
    const Column &c = columns[j];
    any_integer = any_integer || c.integer;
    all_binary = all_binary && c.integer && c.lower >= 0 && c.upper <= 1;
    all_nonnegative = all_nonnegative && c.lower >= 0;
    all_nonpositive = all_nonpositive && c.upper <= 0;
  }
  if (any_integer) return all_binary ? RUNDD_VAR_BINARY : RUNDD_VAR_INTEGER;
  if (all_nonnegative) return RUNDD_VAR_POSITIVE;
  if (all_nonpositive) return RUNDD_VAR_NEGATIVE;
  return RUNDD_VAR_FREE;
}

}  // namespace

// Adds the entries of one kind (columns or rows) in index order, numbering symbols and labels as they come.
struct Dictionary::Builder {
  Dictionary &d;
  std::string *error;

  bool Add(const std::string &name, int index, int type, std::vector<DictionaryEntry> *entries) {
    std::optional<EntryName> parsed = ParseEntryName(name);
    if (!parsed) return Fail(msg::UnreadableName(name));
    DictionaryEntry entry;
    entry.symbol = SymbolNumber(parsed->symbol, type, static_cast<int>(parsed->labels.size()));
    if (entry.symbol == 0) return false;
    for (EntryLabel &label : parsed->labels) entry.key.push_back(LabelNumber(label));
    d.symbols_[entry.symbol - 1].entries.push_back(index);
    entries->push_back(std::move(entry));
    return true;
  }

  int SymbolNumber(const std::string &name, int type, int dim) {
    auto [it, added] = d.symbol_numbers_.try_emplace(Lower(name), d.SymbolCount() + 1);
    if (added) {
      DictionarySymbol &s = d.symbols_.emplace_back();
      s.name = name;
      s.dim = dim;
      s.type = type;
      return it->second;
    }
    const DictionarySymbol &s = d.symbols_[it->second - 1];
    std::string problem;
    if (s.name != name) {
      problem = msg::CaseOnlyDifference(s.name, name);
    } else if (s.type != type) {
      problem = msg::VariableAndEquation(name);
    } else if (s.dim != dim) {
      problem = msg::MixedDimensions(name);
    }
    if (problem.empty()) return it->second;
    Fail(std::move(problem));
    return 0;
  }

  int LabelNumber(const EntryLabel &label) {
    auto [it, added] = label_numbers.try_emplace(label.text, d.LabelCount() + 1);
    if (added) {
      d.labels_.push_back(label.text);
      d.quoted_.push_back(label.quoted);
    }
    return it->second;
  }

  bool Fail(std::string text) {
    *error = std::move(text);
    return false;
  }

  std::unordered_map<std::string, int> label_numbers;  // labels keep their letter case
};

std::unique_ptr<Dictionary> Dictionary::Build(const ModelContent &content,
                                              const std::map<std::string, std::string> &texts, std::string *error) {
  auto d = std::make_unique<Dictionary>();
  Builder builder{*d, error, {}};
  for (int j = 0; j < static_cast<int>(content.columns.size()); ++j) {
    if (!builder.Add(content.column_names[j], j, RUNDD_DCT_VARIABLE, &d->columns_)) return nullptr;
  }
  for (int i = 0; i < static_cast<int>(content.rows.size()); ++i) {
    if (!builder.Add(content.row_names[i], i, RUNDD_DCT_EQUATION, &d->rows_)) return nullptr;
  }
  for (DictionarySymbol &s : d->symbols_) {
    s.user_info = s.type == RUNDD_DCT_VARIABLE ? VariableType(s, content.columns) : content.rows[s.entries[0]].Type();
    auto text = texts.find(s.name);
    if (text != texts.end()) s.text = text->second;
  }
  return d;
}

const DictionarySymbol *Dictionary::Symbol(int nr) const {
  return nr >= 1 && nr <= SymbolCount() ? &symbols_[nr - 1] : nullptr;
}

const std::string *Dictionary::Label(int nr) const {
  return nr >= 1 && nr <= LabelCount() ? &labels_[nr - 1] : nullptr;
}

int Dictionary::SymbolIndex(std::string_view name) const {
  auto it = symbol_numbers_.find(Lower(name));
  return it == symbol_numbers_.end() ? 0 : it->second;
}

const DictionaryEntry *Dictionary::ColumnEntry(int j) const {
  return j >= 0 && j < static_cast<int>(columns_.size()) ? &columns_[j] : nullptr;
}

const DictionaryEntry *Dictionary::RowEntry(int i) const {
  return i >= 0 && i < static_cast<int>(rows_.size()) ? &rows_[i] : nullptr;
}

const std::vector<DictionaryEntry> &Dictionary::EntriesOf(const DictionarySymbol &s) const {
  return s.type == RUNDD_DCT_VARIABLE ? columns_ : rows_;
}

Search *Dictionary::FindFirst(int symbol, const int *uels, int *index) {
  *index = -1;
  const DictionarySymbol *s = Symbol(symbol);
  if (s == nullptr) return nullptr;
  std::vector<int> filter(s->dim, 0);
  if (uels != nullptr) std::copy(uels, uels + s->dim, filter.begin());
  searches_.push_back(std::make_unique<Search>(symbol, std::move(filter)));
  Search *search = searches_.back().get();
  FindNext(search, index);
  return search;
}

bool Dictionary::FindNext(Search *search, int *index) {
  const DictionarySymbol &s = symbols_[search->symbol - 1];
  const std::vector<DictionaryEntry> &entries = EntriesOf(s);
  while (search->next < s.entries.size()) {
    const int candidate = s.entries[search->next++];
    const std::vector<int> &key = entries[candidate].key;
    bool matches = true;
    for (int k = 0; k < s.dim; ++k) matches = matches && (search->filter[k] == 0 || search->filter[k] == key[k]);
    if (matches) {
      *index = candidate;
      return true;
    }
  }
  *index = -1;
  return false;
}

void Dictionary::Close(Search *search) {
  searches_.remove_if([search](const std::unique_ptr<Search> &s) { return s.get() == search; });
}

void Dictionary::Adopt(Dictionary &other) {
  symbols_ = std::move(other.symbols_);
  labels_ = std::move(other.labels_);
  quoted_ = std::move(other.quoted_);
  symbol_numbers_ = std::move(other.symbol_numbers_);
  columns_ = std::move(other.columns_);
  rows_ = std::move(other.rows_);
  searches_.clear();
}

Search *Dictionary::OwnSearch(void *handle) const {
  for (const std::unique_ptr<Search> &s : searches_) {
    if (ToHandle(s.get()) == handle) return s.get();
  }
  return nullptr;
}

}  // namespace rundd
