// Finding domain violations: in one symbol, and symbol after symbol for a whole-database check. Symbols are
// visited in creation order (the symbol table's order); the order stays fixed while no symbol is added.
#pragma once

#include <memory>

#include "core/database_core.h"
#include "core/status.h"
#include "domains/domain_checks.h"
#include "domains/violation_handle.h"

namespace tvb::domains {

// Searches the records of sym as they are in memory (sym is not loaded here) for the first violation. Without a
// whole-database check open, the lookups of sym's domain sets are prepared first, and released again when no
// violation is found (or the search fails). *found receives a new handle, or null.
Status searchSymbol(DomainChecks& checks, tvbSymbol* sym, std::unique_ptr<tvbDVHandle>* found);

// The next symbol of db that a whole-database check searches after `after` (null: from the first symbol): one
// with a dimension, not an alias, with a domain that is neither absent nor the Universe, and with records.
// Symbols still in their source are loaded on the way; a failed load ends the walk with its failure.
Status nextCandidate(const DatabaseCore& db, const tvbSymbol* after, tvbSymbol** next);

// Every symbol of db, aliases included.
std::vector<tvbSymbol*> allSymbolsOf(const DatabaseCore& db);

}  // namespace tvb::domains
