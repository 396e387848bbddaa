// Membership tables of the sets used as domains, held in tvbSymbol::domainLookup while a domain check is open:
// indexed by label number, non-zero exactly for the labels of the set (their 1-based position in store order).
// Entry 0, which no label uses, holds the number of labels the table covers: labels registered after it was
// built lie beyond it and count as outside the set, which they were when the check began.
//
// Lookups are built only for sets flagged as used as a domain; a domain position is guarded while the set its
// domain stands for (through an alias) has a lookup.
#pragma once

#include <vector>

#include "core/record_store.h"
#include "core/status.h"
#include "tvbcclib.h"

namespace tvb::domains {

// The domain sets of a symbol (present ones, aliases included), or every symbol of a database.
std::vector<tvbSymbol*> domainSetsOf(const tvbSymbol* sym);
std::vector<tvbSymbol*> allSymbolsOf(const tvbHandle* db);

// Loads the flagged sets of the group that still lie in their source, forgets every lookup of the group, then
// builds the lookups of the flagged sets. Fails with the loader's message when a load failed.
Status prepareLookups(const std::vector<tvbSymbol*>& group);

// Releases the lookups of the sets of the group.
void releaseLookups(const std::vector<tvbSymbol*>& group) noexcept;

// A guarded position of a symbol: the key position and the lookup of the set its domain stands for.
struct Guard {
  int position;
  const int* lookup;
};

// The guarded positions of sym, first to last; returns how many (at most its dimension).
int guardsOf(const tvbSymbol* sym, Guard* guards);

inline bool outside(const Guard& guard, const int* key) {
  const int label = key[guard.position];
  return label < 1 || label > guard.lookup[0] || guard.lookup[label] == 0;
}

inline bool violates(const int* key, const Guard* guards, int count) {
  for (int g = 0; g < count; ++g)
    if (outside(guards[g], key)) return true;
  return false;
}

// The first record at or after p whose key violates, or end().
RecordStore::Position firstViolation(const RecordStore& records, RecordStore::Position p, const Guard* guards,
                                     int count);

}  // namespace tvb::domains
