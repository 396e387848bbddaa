#include "core/record_handle.h"

#include <utility>

#include "core/database_core.h"
#include "core/messages.h"

namespace tvb {

namespace {

// The database's spare handle when it has one, else a new one; on the symbol's record or label either way.
std::unique_ptr<tvbRecordHandle> newHandle(tvbSymbol* sym) {
  std::unique_ptr<tvbRecordHandle> h = std::move(sym->db->spareHandle);
  if (!h) h = std::make_unique<tvbRecordHandle>();
  h->symbol = sym;
  h->uelPosition = -1;
  h->pastEnd = false;
  return h;
}

}  // namespace

std::unique_ptr<tvbRecordHandle> makeRecordHandle(tvbSymbol* sym, RecordStore::Position p) {
  auto h = newHandle(sym);
  placeHandle(h.get(), p);
  return h;
}

std::unique_ptr<tvbRecordHandle> makeUniverseHandle(tvbSymbol* universe, int uel) {
  auto h = newHandle(universe);
  h->uelPosition = uel;
  return h;
}

void freeHandle(std::unique_ptr<tvbRecordHandle>* spare, tvbRecordHandle* h) {
  if (*spare) {
    delete h;
    return;
  }
  h->slicePattern.reset();
  spare->reset(h);
}

bool resolveSlow(tvbRecordHandle* h) {
  if (h->onUniverse()) return true;
  const RecordStore& store = *h->symbol->records;
  if (!h->pastEnd) {
    if (h->version == store.version()) return true;
    RecordStore::Position p = store.find(h->key);
    if (!p.isEnd()) {
      placeHandle(h, p);
      return true;
    }
  }
  return false;
}

Status staleHandle(const tvbRecordHandle* h) { return Status::error(msg::kStaleHandle, h->symbol->name.c_str()); }

}  // namespace tvb
