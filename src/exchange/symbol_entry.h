// Symbols made by the initialisations (from a TVF file, from another database). They take their fields as
// the source gives them, without the checks of tvbAddSymbol, and set the domains once every symbol exists.
#pragma once

#include <string_view>

#include "core/database.h"

namespace tvb::exchange {

// Creates a symbol with the given fields and enters it into symbolMap and symbols, and into symbolIndex
// unless it is an alias. Its domains are empty (null, no names) and it is loaded; an alias has no record
// store and stands for the Universe until the caller says otherwise. May throw std::bad_alloc.
tvbSymbol* enterSymbol(tvbHandle* db, std::string_view name, std::string_view text, int dim, int type, int userInfo,
                       int number);

// Sets position i of sym's domain to the set named name, as a file or a copy names it: "*" is the Universe,
// a symbol of the database is that symbol (marked as used as a domain), any other name is kept as a
// relaxed domain name.
void setDomainByName(tvbHandle* db, tvbSymbol* sym, int i, std::string_view name);

}  // namespace tvb::exchange
