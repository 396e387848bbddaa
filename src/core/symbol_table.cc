#include "core/symbol_table.h"

#include "core/vector_growth.h"

namespace tvb {

std::unique_ptr<tvbSymbol> newSymbol(tvbHandle* db, std::string_view name, std::string_view text, int dim, int type,
                                     int userInfo, int number) {
  auto sym = std::make_unique<tvbSymbol>();
  sym->name = name;
  sym->text = text;
  sym->dim = dim;
  sym->type = type;
  sym->userInfo = userInfo;
  sym->number = number;
  sym->db = db;
  sym->domains.assign(dim, nullptr);
  sym->domainNames.resize(dim);
  if (type == TRV_DT_ALIAS)
    sym->aliasOf = db->universe.get();
  else
    sym->records = std::make_unique<RecordStore>(dim, valueCountOf(type));
  return sym;
}

tvbSymbol* enterSymbol(tvbHandle* db, std::unique_ptr<tvbSymbol> sym) {
  // Reserve first so that entering the symbol cannot fail halfway.
  reserveForMore(db->symbols, 1);
  reserveForMore(db->symbolIndex, 1);
  tvbSymbol* result = sym.get();
  db->symbolMap.emplace(result->name, result);
  db->symbols.push_back(std::move(sym));
  if (result->type != TRV_DT_ALIAS) db->symbolIndex.push_back(result);
  return result;
}

}  // namespace tvb
