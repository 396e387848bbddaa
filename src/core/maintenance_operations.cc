// Deleting records, clearing and copying symbols, element texts, user information and write recording.
#include <cstring>
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

// Empties a symbol; one still waiting in its data source is marked loaded and never read.
void clearRecords(tvbSymbol* sym) {
  if (sym->loaded) sym->records->clear();
  sym->markLoaded();
}

// The element text number held in a set record's value (0 for none, -1 for a value that is no number).
int textNumber(double value) { return value >= 0 && value < 2147483647.0 ? static_cast<int>(value) : -1; }

// Copies every record of source into target (already emptied), translating label numbers by text when the
// databases differ.
Status copyRecords(tvbSymbol* target, tvbSymbol* source) {
  DatabaseCore& targetDb = *target->db;
  const DatabaseCore& sourceDb = *source->db;
  const int dim = source->dim;

  if (source->isUniverse()) {
    for (int uel = 1; uel <= sourceDb.labels.count(); ++uel) {
      const char* label = sourceDb.labels.label(uel);
      if (target->isUniverse()) {
        targetDb.labels.findOrAdd(label);
      } else {
        std::unique_ptr<tvbRecordHandle> unused;
        TVB_RETURN_IF_FAILED(addRecordByLabels(targetDb, target, &label, nullptr, "", &unused));
      }
    }
    return Status();
  }

  TVB_RETURN_IF_FAILED(ensureLoaded(source));
  const RecordStore& from = *source->records;
  if (&targetDb == &sourceDb && !target->isUniverse()) {
    // Same label table: keys carry over unchanged, and so do element text numbers.
    RecordStore& to = *target->records;
    int key[GLOBAL_MAX_INDEX_DIM];
    for (auto p = from.first(); !p.isEnd(); p = from.next(p)) {
      from.key(p, key);
      std::memcpy(to.valuesToWrite(key), from.values(p), sizeof(double) * from.valueCount());
    }
    return Status();
  }
  const char* labels[GLOBAL_MAX_INDEX_DIM];
  int key[GLOBAL_MAX_INDEX_DIM];
  for (auto p = from.first(); !p.isEnd(); p = from.next(p)) {
    from.key(p, key);
    for (int i = 0; i < dim; ++i) labels[i] = sourceDb.labels.label(key[i]);
    if (target->isUniverse()) {
      targetDb.labels.findOrAdd(labels[0]);
      continue;
    }
    const double* values = from.values(p);
    const char* text = source->type == TRV_DT_SET ? sourceDb.elemTexts.text(textNumber(values[0])) : "";
    TVB_RETURN_IF_FAILED(addRecordByLabels(targetDb, target, labels, values, text, nullptr));
  }
  return Status();
}

Status copySymbol(tvbSymbol* target, tvbSymbol* source) {
  // A symbol copied onto itself already holds what the copy would give it.
  if (target != source) {
    if (!target->isUniverse()) clearRecords(target);
    TVB_RETURN_IF_FAILED(copyRecords(target, source));
  }
  target->db->writeRecording.noteChange(target);
  return Status();
}

// Either symbol may belong to another database than the one called: the copy works in the target's own
// database, translating labels by text.
Status checkCopy(const tvbSymbol* target, const tvbSymbol* source) {
  if (!source) return Status::error(msg::kNoSourceSymbol);
  if (!target) return Status::error(msg::kNoTargetSymbol);
  if (target->dim != source->dim) return Status::error(msg::kInconsistentDims);
  if (target->type != source->type) return Status::error(msg::kInconsistentTypes);
  return Status();
}

Status checkSetRecordHandle(const DatabaseCore& db, tvbRecordHandle* rec, const char* universeMessage) {
  if (!rec) return Status::error(msg::kNoRecordHandle);
  TVB_RETURN_IF_FAILED(checkRecordOf(db, rec));
  if (rec->onUniverse()) return Status::error("%s", universeMessage);
  if (rec->symbol->type != TRV_DT_SET)
    return Status::error(msg::kTextNotSet, rec->symbol->name.c_str(), typeName(rec->symbol->type));
  return checkOnRecord(rec);
}

Status deleteRecord(DatabaseCore& db, tvbRecordHandle* rec) {
  if (!rec) return Status::error(msg::kNoRecordHandle);
  TVB_RETURN_IF_FAILED(checkRecordOf(db, rec));
  if (rec->onUniverse()) return Status::error(msg::kDeleteUniverse);
  TVB_RETURN_IF_FAILED(checkOnRecord(rec));
  db.writeRecording.noteChange(rec->symbol);
  RecordStore& store = *rec->symbol->records;
  RecordStore::Position next = store.erase(rec->position);
  if (next.isEnd()) {
    rec->pastEnd = true;
    rec->version = store.version();
  } else {
    placeHandle(rec, next);
  }
  return Status();
}

Status checkSymbolToChange(const DatabaseCore& db, const tvbSymbol* sym, const char* universeMessage) {
  if (!sym) return Status::error(msg::kNoSymbol);
  TVB_RETURN_IF_FAILED(checkSymbolOf(db, sym));
  if (sym->isUniverse()) return Status::error("%s", universeMessage);
  return Status();
}

Status getElemText(const DatabaseCore& db, tvbRecordHandle* rec, char* text) {
  TVB_RETURN_IF_FAILED(checkSetRecordHandle(db, rec, msg::kGetTextUniverse));
  TVB_RETURN_IF_FAILED(checkGiven(text, "tvbGetElemText", "text"));
  int nr = textNumber(recordValues(rec)[0]);
  const char* stored = nr >= 1 ? rec->symbol->db->elemTexts.text(nr) : "";
  std::memcpy(text, stored, std::strlen(stored) + 1);
  return Status();
}

Status setElemText(DatabaseCore& db, tvbRecordHandle* rec, const char* text) {
  TVB_RETURN_IF_FAILED(checkSetRecordHandle(db, rec, msg::kSetTextUniverse));
  TVB_RETURN_IF_FAILED(checkGiven(text, "tvbSetElemText", "text"));
  if (std::strlen(text) >= TRV_SSSIZE) return Status::error(msg::kTextTooLong, TRV_SSSIZE - 1);
  db.writeRecording.noteChange(rec->symbol);
  double nr = text[0] == '\0' ? 0 : rec->symbol->db->elemTexts.intern(text);
  recordValues(rec)[0] = nr;
  return Status();
}

}  // namespace
}  // namespace tvb

int tvbDeleteRecord(tvbHandle* ptvb, tvbRecordHandle* rec) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::finish(ptvb, tvb::deleteRecord(tvb::coreOf(ptvb), rec));
}

int tvbClearSymbol(tvbHandle* ptvb, tvbSymbol* sym) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkSymbolToChange(tvb::coreOf(ptvb), sym, tvb::msg::kClearUniverse))) return 0;
  return tvb::guarded(ptvb, "tvbClearSymbol", [&] {
    tvb::clearRecords(sym);
    tvb::coreOf(ptvb).writeRecording.noteChange(sym);
    return tvb::Status();
  });
}

int tvbCopySymbol(tvbHandle* ptvb, tvbSymbol* target, tvbSymbol* source) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkCopy(target, source))) return 0;
  return tvb::guarded(ptvb, "tvbCopySymbol", [&] { return tvb::copySymbol(target, source); });
}

int tvbGetElemText(tvbHandle* ptvb, tvbRecordHandle* rec, char* text) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbGetElemText", [&] { return tvb::getElemText(tvb::coreOf(ptvb), rec, text); });
}

int tvbSetElemText(tvbHandle* ptvb, tvbRecordHandle* rec, const char* text) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbSetElemText", [&] { return tvb::setElemText(tvb::coreOf(ptvb), rec, text); });
}

int tvbSetUserInfo(tvbHandle* ptvb, tvbSymbol* sym, int userInfo) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkSymbolToChange(tvb::coreOf(ptvb), sym, tvb::msg::kUserInfoUniverse))) return 0;
  if (tvb::failed(ptvb, tvb::checkSubtype(sym->type, userInfo, sym->name.c_str()))) return 0;
  tvb::coreOf(ptvb).writeRecording.noteChange(sym);
  sym->userInfo = userInfo;
  return 1;
}

int tvbStartWriteRecording(tvbHandle* ptvb) {
  TVB_ASSERT(ptvb != NULL);
  tvb::DatabaseCore& db = tvb::coreOf(ptvb);
  return tvb::finish(ptvb, db.writeRecording.start(db.symbols));
}

int tvbStopWriteRecording(tvbHandle* ptvb) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::finish(ptvb, tvb::coreOf(ptvb).writeRecording.stop());
}
