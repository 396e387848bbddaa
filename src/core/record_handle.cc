#include "core/record_handle.h"

#include "core/database.h"
#include "core/frame.h"
#include "core/messages.h"

namespace tvb {

std::unique_ptr<tvbRecordHandle> makeRecordHandle(tvbSymbol* sym, RecordStore::Position p) {
  auto h = std::make_unique<tvbRecordHandle>();
  h->symbol = sym;
  placeHandle(h.get(), p);
  return h;
}

std::unique_ptr<tvbRecordHandle> makeUniverseHandle(tvbSymbol* universe, int uel) {
  auto h = std::make_unique<tvbRecordHandle>();
  h->symbol = universe;
  h->uelPosition = uel;
  return h;
}

bool resolveSlow(tvbRecordHandle* h, tvbHandle* db) {
  if (h->onUniverse()) return true;
  const RecordStore& store = *h->symbol->records;
  if (!h->pastEnd) {
    if (h->version == store.version()) return true;
    RecordStore::Position p = store.find(h->key);
    if (!p.isEnd()) {
      h->position = p;
      h->values = store.values(p);
      h->version = store.version();
      return true;
    }
  }
  if (db) setError(db, msg::kStaleHandle, h->symbol->name.c_str());
  return false;
}

}  // namespace tvb
