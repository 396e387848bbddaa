#include "arrays/store_replacement.h"

#include <algorithm>
#include <utility>

#include "core/database_core.h"

namespace tvb::arrays {

StoreReplacement::StoreReplacement(tvbSymbol* set, int64_t newRecords)
    : set_(set), fresh_(std::make_unique<RecordStore>(set->dim, valueCountOf(set->type))) {
  // Record handles of the symbol keep positions cached for versions up to the old store's; the new store's
  // version must end above all of them, or a handle would trust a position in a freed node. Each insertion of a
  // new key advances a store's version by one, and clearing an empty store advances it at no cost.
  const uint64_t oldVersion = set->records ? set->records->version() : 0;
  const uint64_t inserts = static_cast<uint64_t>(std::max<int64_t>(newRecords, 0));
  while (fresh_->version() + inserts <= oldVersion) fresh_->clear();
}

void StoreReplacement::commit() {
  if (!set_->records || fresh_->version() > set_->records->version()) {
    std::swap(set_->records, fresh_);  // the old records go with this object
  } else {
    RecordStore& old = *set_->records;
    // Fewer keys than announced: carrying the records over keeps the handles safe all the same.
    old.clear();
    int key[GLOBAL_MAX_INDEX_DIM];
    for (auto p = fresh_->first(); !p.isEnd(); p = fresh_->next(p)) {
      fresh_->key(p, key);
      std::copy_n(fresh_->values(p), old.valueCount(), old.valuesToWrite(key));
    }
  }
  set_->markLoaded();
  set_->db->writeRecording.noteChange(set_);
}

}  // namespace tvb::arrays
