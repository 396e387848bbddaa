#include "domains/guards.h"

namespace tvb::domains {

RecordStore::Position firstViolation(const RecordStore& records, RecordStore::Position p, const Guard* guards,
                                     int count) {
  if (count == 0) return RecordStore::end();
  const int stride = records.keyStride();
  // A leaf at a time: its rows are contiguous. The next leaf is requested while this one is read.
  while (!p.isEnd()) {
    RecordStore::Node* leaf = p.leaf;
    const int* keys = records.key(RecordStore::Position{leaf, 0});
    records.requestNeighbour(p, true);
    for (int slot = p.slot; slot < leaf->count; ++slot)
      if (violates(keys + static_cast<size_t>(slot) * stride, guards, count)) return RecordStore::Position{leaf, slot};
    p = leaf->next != nullptr ? RecordStore::Position{leaf->next, 0} : RecordStore::end();
  }
  return p;
}

}  // namespace tvb::domains
