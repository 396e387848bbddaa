// Walking every record of a store in key order a leaf at a time: the values of a leaf are contiguous and its
// keys are read slot by slot, so the bulk transfers do not step positions record by record.
#pragma once

#include <algorithm>

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
    if (reader.codeBytes != 0) {
      // Two coded positions: the keys of a run of slots are decoded in a tight loop first, so that the visit
      // reads them as plain pairs.
      int pairs[2 * RecordStore::kKeyRun];
      for (int start = 0; start < count; start += RecordStore::kKeyRun) {
        const int end = std::min(count, start + RecordStore::kKeyRun);
        RecordStore::readCodedKeys(reader, start, end, pairs);
        for (int slot = start; slot < end; ++slot)
          visit(static_cast<const int*>(pairs + 2 * (slot - start)), values + static_cast<size_t>(slot) * valueStride);
      }
    } else {
      for (int slot = 0; slot < count; ++slot) {
        store.readKey(p.leaf, slot, key);
        visit(static_cast<const int*>(key), values + static_cast<size_t>(slot) * valueStride);
      }
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
