// Making symbols and entering them into a database's symbol table: shared by the add operations, which check
// their arguments first, and by the initialisations from files and other databases, which take what their
// source gives.
#pragma once

#include <memory>
#include <string_view>

#include "core/database.h"

namespace tvb {

// A new symbol of db, not yet in its symbol table: loaded, with empty domains (null, no names) and an empty
// record store; an alias has no store and stands for the Universe until the caller says otherwise.
// May throw std::bad_alloc.
std::unique_ptr<tvbSymbol> newSymbol(tvbHandle* db, std::string_view name, std::string_view text, int dim, int type,
                                     int userInfo, int number);

// Enters sym into symbolMap and symbols, and into symbolIndex unless it is an alias. Either all of that
// happens or (std::bad_alloc) none of it.
tvbSymbol* enterSymbol(tvbHandle* db, std::unique_ptr<tvbSymbol> sym);

}  // namespace tvb
