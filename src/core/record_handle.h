// tvbRecordHandle: a caller-owned position on one record of a symbol (or one label of the Universe).
// It keeps the record's key beside its cached store position; when the store has changed structure since
// (records added or removed), the handle finds its key again, so it survives additions and detects that its
// own record was removed instead of touching freed memory.
#pragma once

#include <cstdint>
#include <memory>

#include "core/record_store.h"
#include "core/status.h"
#include "core/symbol.h"

struct tvbRecordHandle {
  tvbSymbol* symbol = nullptr;
  tvb::RecordStore::Position position;
  double* values = nullptr;  // the record's values at position
  uint64_t version = 0;      // store version for which position and values are valid
  int uelPosition = -1;  // label number for a Universe handle, -1 otherwise
  bool pastEnd = false;  // stands behind the last record, after deleting that record
  std::unique_ptr<int[]> slicePattern;  // per position a fixed label number, or 0 for a free position
  int key[GLOBAL_MAX_INDEX_DIM];  // the first dim entries are set
  tvb::RecordStore::KeyReader reader;  // of position's leaf, valid with position

  bool onUniverse() const { return uelPosition >= 0; }
};

namespace tvb {

// A new handle on the record at position p of sym's store.
std::unique_ptr<tvbRecordHandle> makeRecordHandle(tvbSymbol* sym, RecordStore::Position p);
// A new handle on label number uel of the Universe.
std::unique_ptr<tvbRecordHandle> makeUniverseHandle(tvbSymbol* universe, int uel);
// Frees a handle the caller is done with, keeping it in *spare for the next handle when that is empty.
void freeHandle(std::unique_ptr<tvbRecordHandle>* spare, tvbRecordHandle* h);

// Moves the handle onto the record at p (not end()).
inline void placeHandle(tvbRecordHandle* h, RecordStore::Position p) {
  const RecordStore& store = *h->symbol->records;
  h->position = p;
  h->values = store.values(p);
  h->version = store.version();
  h->pastEnd = false;
  h->reader = store.keyReader(p.leaf);
  store.readKey(h->reader, p.leaf, p.slot, h->key);
}

// Steps an up-to-date handle without a slice to the next record when that record is in the same leaf: the
// common step of a walk, done without touching anything but the handle. False when it does not apply.
inline bool stepWithinLeaf(tvbRecordHandle* h) {
  if (h->uelPosition >= 0 || h->pastEnd || h->slicePattern) return false;
  const RecordStore& store = *h->symbol->records;
  if (h->version != store.version() || h->position.slot + 1 >= h->position.leaf->count) return false;
  ++h->position.slot;
  h->values += store.valueStride();
  store.readKey(h->reader, h->position.leaf, h->position.slot, h->key);
  return true;
}

// Kept out of line so that the fast path of resolve() stays small where it is inlined.
[[gnu::noinline, gnu::cold]] bool resolveSlow(tvbRecordHandle* h);

// Brings the cached position up to date. False when the handle stands on no record (its record was removed,
// or it stands behind the last record). Unchanged stores, the common case of walks and value access, cost
// one comparison.
inline bool resolve(tvbRecordHandle* h) {
  if (h->uelPosition < 0 && !h->pastEnd && h->version == h->symbol->records->version()) return true;
  return resolveSlow(h);
}

// The failure of a handle that stands on no record.
Status staleHandle(const tvbRecordHandle* h);

// resolve(), with its failure as a status.
inline Status checkOnRecord(tvbRecordHandle* h) { return resolve(h) ? Status() : staleHandle(h); }

// The record's values (resolve() must have succeeded on a non-Universe handle).
inline double* recordValues(tvbRecordHandle* h) { return h->values; }

}  // namespace tvb
