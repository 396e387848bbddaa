#include "exchange/symbol_entry.h"

#include <memory>
#include <string>

namespace tvb::exchange {

tvbSymbol* enterSymbol(tvbHandle* db, std::string_view name, std::string_view text, int dim, int type, int userInfo,
                       int number) {
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

  // Reserve first so that entering the symbol cannot fail halfway.
  db->symbols.reserve(db->symbols.size() + 1);
  db->symbolIndex.reserve(db->symbolIndex.size() + 1);
  tvbSymbol* result = sym.get();
  db->symbolMap.emplace(result->name, result);
  db->symbols.push_back(std::move(sym));
  if (type != TRV_DT_ALIAS) db->symbolIndex.push_back(result);
  return result;
}

void setDomainByName(tvbHandle* db, tvbSymbol* sym, int i, std::string_view name) {
  if (name == "*") {
    sym->domains[i] = db->universe.get();
    return;
  }
  auto it = db->symbolMap.find(name);
  if (it == db->symbolMap.end()) {
    sym->domainNames[i] = name;
    return;
  }
  sym->domains[i] = it->second;
  it->second->usedAsDomain = true;
}

}  // namespace tvb::exchange
