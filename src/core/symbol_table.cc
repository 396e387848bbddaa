#include "core/symbol_table.h"

#include "core/vector_growth.h"

namespace tvb {

SymbolTable::SymbolTable(DatabaseCore* db) : db_(db), universe_(std::make_unique<tvbSymbol>()) {
  universe_->name = "*";
  universe_->text = "universe";
  universe_->dim = 1;
  universe_->type = TRV_DT_SET;
  universe_->db = db;
}

std::unique_ptr<tvbSymbol> SymbolTable::make(std::string_view name, std::string_view text, int dim, int type,
                                             int userInfo, int number) const {
  auto sym = std::make_unique<tvbSymbol>();
  sym->name = name;
  sym->text = text;
  sym->dim = dim;
  sym->type = type;
  sym->userInfo = userInfo;
  sym->number = number;
  sym->db = db_;
  sym->domains.assign(dim, nullptr);
  sym->domainNames.resize(dim);
  if (type == TRV_DT_ALIAS)
    sym->aliasOf = universe_.get();
  else
    sym->records = std::make_unique<RecordStore>(dim, valueCountOf(type));
  return sym;
}

tvbSymbol* SymbolTable::enter(std::unique_ptr<tvbSymbol> sym) {
  // Reserve first so that entering the symbol cannot fail halfway.
  reserveForMore(symbols_, 1);
  reserveForMore(index_, 1);
  tvbSymbol* result = sym.get();
  byName_.emplace(result->name, result);
  symbols_.push_back(std::move(sym));
  if (result->type != TRV_DT_ALIAS) index_.push_back(result);
  return result;
}

}  // namespace tvb
