// Walking the records of a symbol with record handles: first, last, slices, steps, comparison, copies.
#include <algorithm>
#include <string>

#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/messages.h"
#include "core/record_handle.h"
#include "core/records.h"

namespace tvb {
namespace {

bool matchesSlice(const RecordStore& store, RecordStore::Position p, const int* pattern) {
  int key[GLOBAL_MAX_INDEX_DIM];
  store.key(p, key);
  for (int i = 0; i < store.dim(); ++i)
    if (pattern[i] && pattern[i] != key[i]) return false;
  return true;
}

// The next (forward) or previous record after p that matches the pattern, or end().
RecordStore::Position scan(const RecordStore& store, RecordStore::Position p, const int* pattern, bool forward) {
  while (!p.isEnd() && !matchesSlice(store, p, pattern)) p = forward ? store.next(p) : store.prev(p);
  return p;
}

Status findEnd(DatabaseCore& db, tvbSymbol* sym, tvbRecordHandle** rec, bool first) {
  if (sym->isUniverse()) {
    int n = db.labels.count();
    if (n == 0) return Status::error(msg::kNoRecordInUniverse);
    *rec = makeUniverseHandle(sym, first ? 1 : n).release();
    return Status();
  }
  TVB_RETURN_IF_FAILED(ensureLoaded(sym));
  const RecordStore& store = *sym->records;
  if (store.empty()) return Status::error(msg::kNoRecordInSymbol, sym->name.c_str());
  *rec = makeRecordHandle(sym, first ? store.first() : store.last()).release();
  return Status();
}

Status findSliceEnd(DatabaseCore& db, tvbSymbol* sym, const char* const* slice, tvbRecordHandle** rec, bool first) {
  const int dim = sym->dim;
  std::string_view trimmed[GLOBAL_MAX_INDEX_DIM];
  for (int i = 0; i < dim; ++i) TVB_RETURN_IF_FAILED(checkLabel(slice[i], trimmed[i]));
  TVB_RETURN_IF_FAILED(ensureLoaded(sym));
  const RecordStore& store = *sym->records;
  if (store.empty()) return Status::error(msg::kNoRecordInSymbol, sym->name.c_str());
  auto pattern = std::make_unique<int[]>(std::max(dim, 1));
  for (int i = 0; i < dim; ++i) {
    if (trimmed[i] == " ") {
      pattern[i] = 0;
      continue;
    }
    pattern[i] = db.labels.find(trimmed[i]);
    if (!pattern[i])
      return Status::error(msg::kSliceElementNotFound, std::string(trimmed[i]).c_str(), i + 1, sym->name.c_str());
  }
  RecordStore::Position p = scan(store, first ? store.first() : store.last(), pattern.get(), first);
  if (p.isEnd()) return Status::error(msg::kNoRecordForSlice, formatKey(trimmed, dim).c_str(), sym->name.c_str());
  auto handle = makeRecordHandle(sym, p);
  handle->slicePattern = std::move(pattern);
  *rec = handle.release();
  return Status();
}

// Where a step from the handle's record would land: end() when it cannot be made.
RecordStore::Position stepTarget(const tvbRecordHandle* h, bool forward) {
  const RecordStore& store = *h->symbol->records;
  RecordStore::Position p = forward ? store.next(h->position) : store.prev(h->position);
  return h->slicePattern ? scan(store, p, h->slicePattern.get(), forward) : p;
}

Status move(const DatabaseCore& db, tvbRecordHandle* rec, bool forward) {
  if (!rec) return Status::error(msg::kNoRecordHandle);
  TVB_RETURN_IF_FAILED(checkRecordOf(db, rec));
  const char* name = rec->symbol->name.c_str();
  if (rec->onUniverse()) {
    int n = db.labels.count();
    if (forward ? rec->uelPosition >= n : rec->uelPosition <= 1) {
      rec->uelPosition = forward ? std::max(n, 1) : 1;
      return Status::error(forward ? msg::kLastInUniverse : msg::kFirstInUniverse);
    }
    rec->uelPosition += forward ? 1 : -1;
    return Status();
  }
  TVB_RETURN_IF_FAILED(checkOnRecord(rec));
  const RecordStore& store = *rec->symbol->records;
  if (!forward && rec->position == store.first()) return Status::error(msg::kFirstInSymbol, name);
  RecordStore::Position p = rec->slicePattern ? stepTarget(rec, forward)
                                              : (forward ? store.next(rec->position) : store.prev(rec->position));
  if (p.isEnd()) {
    if (rec->slicePattern) return Status::error(forward ? msg::kLastInSlice : msg::kFirstInSlice, name);
    return Status::error(msg::kLastInSymbol, name);
  }
  placeHandle(rec, p);
  // A step onto the first record of a leaf (the last, going back) has just crossed into it: the leaf after
  // it is requested now, a leaf's worth of steps before it is needed.
  if (p.slot == (forward ? 0 : p.leaf->count - 1)) store.requestNeighbour(p, forward);
  return Status();
}

[[gnu::noinline]] int moveFrame(tvbHandle* ptvb, tvbRecordHandle* rec, bool forward) {
  TVB_ASSERT(ptvb != NULL);
  return finish(ptvb, move(coreOf(ptvb), rec, forward));
}

int has(tvbHandle* ptvb, tvbRecordHandle* rec, bool forward) {
  TVB_ASSERT(ptvb != NULL);
  if (!rec) return finish(ptvb, Status::error(msg::kNoRecordHandle));
  if (failed(ptvb, checkRecordOf(coreOf(ptvb), rec))) return 0;
  if (rec->onUniverse()) return forward ? rec->uelPosition < coreOf(ptvb).labels.count() : rec->uelPosition > 1;
  if (!resolve(rec)) return 0;
  return !stepTarget(rec, forward).isEnd();
}

Status copyIterator(tvbRecordHandle* src, tvbRecordHandle** rec) {
  if (src->onUniverse()) {
    *rec = makeUniverseHandle(src->symbol, src->uelPosition).release();
    return Status();
  }
  TVB_RETURN_IF_FAILED(checkOnRecord(src));
  *rec = makeRecordHandle(src->symbol, src->position).release();
  return Status();
}

// The frame of the operations that find the first or last record of a symbol.
int findEndFrame(tvbHandle* ptvb, tvbSymbol* sym, tvbRecordHandle** rec, bool first, const char* operation) {
  TVB_ASSERT(ptvb != NULL);
  if (failed(ptvb, checkGiven(rec, operation, "rec"))) return 0;
  *rec = nullptr;
  if (!sym) return finish(ptvb, Status::error(msg::kNoSymbol));
  if (failed(ptvb, checkSymbolOf(coreOf(ptvb), sym))) return 0;
  return guarded(ptvb, operation, [&] { return findEnd(coreOf(ptvb), sym, rec, first); });
}

int findSliceEndFrame(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, tvbRecordHandle** rec, bool first,
                      const char* operation) {
  TVB_ASSERT(ptvb != NULL);
  if (failed(ptvb, checkGiven(rec, operation, "rec"))) return 0;
  *rec = nullptr;
  if (!sym) return finish(ptvb, Status::error(msg::kNoSymbol));
  if (failed(ptvb, checkSymbolOf(coreOf(ptvb), sym))) return 0;
  if (sym->isUniverse()) return finish(ptvb, Status::error(msg::kSliceOnUniverse));
  if (sym->dim > 0 && failed(ptvb, checkGiven(slice, operation, "slice"))) return 0;
  return guarded(ptvb, operation, [&] { return findSliceEnd(coreOf(ptvb), sym, slice, rec, first); });
}

}  // namespace
}  // namespace tvb

int tvbFindFirstRecord(tvbHandle* ptvb, tvbSymbol* sym, tvbRecordHandle** rec) {
  return tvb::findEndFrame(ptvb, sym, rec, true, "tvbFindFirstRecord");
}
int tvbFindLastRecord(tvbHandle* ptvb, tvbSymbol* sym, tvbRecordHandle** rec) {
  return tvb::findEndFrame(ptvb, sym, rec, false, "tvbFindLastRecord");
}
int tvbFindFirstRecordSlice(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, tvbRecordHandle** rec) {
  return tvb::findSliceEndFrame(ptvb, sym, slice, rec, true, "tvbFindFirstRecordSlice");
}
int tvbFindLastRecordSlice(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, tvbRecordHandle** rec) {
  return tvb::findSliceEndFrame(ptvb, sym, slice, rec, false, "tvbFindLastRecordSlice");
}

tvbRecordHandle* tvbFindFirstRecordPy(tvbHandle* ptvb, tvbSymbol* sym, int* status) {
  return tvb::pyForm<tvbRecordHandle>(ptvb, status, "tvbFindFirstRecordPy",
                                      [&](tvbRecordHandle** out) { return tvbFindFirstRecord(ptvb, sym, out); });
}
tvbRecordHandle* tvbFindLastRecordPy(tvbHandle* ptvb, tvbSymbol* sym, int* status) {
  return tvb::pyForm<tvbRecordHandle>(ptvb, status, "tvbFindLastRecordPy",
                                      [&](tvbRecordHandle** out) { return tvbFindLastRecord(ptvb, sym, out); });
}
tvbRecordHandle* tvbFindFirstRecordSlicePy(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, int* status) {
  return tvb::pyForm<tvbRecordHandle>(ptvb, status, "tvbFindFirstRecordSlicePy", [&](tvbRecordHandle** out) {
    return tvbFindFirstRecordSlice(ptvb, sym, slice, out);
  });
}
tvbRecordHandle* tvbFindLastRecordSlicePy(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, int* status) {
  return tvb::pyForm<tvbRecordHandle>(ptvb, status, "tvbFindLastRecordSlicePy", [&](tvbRecordHandle** out) {
    return tvbFindLastRecordSlice(ptvb, sym, slice, out);
  });
}

int tvbRecordMoveNext(tvbHandle* ptvb, tvbRecordHandle* rec) {
  TVB_ASSERT(ptvb != NULL);
  return (rec && rec->symbol->db == &tvb::coreOf(ptvb) && tvb::stepWithinLeaf(rec)) || tvb::moveFrame(ptvb, rec, true);
}
int tvbRecordMovePrev(tvbHandle* ptvb, tvbRecordHandle* rec) { return tvb::moveFrame(ptvb, rec, false); }
int tvbRecordHasNext(tvbHandle* ptvb, tvbRecordHandle* rec) { return tvb::has(ptvb, rec, true); }
int tvbRecordHasPrev(tvbHandle* ptvb, tvbRecordHandle* rec) { return tvb::has(ptvb, rec, false); }

int tvbSameRecord(tvbHandle* ptvb, tvbRecordHandle* rec1, tvbRecordHandle* rec2) {
  TVB_ASSERT(ptvb != NULL);
  if (rec1 == rec2) return 1;
  const tvb::DatabaseCore& db = tvb::coreOf(ptvb);
  if (tvb::failed(ptvb, tvb::checkRecordOf(db, rec1)) || tvb::failed(ptvb, tvb::checkRecordOf(db, rec2))) return 0;
  if (!rec1 || !rec2 || rec1->symbol != rec2->symbol) return 0;
  if (rec1->onUniverse()) return rec1->uelPosition == rec2->uelPosition;
  if (!tvb::resolve(rec1) || !tvb::resolve(rec2)) return 0;
  return rec1->position == rec2->position;
}

int tvbCopySymbolIterator(tvbHandle* ptvb, tvbRecordHandle* src, tvbRecordHandle** rec) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(rec, "tvbCopySymbolIterator", "rec"))) return 0;
  *rec = nullptr;
  if (!src) return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kNoSourceRecordHandle));
  if (tvb::failed(ptvb, tvb::checkRecordOf(tvb::coreOf(ptvb), src))) return 0;
  return tvb::guarded(ptvb, "tvbCopySymbolIterator", [&] { return tvb::copyIterator(src, rec); });
}

tvbRecordHandle* tvbCopySymbolIteratorPy(tvbHandle* ptvb, tvbRecordHandle* src, int* status) {
  return tvb::pyForm<tvbRecordHandle>(ptvb, status, "tvbCopySymbolIteratorPy",
                                      [&](tvbRecordHandle** out) { return tvbCopySymbolIterator(ptvb, src, out); });
}

int tvbFreeSymbolIterator(tvbHandle* ptvb, tvbRecordHandle* rec) {
  if (!rec) {
    TVB_ASSERT(ptvb != NULL);
    return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kNoIteratorToFree));
  }
  if (ptvb && tvb::failed(ptvb, tvb::checkRecordOf(tvb::coreOf(ptvb), rec))) return 0;
  if (ptvb)
    tvb::freeHandle(&tvb::coreOf(ptvb).spareHandle, rec);
  else
    delete rec;
  return 1;
}
