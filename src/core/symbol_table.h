// SymbolTable: the symbols of a database. It owns them in creation order, finds them by name regardless of
// letter case and by index (aliases have no index), and holds the Universe, which is in none of these.
// Symbols are entered whole or not at all; they are never removed.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/case_insensitive.h"
#include "core/symbol.h"

namespace tvb {

class SymbolTable {
 public:
  // Makes the Universe of db: the set "*" of all labels.
  explicit SymbolTable(DatabaseCore* db);
  SymbolTable(const SymbolTable&) = delete;
  SymbolTable& operator=(const SymbolTable&) = delete;

  tvbSymbol* universe() const { return universe_.get(); }

  // Every symbol but the Universe, aliases included, in creation order.
  const std::vector<std::unique_ptr<tvbSymbol>>& all() const { return symbols_; }
  bool empty() const { return symbols_.empty(); }

  // The symbols reachable by index: every symbol but the Universe and the aliases.
  int indexedCount() const { return static_cast<int>(index_.size()); }
  tvbSymbol* byIndex(int i) const { return index_[i]; }  // REQUIRES: 0 <= i < indexedCount()
  const std::vector<tvbSymbol*>& indexed() const { return index_; }

  // The symbol (alias included) of this name in any letter case, or null; the Universe is not found here.
  tvbSymbol* find(std::string_view name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
  }
  // Symbols with a name: every symbol but the Universe.
  int namedCount() const { return static_cast<int>(byName_.size()); }

  // A new symbol of this table's database, not yet entered: loaded, with empty domains (null, no names) and an
  // empty record store; an alias has no store and stands for the Universe until the caller says otherwise.
  // May throw std::bad_alloc.
  std::unique_ptr<tvbSymbol> make(std::string_view name, std::string_view text, int dim, int type, int userInfo,
                                  int number) const;

  // Enters sym under its name, in creation order and, unless it is an alias, in the index. Either all of that
  // happens or (std::bad_alloc) none of it.
  tvbSymbol* enter(std::unique_ptr<tvbSymbol> sym);

 private:
  DatabaseCore* db_;
  std::unique_ptr<tvbSymbol> universe_;
  std::unordered_map<std::string, tvbSymbol*, CaseInsensitiveHash, CaseInsensitiveEqual> byName_;
  std::vector<std::unique_ptr<tvbSymbol>> symbols_;
  std::vector<tvbSymbol*> index_;
};

}  // namespace tvb
