// Scanning records for domain violations: a guarded position of a symbol pairs a key position with the lookup
// of the set its domain stands for (domain_checks.h); a key violates when one of its guarded labels lies outside.
#pragma once

#include "core/record_store.h"

namespace tvb::domains {

struct Guard {
  int position;
  const int* lookup;
};

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
