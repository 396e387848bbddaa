// Walking every record of a store in key order a leaf at a time: the rows of a leaf are contiguous, so the
// bulk transfers read keys and values by the row stride instead of stepping positions record by record.
#pragma once

#include "core/record_store.h"

namespace tvb::arrays {

// Calls visit(key, values) for every record of store, in key order.
template <class Visit>
void forEachRecord(const RecordStore& store, Visit&& visit) {
  // A row holds a record's key and then its values; both advance by the row's width.
  const int keyStride = store.keyStride();
  const int valueStride = store.valueStride();
  for (RecordStore::Position p = store.first(); !p.isEnd();) {
    store.requestNeighbour(p, true);  // read while this leaf is
    const int* keys = store.key(p);
    const double* values = store.values(p);
    const int count = p.leaf->count;
    for (int slot = 0; slot < count; ++slot)
      visit(keys + static_cast<size_t>(slot) * keyStride, values + static_cast<size_t>(slot) * valueStride);
    p = p.leaf->next != nullptr ? RecordStore::Position{p.leaf->next, 0} : RecordStore::end();
  }
}

}  // namespace tvb::arrays
