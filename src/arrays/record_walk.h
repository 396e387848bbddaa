// Walking every record of a store in key order a leaf at a time: the rows of a leaf are contiguous, so the
// bulk transfers read keys and values by stride instead of stepping positions record by record.
#pragma once

#include "core/record_store.h"

namespace tvb::arrays {

// Calls visit(key, values) for every record of store, in key order.
template <class Visit>
void forEachRecord(const RecordStore& store, Visit&& visit) {
  const int dim = store.dim();
  const int valueCount = store.valueCount();
  for (RecordStore::Position p = store.first(); !p.isEnd();) {
    const int* keys = store.key(p);
    const double* values = store.values(p);
    const int count = p.leaf->count;
    if (const RecordStore::Node* next = p.leaf->next) {
      // Leaves are separate allocations of about a page, which the processor does not prefetch across: ask for
      // the next one while this one is read.
      const RecordStore::Position ahead{const_cast<RecordStore::Node*>(next), 0};
      const char* nextValues = reinterpret_cast<const char*>(store.values(ahead));
      const char* nextKeys = reinterpret_cast<const char*>(store.key(ahead));
      const size_t valueBytes = sizeof(double) * valueCount * next->count;
      const size_t keyBytes = sizeof(int) * dim * next->count;
      for (size_t at = 0; at < valueBytes; at += 64) __builtin_prefetch(nextValues + at);
      for (size_t at = 0; at < keyBytes; at += 64) __builtin_prefetch(nextKeys + at);
    }
    for (int slot = 0; slot < count; ++slot) visit(keys + slot * dim, values + slot * valueCount);
    p = p.leaf->next != nullptr ? RecordStore::Position{p.leaf->next, 0} : RecordStore::end();
  }
}

}  // namespace tvb::arrays
