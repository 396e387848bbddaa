// Domains of the symbols made by the initialisations (from a TVF file, from another database), which take
// their fields as the source gives them and set the domains once every symbol exists.
#pragma once

#include <string_view>

#include "core/database_core.h"

namespace tvb::exchange {

// Sets position i of sym's domain to the set named name, as a file or a copy names it: "*" is the Universe,
// a symbol of the database is that symbol (marked as used as a domain), any other name is kept as a
// relaxed domain name.
void setDomainByName(const DatabaseCore& db, tvbSymbol* sym, int i, std::string_view name);

}  // namespace tvb::exchange
