// The domain-violation operations: checks of one symbol or the whole database, violation handles and their
// moves, and the end of a whole-database check.
//
// Misuse that the caller can make is reported, never fatal: starting a whole-database check while one is open,
// moving to the next symbol without one, and a null violation handle or symbol fail with a message.
#include <memory>

#include "api/operations.h"
#include "core/database.h"
#include "core/frame.h"
#include "core/messages.h"
#include "domains/domain_lookups.h"
#include "domains/messages.h"
#include "domains/violation_handle.h"
#include "domains/violation_search.h"

using namespace tvb;
using namespace tvb::domains;

namespace {

// A handle that stands on a record: present, not moved past the end, and its record not removed since.
bool standsOnViolation(tvbHandle* ptvb, tvbDVHandle* dv) {
  if (!dv) return setError(ptvb, domains::msg::kNoViolationHandle), false;
  if (dv->valid && !resolve(&dv->record, nullptr)) dv->valid = false;
  if (!dv->valid) return setError(ptvb, domains::msg::kInvalidViolationHandle), false;
  return true;
}

}  // namespace

int tvbGetFirstDVInSymbol(tvbHandle* ptvb, tvbSymbol* sym, tvbDVHandle** dv) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(dv != NULL);
  *dv = nullptr;
  if (!sym) return setError(ptvb, tvb::msg::kNoSymbol), 0;
  return guarded(ptvb, "tvbGetFirstDVInSymbol", [&] {
    std::unique_ptr<tvbDVHandle> found;
    if (!searchSymbol(ptvb, sym, &found)) return 0;
    *dv = found.release();
    return 1;
  });
}

tvbDVHandle* tvbGetFirstDVInSymbolPy(tvbHandle* ptvb, tvbSymbol* sym, int* status) {
  tvbDVHandle* dv = nullptr;
  *status = tvbGetFirstDVInSymbol(ptvb, sym, &dv);
  return dv;
}

int tvbGetFirstDBDV(tvbHandle* ptvb, tvbDVHandle** dv) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(dv != NULL);
  *dv = nullptr;
  if (ptvb->dvAllSymbolMode != 0) return setError(ptvb, domains::msg::kWholeCheckOpen), 0;
  return guarded(ptvb, "tvbGetFirstDBDV", [&] {
    tvbSymbol* candidate = nextCandidate(ptvb, nullptr);
    if (!candidate) return 1;  // nothing to check: no check is opened
    // A failure on the way (a load, memory) leaves no check open and no lookup behind.
    struct CloseUnlessOpened {
      tvbHandle* db;
      bool opened = false;
      ~CloseUnlessOpened() {
        if (!opened) closeWholeCheck(db);
      }
    } close{ptvb};
    if (!prepareLookups(ptvb, allSymbolsOf(ptvb))) return 0;
    ptvb->dvAllSymbolMode = 1;
    std::unique_ptr<tvbDVHandle> found;
    while (candidate && !found) {
      if (!searchSymbol(ptvb, candidate, &found)) return 0;
      if (!found) candidate = nextCandidate(ptvb, candidate);
    }
    close.opened = true;
    *dv = found.release();
    return 1;
  });
}

tvbDVHandle* tvbGetFirstDBDVPy(tvbHandle* ptvb, int* status) {
  tvbDVHandle* dv = nullptr;
  *status = tvbGetFirstDBDV(ptvb, &dv);
  return dv;
}

int tvbGetFirstDVInNextSymbol(tvbHandle* ptvb, tvbDVHandle* dv, int* moved) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(moved != NULL);
  *moved = 0;
  if (!dv) return setError(ptvb, domains::msg::kNoViolationHandle), 0;
  if (ptvb->dvAllSymbolMode != 1) return setError(ptvb, domains::msg::kNoWholeCheckOpen), 0;
  return guarded(ptvb, "tvbGetFirstDVInNextSymbol", [&] {
    for (tvbSymbol* candidate = nextCandidate(ptvb, dv->symbol()); candidate;
         candidate = nextCandidate(ptvb, candidate)) {
      std::unique_ptr<tvbDVHandle> found;
      if (!searchSymbol(ptvb, candidate, &found)) return 0;
      if (found) {
        dv->record.symbol = candidate;
        placeHandle(&dv->record, found->record.position);
        dv->valid = true;
        *moved = 1;
        return 1;
      }
    }
    return 1;
  });
}

int tvbMoveNextDVInSymbol(tvbHandle* ptvb, tvbDVHandle* dv, int* moved) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(moved != NULL);
  *moved = 0;
  if (!dv) return setError(ptvb, domains::msg::kNoViolationHandle), 0;
  if (!dv->valid) return 1;
  if (!resolve(&dv->record, ptvb)) {
    dv->valid = false;  // its record was removed: there is no place to go on from
    return 0;
  }
  const tvbSymbol* sym = dv->symbol();
  const RecordStore& records = *sym->records;
  Guard guards[GLOBAL_MAX_INDEX_DIM];
  const int count = guardsOf(sym, guards);
  RecordStore::Position p = firstViolation(records, records.next(dv->record.position), guards, count);
  if (p.isEnd()) {
    dv->valid = false;
    return 1;
  }
  placeHandle(&dv->record, p);
  *moved = 1;
  return 1;
}

int tvbGetDVSymbol(tvbHandle* ptvb, tvbDVHandle* dv, tvbSymbol** sym) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(sym != NULL);
  *sym = nullptr;
  if (!standsOnViolation(ptvb, dv)) return 0;
  *sym = dv->symbol();
  return 1;
}

tvbSymbol* tvbGetDVSymbolPy(tvbHandle* ptvb, tvbDVHandle* dv, int* status) {
  tvbSymbol* sym = nullptr;
  *status = tvbGetDVSymbol(ptvb, dv, &sym);
  return sym;
}

int tvbGetDVSymbolRecord(tvbHandle* ptvb, tvbDVHandle* dv, tvbRecordHandle** rec) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(rec != NULL);
  *rec = nullptr;
  if (!standsOnViolation(ptvb, dv)) return 0;
  return guarded(ptvb, "tvbGetDVSymbolRecord", [&] {
    *rec = makeRecordHandle(dv->symbol(), dv->record.position).release();
    return 1;
  });
}

tvbRecordHandle* tvbGetDVSymbolRecordPy(tvbHandle* ptvb, tvbDVHandle* dv, int* status) {
  tvbRecordHandle* rec = nullptr;
  *status = tvbGetDVSymbolRecord(ptvb, dv, &rec);
  return rec;
}

int tvbGetDVIndicator(tvbHandle* ptvb, tvbDVHandle* dv, int* indicator) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(indicator != NULL);
  if (!standsOnViolation(ptvb, dv)) return 0;
  const tvbSymbol* sym = dv->symbol();
  for (int i = 0; i < sym->dim; ++i) indicator[i] = 0;
  Guard guards[GLOBAL_MAX_INDEX_DIM];
  const int count = guardsOf(sym, guards);
  for (int g = 0; g < count; ++g)
    if (outside(guards[g], dv->record.key)) indicator[guards[g].position] = 1;
  return 1;
}

int tvbFreeDVHandle(tvbHandle* ptvb, tvbDVHandle* dv) {
  TVB_ASSERT(ptvb != NULL);
  if (!dv) return 1;
  const tvbSymbol* sym = dv->symbol();
  delete dv;
  if (ptvb->dvAllSymbolMode == 0) {
    for (tvbSymbol* d : sym->domains)
      if (d) d->aliasOf->domainLookup.reset();
  }
  return 1;
}

int tvbDomainCheckDone(tvbHandle* ptvb) {
  TVB_ASSERT(ptvb != NULL);
  if (ptvb->dvAllSymbolMode == 1) closeWholeCheck(ptvb);
  return 1;
}

int tvbCheckDBDV(tvbHandle* ptvb, int* hasViolation) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(hasViolation != NULL);
  tvbDVHandle* dv = nullptr;
  const int status = tvbGetFirstDBDV(ptvb, &dv);
  *hasViolation = dv != nullptr;
  if (!status) return 0;
  tvbFreeDVHandle(ptvb, dv);
  return tvbDomainCheckDone(ptvb);
}

int tvbCheckSymbolDV(tvbHandle* ptvb, tvbSymbol* sym, int* hasViolation) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT(hasViolation != NULL);
  tvbDVHandle* dv = nullptr;
  const int status = tvbGetFirstDVInSymbol(ptvb, sym, &dv);
  *hasViolation = dv != nullptr;
  tvbFreeDVHandle(ptvb, dv);
  return status;
}
