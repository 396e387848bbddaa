// Walking every record of a store in key order a leaf at a time: the rows of a leaf are contiguous, so the
// bulk transfers read keys and values by the row stride instead of stepping positions record by record.
#pragma once

#include "core/record_store.h"

namespace tvb::arrays {

// Calls visit(key, values) for every record of store, in key order.
template <class Visit>
void forEachRecord(const RecordStore& store, Visit&& visit) {
  const int stride = store.valueStride();  // doubles per row; a row's key sits before its values
  for (RecordStore::Position p = store.first(); !p.isEnd();) {
    const double* values = store.values(p);
    const int count = p.leaf->count;
    if (const RecordStore::Node* next = p.leaf->next) {
      // Leaves are separate allocations, which the processor does not prefetch across: ask for the next one
      // while this one is read.
      const char* nextRows = reinterpret_cast<const char*>(store.key(RecordStore::Position{const_cast<RecordStore::Node*>(next), 0}));
      const size_t rowBytes = sizeof(double) * stride * next->count;
      for (size_t at = 0; at < rowBytes; at += 64) __builtin_prefetch(nextRows + at);
    }
    const int* keys = store.key(p);
    const int keyStride = store.keyStride();
    for (int slot = 0; slot < count; ++slot)
      visit(keys + static_cast<size_t>(slot) * keyStride, values + static_cast<size_t>(slot) * stride);
    p = p.leaf->next != nullptr ? RecordStore::Position{p.leaf->next, 0} : RecordStore::end();
  }
}

}  // namespace tvb::arrays
