// Walking the records of a symbol with record handles: first, last, slices, steps, comparison, copies.
#include <algorithm>
#include <string>

#include "api/operations.h"
#include "core/database.h"
#include "core/frame.h"
#include "core/messages.h"
#include "core/record_handle.h"
#include "core/records.h"

using namespace tvb;

namespace {

bool matchesSlice(const RecordStore& store, RecordStore::Position p, const int* pattern) {
  const int* key = store.key(p);
  for (int i = 0; i < store.dim(); ++i)
    if (pattern[i] && pattern[i] != key[i]) return false;
  return true;
}

// The next (forward) or previous record after p that matches the pattern, or end().
RecordStore::Position scan(const RecordStore& store, RecordStore::Position p, const int* pattern, bool forward) {
  while (!p.isEnd() && !matchesSlice(store, p, pattern)) p = forward ? store.next(p) : store.prev(p);
  return p;
}

int findEnd(tvbHandle* ptvb, tvbSymbol* sym, tvbRecordHandle** rec, bool first, const char* opName) {
  TVB_ASSERT(ptvb != NULL);
  *rec = nullptr;
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  return guarded(ptvb, opName, [&] {
    if (sym->isUniverse()) {
      int n = ptvb->labels.count();
      if (n == 0) return setError(ptvb, msg::kNoRecordInUniverse), 0;
      *rec = makeUniverseHandle(sym, first ? 1 : n).release();
      return 1;
    }
    if (!ensureLoaded(ptvb, sym)) return 0;
    const RecordStore& store = *sym->records;
    if (store.empty()) return setError(ptvb, msg::kNoRecordInSymbol, sym->name.c_str()), 0;
    *rec = makeRecordHandle(sym, first ? store.first() : store.last()).release();
    return 1;
  });
}

int findSliceEnd(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, tvbRecordHandle** rec, bool first,
                 const char* opName) {
  TVB_ASSERT(ptvb != NULL);
  *rec = nullptr;
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  if (sym->isUniverse()) return setError(ptvb, msg::kSliceOnUniverse), 0;
  return guarded(ptvb, opName, [&] {
    const int dim = sym->dim;
    std::string_view trimmed[GLOBAL_MAX_INDEX_DIM];
    for (int i = 0; i < dim; ++i)
      if (!checkLabel(slice[i], trimmed[i], ptvb->lastError)) return 0;
    if (!ensureLoaded(ptvb, sym)) return 0;
    const RecordStore& store = *sym->records;
    if (store.empty()) return setError(ptvb, msg::kNoRecordInSymbol, sym->name.c_str()), 0;
    auto pattern = std::make_unique<int[]>(std::max(dim, 1));
    for (int i = 0; i < dim; ++i) {
      if (trimmed[i] == " ") {
        pattern[i] = 0;
        continue;
      }
      pattern[i] = ptvb->labels.find(trimmed[i]);
      if (!pattern[i])
        return setError(ptvb, msg::kSliceElementNotFound, std::string(trimmed[i]).c_str(), i + 1, sym->name.c_str()), 0;
    }
    RecordStore::Position p = scan(store, first ? store.first() : store.last(), pattern.get(), first);
    if (p.isEnd()) {
      return setError(ptvb, msg::kNoRecordForSlice, formatKey(trimmed, dim).c_str(), sym->name.c_str()), 0;
    }
    auto handle = makeRecordHandle(sym, p);
    handle->slicePattern = std::move(pattern);
    *rec = handle.release();
    return 1;
  });
}

// Where a step from the handle's record would land: end() when it cannot be made.
RecordStore::Position stepTarget(const tvbRecordHandle* h, bool forward) {
  const RecordStore& store = *h->symbol->records;
  RecordStore::Position p = forward ? store.next(h->position) : store.prev(h->position);
  return h->slicePattern ? scan(store, p, h->slicePattern.get(), forward) : p;
}

[[gnu::noinline]] int move(tvbHandle* ptvb, tvbRecordHandle* rec, bool forward) {
  TVB_ASSERT(ptvb != NULL);
  if (!rec) return setError(ptvb, msg::kNoRecordHandle), 0;
  const char* name = rec->symbol->name.c_str();
  if (rec->onUniverse()) {
    int n = ptvb->labels.count();
    if (forward ? rec->uelPosition >= n : rec->uelPosition <= 1) {
      rec->uelPosition = forward ? std::max(n, 1) : 1;
      return setError(ptvb, forward ? msg::kLastInUniverse : msg::kFirstInUniverse), 0;
    }
    rec->uelPosition += forward ? 1 : -1;
    return 1;
  }
  if (!resolve(rec, ptvb)) return 0;
  const RecordStore& store = *rec->symbol->records;
  if (!forward && rec->position == store.first()) return setError(ptvb, msg::kFirstInSymbol, name), 0;
  RecordStore::Position p = rec->slicePattern ? stepTarget(rec, forward)
                                              : (forward ? store.next(rec->position) : store.prev(rec->position));
  if (p.isEnd()) {
    if (rec->slicePattern) return setError(ptvb, forward ? msg::kLastInSlice : msg::kFirstInSlice, name), 0;
    return setError(ptvb, msg::kLastInSymbol, name), 0;
  }
  placeHandle(rec, p);
  // A step onto the first record of a leaf (the last, going back) has just crossed into it: the leaf after
  // it is requested now, a leaf's worth of steps before it is needed.
  if (p.slot == (forward ? 0 : p.leaf->count - 1)) store.requestNeighbour(p, forward);
  return 1;
}

int has(tvbHandle* ptvb, tvbRecordHandle* rec, bool forward) {
  TVB_ASSERT(ptvb != NULL);
  if (!rec) return setError(ptvb, msg::kNoRecordHandle), 0;
  if (rec->onUniverse()) return forward ? rec->uelPosition < ptvb->labels.count() : rec->uelPosition > 1;
  if (!resolve(rec, nullptr)) return 0;
  return !stepTarget(rec, forward).isEnd();
}

}  // namespace

int tvbFindFirstRecord(tvbHandle* ptvb, tvbSymbol* sym, tvbRecordHandle** rec) {
  return findEnd(ptvb, sym, rec, true, "tvbFindFirstRecord");
}
int tvbFindLastRecord(tvbHandle* ptvb, tvbSymbol* sym, tvbRecordHandle** rec) {
  return findEnd(ptvb, sym, rec, false, "tvbFindLastRecord");
}
int tvbFindFirstRecordSlice(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, tvbRecordHandle** rec) {
  return findSliceEnd(ptvb, sym, slice, rec, true, "tvbFindFirstRecordSlice");
}
int tvbFindLastRecordSlice(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, tvbRecordHandle** rec) {
  return findSliceEnd(ptvb, sym, slice, rec, false, "tvbFindLastRecordSlice");
}

tvbRecordHandle* tvbFindFirstRecordPy(tvbHandle* ptvb, tvbSymbol* sym, int* status) {
  tvbRecordHandle* rec = nullptr;
  *status = tvbFindFirstRecord(ptvb, sym, &rec);
  return rec;
}
tvbRecordHandle* tvbFindLastRecordPy(tvbHandle* ptvb, tvbSymbol* sym, int* status) {
  tvbRecordHandle* rec = nullptr;
  *status = tvbFindLastRecord(ptvb, sym, &rec);
  return rec;
}
tvbRecordHandle* tvbFindFirstRecordSlicePy(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, int* status) {
  tvbRecordHandle* rec = nullptr;
  *status = tvbFindFirstRecordSlice(ptvb, sym, slice, &rec);
  return rec;
}
tvbRecordHandle* tvbFindLastRecordSlicePy(tvbHandle* ptvb, tvbSymbol* sym, const char* const* slice, int* status) {
  tvbRecordHandle* rec = nullptr;
  *status = tvbFindLastRecordSlice(ptvb, sym, slice, &rec);
  return rec;
}

int tvbRecordMoveNext(tvbHandle* ptvb, tvbRecordHandle* rec) {
  TVB_ASSERT(ptvb != NULL);
  return (rec && stepWithinLeaf(rec)) || move(ptvb, rec, true);
}
int tvbRecordMovePrev(tvbHandle* ptvb, tvbRecordHandle* rec) { return move(ptvb, rec, false); }
int tvbRecordHasNext(tvbHandle* ptvb, tvbRecordHandle* rec) { return has(ptvb, rec, true); }
int tvbRecordHasPrev(tvbHandle* ptvb, tvbRecordHandle* rec) { return has(ptvb, rec, false); }

int tvbSameRecord(tvbHandle* ptvb, tvbRecordHandle* rec1, tvbRecordHandle* rec2) {
  TVB_ASSERT(ptvb != NULL);
  if (rec1 == rec2) return 1;
  if (!rec1 || !rec2 || rec1->symbol != rec2->symbol) return 0;
  if (rec1->onUniverse()) return rec1->uelPosition == rec2->uelPosition;
  if (!resolve(rec1, nullptr) || !resolve(rec2, nullptr)) return 0;
  return rec1->position == rec2->position;
}

int tvbCopySymbolIterator(tvbHandle* ptvb, tvbRecordHandle* src, tvbRecordHandle** rec) {
  TVB_ASSERT(ptvb != NULL);
  *rec = nullptr;
  if (!src) return setError(ptvb, msg::kNoSourceRecordHandle), 0;
  return guarded(ptvb, "tvbCopySymbolIterator", [&] {
    if (src->onUniverse()) {
      *rec = makeUniverseHandle(src->symbol, src->uelPosition).release();
      return 1;
    }
    if (!resolve(src, ptvb)) return 0;
    *rec = makeRecordHandle(src->symbol, src->position).release();
    return 1;
  });
}

tvbRecordHandle* tvbCopySymbolIteratorPy(tvbHandle* ptvb, tvbRecordHandle* src, int* status) {
  tvbRecordHandle* rec = nullptr;
  *status = tvbCopySymbolIterator(ptvb, src, &rec);
  return rec;
}

int tvbFreeSymbolIterator(tvbHandle* ptvb, tvbRecordHandle* rec) {
  if (!rec) {
    TVB_ASSERT(ptvb != NULL);
    return setError(ptvb, msg::kNoIteratorToFree), 0;
  }
  freeHandle(ptvb, rec);
  return 1;
}
