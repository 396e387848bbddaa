// The domain-violation operations: checks of one symbol or the whole database, violation handles and their
// moves, and the end of a whole-database check.
//
// Misuse that the caller can make is reported, never fatal: starting a whole-database check while one is open,
// moving to the next symbol without one, and a null violation handle or symbol fail with a message.
//
// A whole-database walk that meets a symbol it cannot read ends there as if no symbol were left: the operation
// succeeds, and the reason is kept as the last error all the same.
#include <memory>

#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/messages.h"
#include "domains/domain_checks.h"
#include "domains/messages.h"
#include "domains/violation_handle.h"
#include "domains/violation_search.h"

namespace tvb::domains {
namespace {

// A violation handle of another database would release or build the domain lookups of this one. A null
// handle passes: each operation reports it with its own message.
Status checkViolationOf(const DatabaseCore& db, const tvbDVHandle* dv) {
  if (!dv || dv->symbol()->db == &db) return Status();
  return Status::error(msg::kForeignViolationHandle, dv->symbol()->name.c_str());
}

// A handle that stands on a record: present, not moved past the end, and its record not removed since.
Status checkStandsOnViolation(tvbDVHandle* dv) {
  if (!dv) return Status::error(msg::kNoViolationHandle);
  if (dv->valid && !resolve(&dv->record)) dv->valid = false;
  if (!dv->valid) return Status::error(msg::kInvalidViolationHandle);
  return Status();
}

// The next candidate of a whole-database walk; a symbol that cannot be read ends the walk (null), its failure
// noted in *walkEnd.
tvbSymbol* nextInWalk(const DatabaseCore& db, const tvbSymbol* after, Status* walkEnd) {
  tvbSymbol* next = nullptr;
  Status status = nextCandidate(db, after, &next);
  if (!status.ok()) *walkEnd = status;
  return next;
}

Status getFirstDVInSymbol(DomainChecks& checks, tvbSymbol* sym, tvbDVHandle** dv) {
  std::unique_ptr<tvbDVHandle> found;
  TVB_RETURN_IF_FAILED(searchSymbol(checks, sym, &found));
  *dv = found.release();
  return Status();
}

Status getFirstDBDV(const DatabaseCore& db, DomainChecks& checks, tvbDVHandle** dv, Status* walkEnd) {
  tvbSymbol* candidate = nextInWalk(db, nullptr, walkEnd);
  if (!candidate) return Status();  // nothing to check: no check is opened
  // A failure on the way (a load, memory) leaves no check open and no lookup behind.
  struct CloseUnlessOpened {
    DomainChecks& checks;
    bool opened = false;
    ~CloseUnlessOpened() {
      if (!opened) checks.closeWholeCheck();
    }
  } close{checks};
  TVB_RETURN_IF_FAILED(checks.prepareLookups(allSymbolsOf(db)));
  checks.openWholeCheck();
  std::unique_ptr<tvbDVHandle> found;
  while (candidate && !found) {
    TVB_RETURN_IF_FAILED(searchSymbol(checks, candidate, &found));
    if (!found) candidate = nextInWalk(db, candidate, walkEnd);
  }
  close.opened = true;
  *dv = found.release();
  return Status();
}

Status getFirstDVInNextSymbol(const DatabaseCore& db, DomainChecks& checks, tvbDVHandle* dv, int* moved,
                              Status* walkEnd) {
  for (tvbSymbol* candidate = nextInWalk(db, dv->symbol(), walkEnd); candidate;
       candidate = nextInWalk(db, candidate, walkEnd)) {
    std::unique_ptr<tvbDVHandle> found;
    TVB_RETURN_IF_FAILED(searchSymbol(checks, candidate, &found));
    if (found) {
      dv->record.symbol = candidate;
      placeHandle(&dv->record, found->record.position);
      dv->valid = true;
      *moved = 1;
      return Status();
    }
  }
  return Status();
}

Status moveNextDVInSymbol(const DomainChecks& checks, tvbDVHandle* dv, int* moved) {
  if (!dv) return Status::error(msg::kNoViolationHandle);
  if (!dv->valid) return Status();
  if (!resolve(&dv->record)) {
    dv->valid = false;  // its record was removed: there is no place to go on from
    return staleHandle(&dv->record);
  }
  const tvbSymbol* sym = dv->symbol();
  const RecordStore& records = *sym->records;
  Guard guards[GLOBAL_MAX_INDEX_DIM];
  const int count = checks.guardsOf(sym, guards);
  RecordStore::Position p = firstViolation(records, records.next(dv->record.position), guards, count);
  if (p.isEnd()) {
    dv->valid = false;
    return Status();
  }
  placeHandle(&dv->record, p);
  *moved = 1;
  return Status();
}

void getDVIndicator(const DomainChecks& checks, const tvbDVHandle* dv, int* indicator) {
  const tvbSymbol* sym = dv->symbol();
  for (int i = 0; i < sym->dim; ++i) indicator[i] = 0;
  Guard guards[GLOBAL_MAX_INDEX_DIM];
  const int count = checks.guardsOf(sym, guards);
  for (int g = 0; g < count; ++g)
    if (outside(guards[g], dv->record.key)) indicator[guards[g].position] = 1;
}

// The C result of a walk: its status, with a walk that ended at an unreadable symbol noted as the last error.
int finishWalk(tvbHandle* ptvb, const Status& status, const Status& walkEnd) {
  if (!walkEnd.ok()) storeLastError(ptvb, walkEnd);
  return finish(ptvb, status);
}

}  // namespace
}  // namespace tvb::domains

int tvbGetFirstDVInSymbol(tvbHandle* ptvb, tvbSymbol* sym, tvbDVHandle** dv) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(dv, "tvbGetFirstDVInSymbol", "dv"))) return 0;
  *dv = nullptr;
  if (!sym) return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kNoSymbol));
  if (tvb::failed(ptvb, tvb::checkSymbolOf(tvb::coreOf(ptvb), sym))) return 0;
  return tvb::guarded(ptvb, "tvbGetFirstDVInSymbol",
                      [&] { return tvb::domains::getFirstDVInSymbol(tvb::domains::domainChecksOf(ptvb), sym, dv); });
}

tvbDVHandle* tvbGetFirstDVInSymbolPy(tvbHandle* ptvb, tvbSymbol* sym, int* status) {
  return tvb::pyForm<tvbDVHandle>(ptvb, status, "tvbGetFirstDVInSymbolPy",
                                  [&](tvbDVHandle** out) { return tvbGetFirstDVInSymbol(ptvb, sym, out); });
}

int tvbGetFirstDBDV(tvbHandle* ptvb, tvbDVHandle** dv) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(dv, "tvbGetFirstDBDV", "dv"))) return 0;
  *dv = nullptr;
  tvb::domains::DomainChecks& checks = tvb::domains::domainChecksOf(ptvb);
  if (checks.wholeCheckOpen()) return tvb::finish(ptvb, tvb::Status::error(tvb::domains::msg::kWholeCheckOpen));
  tvb::Status walkEnd;
  const tvb::Status status = tvb::guard("tvbGetFirstDBDV", "tvbGetFirstDBDV", [&] {
    return tvb::domains::getFirstDBDV(tvb::coreOf(ptvb), checks, dv, &walkEnd);
  });
  return tvb::domains::finishWalk(ptvb, status, walkEnd);
}

tvbDVHandle* tvbGetFirstDBDVPy(tvbHandle* ptvb, int* status) {
  return tvb::pyForm<tvbDVHandle>(ptvb, status, "tvbGetFirstDBDVPy",
                                  [&](tvbDVHandle** out) { return tvbGetFirstDBDV(ptvb, out); });
}

int tvbGetFirstDVInNextSymbol(tvbHandle* ptvb, tvbDVHandle* dv, int* moved) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::domains::checkViolationOf(tvb::coreOf(ptvb), dv))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(moved, "tvbGetFirstDVInNextSymbol", "moved"))) return 0;
  *moved = 0;
  if (!dv) return tvb::finish(ptvb, tvb::Status::error(tvb::domains::msg::kNoViolationHandle));
  tvb::domains::DomainChecks& checks = tvb::domains::domainChecksOf(ptvb);
  if (!checks.wholeCheckOpen()) return tvb::finish(ptvb, tvb::Status::error(tvb::domains::msg::kNoWholeCheckOpen));
  tvb::Status walkEnd;
  const tvb::Status status = tvb::guard("tvbGetFirstDVInNextSymbol", "tvbGetFirstDVInNextSymbol", [&] {
    return tvb::domains::getFirstDVInNextSymbol(tvb::coreOf(ptvb), checks, dv, moved, &walkEnd);
  });
  return tvb::domains::finishWalk(ptvb, status, walkEnd);
}

int tvbMoveNextDVInSymbol(tvbHandle* ptvb, tvbDVHandle* dv, int* moved) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::domains::checkViolationOf(tvb::coreOf(ptvb), dv))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(moved, "tvbMoveNextDVInSymbol", "moved"))) return 0;
  *moved = 0;
  return tvb::finish(ptvb, tvb::domains::moveNextDVInSymbol(tvb::domains::domainChecksOf(ptvb), dv, moved));
}

int tvbGetDVSymbol(tvbHandle* ptvb, tvbDVHandle* dv, tvbSymbol** sym) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::domains::checkViolationOf(tvb::coreOf(ptvb), dv))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(sym, "tvbGetDVSymbol", "sym"))) return 0;
  *sym = nullptr;
  if (tvb::failed(ptvb, tvb::domains::checkStandsOnViolation(dv))) return 0;
  *sym = dv->symbol();
  return 1;
}

tvbSymbol* tvbGetDVSymbolPy(tvbHandle* ptvb, tvbDVHandle* dv, int* status) {
  return tvb::pyForm<tvbSymbol>(ptvb, status, "tvbGetDVSymbolPy",
                                [&](tvbSymbol** out) { return tvbGetDVSymbol(ptvb, dv, out); });
}

int tvbGetDVSymbolRecord(tvbHandle* ptvb, tvbDVHandle* dv, tvbRecordHandle** rec) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::domains::checkViolationOf(tvb::coreOf(ptvb), dv))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(rec, "tvbGetDVSymbolRecord", "rec"))) return 0;
  *rec = nullptr;
  if (tvb::failed(ptvb, tvb::domains::checkStandsOnViolation(dv))) return 0;
  return tvb::guarded(ptvb, "tvbGetDVSymbolRecord", [&] {
    *rec = tvb::makeRecordHandle(dv->symbol(), dv->record.position).release();
    return tvb::Status();
  });
}

tvbRecordHandle* tvbGetDVSymbolRecordPy(tvbHandle* ptvb, tvbDVHandle* dv, int* status) {
  return tvb::pyForm<tvbRecordHandle>(ptvb, status, "tvbGetDVSymbolRecordPy",
                                      [&](tvbRecordHandle** out) { return tvbGetDVSymbolRecord(ptvb, dv, out); });
}

int tvbGetDVIndicator(tvbHandle* ptvb, tvbDVHandle* dv, int* indicator) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::domains::checkViolationOf(tvb::coreOf(ptvb), dv))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(indicator, "tvbGetDVIndicator", "indicator"))) return 0;
  if (tvb::failed(ptvb, tvb::domains::checkStandsOnViolation(dv))) return 0;
  tvb::domains::getDVIndicator(tvb::domains::domainChecksOf(ptvb), dv, indicator);
  return 1;
}

int tvbFreeDVHandle(tvbHandle* ptvb, tvbDVHandle* dv) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::domains::checkViolationOf(tvb::coreOf(ptvb), dv))) return 0;
  if (!dv) return 1;
  const tvbSymbol* sym = dv->symbol();
  delete dv;
  tvb::domains::DomainChecks& checks = tvb::domains::domainChecksOf(ptvb);
  if (!checks.wholeCheckOpen()) checks.releaseDomainLookups(sym);
  return 1;
}

int tvbDomainCheckDone(tvbHandle* ptvb) {
  TVB_ASSERT(ptvb != NULL);
  tvb::domains::DomainChecks& checks = tvb::domains::domainChecksOf(ptvb);
  if (checks.wholeCheckOpen()) checks.closeWholeCheck();
  return 1;
}

int tvbCheckDBDV(tvbHandle* ptvb, int* hasViolation) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(hasViolation, "tvbCheckDBDV", "hasViolation"))) return 0;
  tvbDVHandle* dv = nullptr;
  const int status = tvbGetFirstDBDV(ptvb, &dv);
  *hasViolation = dv != nullptr;
  if (!status) return 0;
  tvbFreeDVHandle(ptvb, dv);
  return tvbDomainCheckDone(ptvb);
}

int tvbCheckSymbolDV(tvbHandle* ptvb, tvbSymbol* sym, int* hasViolation) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(hasViolation, "tvbCheckSymbolDV", "hasViolation"))) return 0;
  tvbDVHandle* dv = nullptr;
  const int status = tvbGetFirstDVInSymbol(ptvb, sym, &dv);
  *hasViolation = dv != nullptr;
  tvbFreeDVHandle(ptvb, dv);
  return status;
}
