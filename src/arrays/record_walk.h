// Walking every record of a store in key order a leaf at a time: the values of a leaf are contiguous and its
// keys are read slot by slot, so the bulk transfers do not step positions record by record.
#pragma once

#include "core/record_store.h"

namespace tvb::arrays {

// Calls visit(key, values) for every record of store, in key order.
template <class Visit>
void forEachRecord(const RecordStore& store, Visit&& visit) {
  const int valueStride = store.valueStride();
  int key[GLOBAL_MAX_INDEX_DIM];
  for (RecordStore::Position p = store.first(); !p.isEnd();) {
    store.requestNeighbour(p, true);  // read while this leaf is
    const double* values = store.values(p);
    const int count = p.leaf->count;
    const RecordStore::KeyReader reader = store.keyReader(p.leaf);  // the leaf's code, read once
    for (int slot = 0; slot < count; ++slot) {
      store.readKey(reader, p.leaf, slot, key);
      visit(static_cast<const int*>(key), values + static_cast<size_t>(slot) * valueStride);
    }
    p = p.leaf->next != nullptr ? RecordStore::Position{p.leaf->next, 0} : RecordStore::end();
  }
}

// Calls visit(values) for every record of store, in key order, without decoding keys.
template <class Visit>
void forEachValues(const RecordStore& store, Visit&& visit) {
  const int valueStride = store.valueStride();
  for (RecordStore::Position p = store.first(); !p.isEnd();) {
    store.requestNeighbour(p, true);
    const double* values = store.values(p);
    for (int slot = 0, count = p.leaf->count; slot < count; ++slot)
      visit(values + static_cast<size_t>(slot) * valueStride);
    p = p.leaf->next != nullptr ? RecordStore::Position{p.leaf->next, 0} : RecordStore::end();
  }
}

}  // namespace tvb::arrays
