#include "domains/guards.h"

namespace tvb::domains {

RecordStore::Position firstViolation(const RecordStore& records, RecordStore::Position p, const Guard* guards,
                                     int count) {
  if (count == 0) return RecordStore::end();
  int key[GLOBAL_MAX_INDEX_DIM];
  // A leaf at a time: its codes are contiguous. The next leaf is not requested ahead: the scan is light enough
  // for the processor's own prefetching, and an explicit request made the whole-database check of 2,000,000
  // records slower (1.8 instead of 1.6 ns per record).
  while (!p.isEnd()) {
    RecordStore::Node* leaf = p.leaf;
    const RecordStore::KeyReader reader = records.keyReader(leaf);  // the leaf's code, read once
    for (int slot = p.slot; slot < leaf->count; ++slot) {
      records.readKey(reader, leaf, slot, key);
      if (violates(key, guards, count)) return RecordStore::Position{leaf, slot};
    }
    p = leaf->next != nullptr ? RecordStore::Position{leaf->next, 0} : RecordStore::end();
  }
  return p;
}

}  // namespace tvb::domains
