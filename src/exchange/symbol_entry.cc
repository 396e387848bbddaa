#include "exchange/symbol_entry.h"

#include <memory>
#include <string>

namespace tvb::exchange {

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
