// The model's dictionary: the symbols and labels that the row and column names of the instance spell out, the
// key of each column and row, and the enumerations of a symbol's columns or rows (searches, owned here so that
// one never closed is freed with the dictionary).
#ifndef RUNDD_DICTIONARY_H
#define RUNDD_DICTIONARY_H

#include <list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model_instance.h"
#include "tagged_object.h"

namespace rundd {

struct DictionarySymbol {
  std::string name;
  int dim = 0;
  int type = 0;       // RUNDD_DCT_VARIABLE or RUNDD_DCT_EQUATION
  int user_info = 0;  // the variable type or equation type code
  std::string text;
  std::vector<int> entries;  // its columns or rows, ascending
};

struct DictionaryEntry {
  int symbol = 0;        // from 1
  std::vector<int> key;  // label numbers from 1
};

struct Search : TaggedObject {
  static constexpr ObjectKind kKind = ObjectKind::kSearch;
  Search(int s, std::vector<int> f) : TaggedObject(kKind), symbol(s), filter(std::move(f)) {}
  int symbol;
  std::vector<int> filter;  // 0 matches any label
  size_t next = 0;          // position in the symbol's entries
};

class Dictionary : public TaggedObject {
 public:
  static constexpr ObjectKind kKind = ObjectKind::kDictionary;
  Dictionary() : TaggedObject(kKind) {}

  // The dictionary of content's names; texts maps symbol names to their declared texts. Null with *error when
  // a name cannot be taken apart or two symbols differ only in letter case.
  static std::unique_ptr<Dictionary> Build(const ModelContent &content, const std::map<std::string, std::string> &texts,
                                           std::string *error);

  int SymbolCount() const { return static_cast<int>(symbols_.size()); }
  int LabelCount() const { return static_cast<int>(labels_.size()); }
  const DictionarySymbol *Symbol(int nr) const;  // null when out of range
  const std::string *Label(int nr) const;
  bool LabelQuoted(int nr) const { return quoted_[nr - 1]; }
  int SymbolIndex(std::string_view name) const;  // 0 when there is none
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  const DictionaryEntry *ColumnEntry(int j) const;
  const DictionaryEntry *RowEntry(int i) const;

  // Searches: FindFirst gives null for a symbol out of range; *index is -1 when nothing (more) matches.
  Search *FindFirst(int symbol, const int *uels, int *index);
  bool FindNext(Search *search, int *index);
  void Close(Search *search);
  Search *OwnSearch(void *handle) const;  // the search behind a handle when it is one of this dictionary's

  // Takes other's content (a reload): handles of this dictionary stay valid, its open searches are closed.
  void Adopt(Dictionary &other);

  bool owned_by_instance = false;  // an instance's dictionary is freed with the instance only

 private:
  struct Builder;

  const std::vector<DictionaryEntry> &EntriesOf(const DictionarySymbol &s) const;

  std::vector<DictionarySymbol> symbols_;
  std::vector<std::string> labels_;
  std::vector<bool> quoted_;
  std::unordered_map<std::string, int> symbol_numbers_;  // by lower-case name
  std::vector<DictionaryEntry> columns_;
  std::vector<DictionaryEntry> rows_;
  std::list<std::unique_ptr<Search>> searches_;
};

}  // namespace rundd

#endif
