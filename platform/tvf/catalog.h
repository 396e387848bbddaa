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

#include "string_table.h"

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
  std::string domain_names;  // unless domain_kind is kNone: dim names, each followed by a zero byte
  uint64_t record_count = 0;
  uint64_t block_offset = 0;
  uint64_t block_length = 0;
  uint32_t chunk_count = 0;
};

// Symbol names are unique regardless of letter case and keep the spelling they were given.
std::string FoldCase(std::string_view s);

// Name i (0-based) of a symbol's domain names; "*" when it has none.
std::string_view DomainName(const SymbolEntry &symbol, int i);

struct Catalog {
  std::string file_name;
  uint32_t format_version = 0;
  std::string producer;
  StringTable labels;
  StringTable texts;
  std::vector<SymbolEntry> symbols;
  std::unordered_map<std::string, int> symbol_by_name;  // folded name -> 0-based index

  // The 0-based index of the symbol called `name` (any letter case), or -1.
  int FindSymbol(std::string_view name) const;
  // Appends a symbol (all or nothing when memory runs out); REQUIRES: FindSymbol(entry.name) == -1.
  void AddSymbol(SymbolEntry entry);
  void Clear();
};

}  // namespace tvf

#endif
