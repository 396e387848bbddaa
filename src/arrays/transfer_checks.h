// The argument checks shared by the array transfers. None changes the symbol being transferred (loading a
// domain set on demand is the only lasting effect of a check).
#pragma once

#include <cstdint>

#include "core/database_core.h"
#include "core/status.h"
#include "tvbcclib.h"

namespace tvb::arrays {

// The symbol to transfer: present, of database db, not the Universe (nor an alias standing for it), not a scalar.
Status checkSymbol(const DatabaseCore& db, const tvbSymbol* sym);

// Makes sure the records of sym (of the set it stands for, if an alias) are in memory.
Status ensureRecords(tvbSymbol* sym);

// The value field of a variable or equation must be 0..4; other types ignore it.
Status checkField(const tvbSymbol* sym, int field);

// The number of cells of sym's cube: the product of its extents. A zero extent gives 0 cells (the callers name
// that case themselves); a negative extent, or a product beyond 64 bits, fails.
Status countCells(const tvbSymbol* sym, const int* extents, int64_t* cells);

// Checks the domain, slice or squeeze set s given for dimension i (0-based) of sym, in this order: present, not
// the Universe, in sym's database, one-dimensional, loaded; then, when extent is given, *extent == card(s).
Status checkDomainSet(const tvbSymbol* sym, tvbSymbol* s, int i, const int* extent);

// The number of records of s (of the set it stands for).
int64_t cardinality(const tvbSymbol* s);

}  // namespace tvb::arrays
