// Replacing every record of a symbol at once, for the array writers. The new records go into a store of their
// own and only a finished store takes the old one's place, so a failure while building (memory) leaves the
// symbol, its loaded state and its written flag as they were.
#pragma once

#include <cstdint>
#include <memory>

#include "core/record_store.h"
#include "tvbcclib.h"

namespace tvb::arrays {

class StoreReplacement {
 public:
  // newRecords: how many distinct keys will be inserted. REQUIRES: set is not an alias nor the Universe.
  StoreReplacement(tvbSymbol* set, int64_t newRecords);

  // Where the new records go; may throw std::bad_alloc like any store.
  RecordStore& store() { return *fresh_; }

  // Installs the new records. The symbol then counts as loaded (data still in its source is never read) and is
  // marked written when write recording is on.
  void commit();

 private:
  tvbSymbol* set_;
  std::unique_ptr<RecordStore> fresh_;
};

}  // namespace tvb::arrays
