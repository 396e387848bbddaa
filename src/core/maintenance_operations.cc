// Deleting records, clearing and copying symbols, element texts, user information and write recording.
#include <cstring>
#include <string>

#include "api/operations.h"
#include "core/database.h"
#include "core/frame.h"
#include "core/messages.h"
#include "core/record_handle.h"
#include "core/records.h"

using namespace tvb;

namespace {

// Empties a symbol; one still waiting in its data source is marked loaded and never read.
void clearRecords(tvbSymbol* sym) {
  if (sym->loaded) sym->records->clear();
  sym->loaded = true;
}

// The element text number held in a set record's value (0 for none, -1 for a value that is no number).
int textNumber(double value) { return value >= 0 && value < 2147483647.0 ? static_cast<int>(value) : -1; }

// Copies every record of source into target (already emptied), translating label numbers by text when the
// databases differ. Returns null on success, else the database whose last error says why.
tvbHandle* copyRecords(tvbSymbol* target, tvbSymbol* source) {
  tvbHandle* targetDb = target->db;
  const tvbHandle* sourceDb = source->db;
  const int dim = source->dim;

  if (source->isUniverse()) {
    for (int uel = 1; uel <= sourceDb->labels.count(); ++uel) {
      const char* label = sourceDb->labels.label(uel);
      if (target->isUniverse()) {
        targetDb->labels.findOrAdd(label);
      } else {
        std::unique_ptr<tvbRecordHandle> unused;
        if (!addRecordByLabels(targetDb, target, &label, nullptr, "", &unused)) return targetDb;
      }
    }
    return nullptr;
  }

  if (!ensureLoaded(source->db, source)) return source->db;
  const RecordStore& from = *source->records;
  if (targetDb == sourceDb && !target->isUniverse()) {
    // Same label table: keys carry over unchanged, and so do element text numbers.
    RecordStore& to = *target->records;
    for (auto p = from.first(); !p.isEnd(); p = from.next(p)) {
      auto [q, inserted] = to.insert(from.key(p));
      std::memcpy(to.values(q), from.values(p), sizeof(double) * from.valueCount());
    }
    return nullptr;
  }
  const char* labels[GLOBAL_MAX_INDEX_DIM];
  for (auto p = from.first(); !p.isEnd(); p = from.next(p)) {
    const int* key = from.key(p);
    for (int i = 0; i < dim; ++i) labels[i] = sourceDb->labels.label(key[i]);
    if (target->isUniverse()) {
      targetDb->labels.findOrAdd(labels[0]);
      continue;
    }
    const double* values = from.values(p);
    const char* text = source->type == TRV_DT_SET ? sourceDb->elemTexts.text(textNumber(values[0])) : "";
    if (!addRecordByLabels(targetDb, target, labels, values, text, nullptr)) return targetDb;
  }
  return nullptr;
}

bool isSetRecordHandle(tvbHandle* db, tvbRecordHandle* rec, const char* universeMessage) {
  if (!rec) return setError(db, msg::kNoRecordHandle), false;
  if (rec->onUniverse()) return setError(db, "%s", universeMessage), false;
  if (rec->symbol->type != TRV_DT_SET)
    return setError(db, msg::kTextNotSet, rec->symbol->name.c_str(), typeName(rec->symbol->type)), false;
  return resolve(rec, db);
}

}  // namespace

int tvbDeleteRecord(tvbHandle* ptvb, tvbRecordHandle* rec) {
  TVB_ASSERT(ptvb != NULL);
  if (!rec) return setError(ptvb, msg::kNoRecordHandle), 0;
  if (rec->onUniverse()) return setError(ptvb, msg::kDeleteUniverse), 0;
  if (!resolve(rec, ptvb)) return 0;
  ptvb->recordWrite(rec->symbol);
  RecordStore& store = *rec->symbol->records;
  RecordStore::Position next = store.erase(rec->position);
  if (next.isEnd()) {
    rec->pastEnd = true;
    rec->version = store.version();
  } else {
    placeHandle(rec, next);
  }
  return 1;
}

int tvbClearSymbol(tvbHandle* ptvb, tvbSymbol* sym) {
  TVB_ASSERT(ptvb != NULL);
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  if (sym->isUniverse()) return setError(ptvb, msg::kClearUniverse), 0;
  return guarded(ptvb, "tvbClearSymbol", [&] {
    clearRecords(sym);
    ptvb->recordWrite(sym);
    return 1;
  });
}

int tvbCopySymbol(tvbHandle* ptvb, tvbSymbol* target, tvbSymbol* source) {
  TVB_ASSERT(ptvb != NULL);
  if (!source) return setError(ptvb, msg::kNoSourceSymbol), 0;
  if (!target) return setError(ptvb, msg::kNoTargetSymbol), 0;
  if (target->dim != source->dim) return setError(ptvb, msg::kInconsistentDims), 0;
  if (target->type != source->type) return setError(ptvb, msg::kInconsistentTypes), 0;
  return guarded(ptvb, "tvbCopySymbol", [&] {
    // A symbol copied onto itself already holds what the copy would give it.
    if (target != source) {
      if (!target->isUniverse()) clearRecords(target);
      if (tvbHandle* failed = copyRecords(target, source)) {
        if (failed != ptvb) setError(ptvb, "%s", failed->lastError);
        return 0;
      }
    }
    target->db->recordWrite(target);
    return 1;
  });
}

int tvbGetElemText(tvbHandle* ptvb, tvbRecordHandle* rec, char* text) {
  TVB_ASSERT(ptvb != NULL);
  return guarded(ptvb, "tvbGetElemText", [&] {
    if (!isSetRecordHandle(ptvb, rec, msg::kGetTextUniverse)) return 0;
    int nr = textNumber(recordValues(rec)[0]);
    const char* stored = nr >= 1 ? rec->symbol->db->elemTexts.text(nr) : "";
    std::memcpy(text, stored, std::strlen(stored) + 1);
    return 1;
  });
}

int tvbSetElemText(tvbHandle* ptvb, tvbRecordHandle* rec, const char* text) {
  TVB_ASSERT(ptvb != NULL);
  return guarded(ptvb, "tvbSetElemText", [&] {
    if (!isSetRecordHandle(ptvb, rec, msg::kSetTextUniverse)) return 0;
    if (std::strlen(text) >= TRV_SSSIZE) return setError(ptvb, msg::kTextTooLong, TRV_SSSIZE - 1), 0;
    ptvb->recordWrite(rec->symbol);
    double nr = text[0] == '\0' ? 0 : rec->symbol->db->elemTexts.intern(text);
    recordValues(rec)[0] = nr;
    return 1;
  });
}

int tvbSetUserInfo(tvbHandle* ptvb, tvbSymbol* sym, int userInfo) {
  TVB_ASSERT(ptvb != NULL);
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  if (sym->isUniverse()) return setError(ptvb, msg::kUserInfoUniverse), 0;
  ptvb->recordWrite(sym);
  sym->userInfo = userInfo;
  return 1;
}

int tvbStartWriteRecording(tvbHandle* ptvb) {
  TVB_ASSERT(ptvb != NULL);
  if (ptvb->writeRecording) return setError(ptvb, msg::kRecordingActive), 0;
  ptvb->writeRecording = true;
  for (tvbSymbol* sym : ptvb->symbolIndex) sym->written = false;
  return 1;
}

int tvbStopWriteRecording(tvbHandle* ptvb) {
  TVB_ASSERT(ptvb != NULL);
  if (!ptvb->writeRecording) return setError(ptvb, msg::kRecordingInactive), 0;
  ptvb->writeRecording = false;
  return 1;
}
