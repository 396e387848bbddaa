#include "exchange/symbol_entry.h"

namespace tvb::exchange {

void setDomainByName(const DatabaseCore& db, tvbSymbol* sym, int i, std::string_view name) {
  if (name == "*") {
    sym->domains[i] = db.symbols.universe();
    return;
  }
  tvbSymbol* set = db.symbols.find(name);
  if (!set) {
    sym->domainNames[i] = name;
    return;
  }
  sym->domains[i] = set;
  set->usedAsDomain = true;
}

}  // namespace tvb::exchange
