// The contents of a TVF file apart from its records: producer, labels, element texts and the symbol
// directory. The writer fills it while a file is written; the reader fills it at open. It stays valid until
// the next open, so that error texts can name symbols and labels after a file was closed.
#ifndef TVF_CATALOG_H
#define TVF_CATALOG_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tvf {

enum SymbolType { kSet = 0, kParameter = 1, kVariable = 2, kEquation = 3, kAlias = 4 };

// How a symbol's domain names were given: not at all (every position is the Universe), stored as given
// (tvfSymbolSetDomainX), or checked against the file's sets (tvfSymbolSetDomain).
enum class DomainKind : uint8_t { kNone = 0, kRelaxed = 1, kChecked = 2 };

struct SymbolEntry {
  std::string name;
  std::string text;
  int dim = 0;
  int type = kSet;
  int user_info = 0;  // the subtype; for an alias, the 1-based number of its set (0 for the Universe)
  DomainKind domain_kind = DomainKind::kNone;
  std::vector<std::string> domain_names;  // dim entries unless domain_kind is kNone
  uint64_t record_count = 0;
  uint64_t block_offset = 0;
  uint64_t block_length = 0;
  uint32_t chunk_count = 0;
};

// Labels numbered from 1, their texts in one arena.
class LabelTable {
 public:
  int size() const { return static_cast<int>(ends_.size()); }
  // REQUIRES: 1 <= nr <= size()
  std::string_view Get(int nr) const {
    size_t begin = nr == 1 ? 0 : ends_[nr - 2];
    return std::string_view(arena_).substr(begin, ends_[nr - 1] - begin);
  }
  void Add(std::string_view label) {
    arena_.append(label);
    ends_.push_back(static_cast<uint32_t>(arena_.size()));
  }
  void Reserve(size_t count, size_t bytes) {
    ends_.reserve(count);
    arena_.reserve(bytes);
  }
  void Clear() {
    arena_.clear();
    ends_.clear();
  }

 private:
  std::string arena_;
  std::vector<uint32_t> ends_;
};

// Symbol names are unique regardless of letter case and keep the spelling they were given.
std::string FoldCase(std::string_view s);

struct Catalog {
  std::string file_name;
  uint32_t format_version = 0;
  std::string producer;
  LabelTable labels;
  std::vector<std::string> texts;
  std::vector<SymbolEntry> symbols;
  std::unordered_map<std::string, int> symbol_by_name;  // folded name -> 0-based index

  // The 0-based index of the symbol called `name` (any letter case), or -1.
  int FindSymbol(std::string_view name) const;
  // Appends a symbol; REQUIRES: FindSymbol(entry.name) == -1.
  void AddSymbol(SymbolEntry entry);
  void Clear();
};

}  // namespace tvf

#endif
