// Adding and finding records, and reading their keys.
#include <algorithm>
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

template <class Text>
std::string formatKey(const Text* labels, int dim) {
  std::string key = "(";
  for (int i = 0; i < dim; ++i) {
    if (i) key += ',';
    key += '"';
    key += labels[i];
    key += '"';
  }
  key += ')';
  return key;
}
template std::string formatKey(const char* const* labels, int dim);
template std::string formatKey(const std::string_view* labels, int dim);

Status addRecordByLabels(DatabaseCore& db, tvbSymbol* sym, const char* const* labels, const double* values,
                         const char* text, std::unique_ptr<tvbRecordHandle>* handle) {
  TVB_RETURN_IF_FAILED(ensureLoaded(sym));
  int key[GLOBAL_MAX_INDEX_DIM];
  std::string_view normalised;
  for (int i = 0; i < sym->dim; ++i) {
    TVB_RETURN_IF_FAILED(checkLabel(labels[i], normalised));
    key[i] = db.labels.findOrAdd(normalised);
  }
  RecordStore& store = *sym->records;
  if (!store.find(key).isEnd())
    return Status::error(msg::kRecordExists, formatKey(labels, sym->dim).c_str(), sym->name.c_str());
  double block[5];
  if (values) {
    if (sym->type == TRV_DT_SET)
      block[0] = db.elemTexts.intern(text);
    else
      std::copy_n(values, store.valueCount(), block);
  } else {
    defaultValues(*sym, block);
    *handle = std::make_unique<tvbRecordHandle>();  // before the insertion, so that a failure adds nothing
    (*handle)->symbol = sym;
  }
  auto [position, inserted] = store.insert(key);
  std::copy_n(block, store.valueCount(), store.values(position));
  if (!values) placeHandle(handle->get(), position);
  return Status();
}

namespace {

Status addRecord(DatabaseCore& db, tvbSymbol* sym, const char* const* labels, tvbRecordHandle** rec) {
  std::unique_ptr<tvbRecordHandle> handle;
  TVB_RETURN_IF_FAILED(addRecordByLabels(db, sym, labels, nullptr, "", &handle));
  if (!handle) return Status::error(msg::kRecordLost, sym->name.c_str());
  *rec = handle.release();
  db.writeRecording.noteChange(sym);
  return Status();
}

Status addRecordRaw(DatabaseCore& db, tvbSymbol* sym, const int* uels, const double* values, const char* text) {
  RecordStore& store = *sym->records;
  const int valueCount = store.valueCount();
  double block[5];
  for (int i = 0; i < valueCount; ++i) block[i] = db.specialValues.toStore(values[i]);
  db.writeRecording.noteChange(sym);
  const int uelCount = db.labels.count();
  for (int i = 0; i < sym->dim; ++i) {
    if (uels[i] < 1) return Status::error(msg::kUelNotPositive, sym->name.c_str(), uels[i]);
    if (uels[i] > uelCount) return Status::error(msg::kUelUnknown, sym->name.c_str(), uels[i], uelCount);
  }
  if (sym->type == TRV_DT_SET) block[0] = block[0] == 0 ? 0 : db.elemTexts.intern(text);
  double* stored = store.valuesToWrite(uels);
  // Plain stores rather than a call to memcpy: bulk loads place millions of records here.
  stored[0] = block[0];
  if (valueCount == 5) stored[1] = block[1], stored[2] = block[2], stored[3] = block[3], stored[4] = block[4];
  return Status();
}

// Room for the checked labels of a key, left unset beyond the ones a lookup checks: zeroing all twenty
// views would cost a lookup of a two-label key more than checking its labels.
struct LabelViews {
  LabelViews() {}  // NOLINT: leaves the views unset on purpose
  std::string_view& operator[](int i) { return views[i]; }
  union {
    std::string_view views[GLOBAL_MAX_INDEX_DIM];
  };
};

Status findRecord(DatabaseCore& db, tvbSymbol* sym, const char* const* labels, tvbRecordHandle** rec) {
  LabelViews normalised;
  for (int i = 0; i < sym->dim; ++i) TVB_RETURN_IF_FAILED(checkLabel(labels[i], normalised[i]));
  if (sym->isUniverse()) {
    int uel = db.labels.find(normalised[0]);
    if (!uel) return Status::error(msg::kNotInUniverse, std::string(normalised[0]).c_str());
    *rec = makeUniverseHandle(sym, uel).release();
    return Status();
  }
  TVB_RETURN_IF_FAILED(ensureLoaded(sym));
  const RecordStore& store = *sym->records;
  if (store.empty()) return Status::error(msg::kSymbolEmpty, sym->name.c_str(), sym->name.c_str());
  int key[GLOBAL_MAX_INDEX_DIM];
  for (int i = 0; i < sym->dim; ++i) {
    key[i] = db.labels.find(normalised[i]);
    if (!key[i])
      return Status::error(msg::kElementNotFound, std::string(normalised[i]).c_str(), i + 1, sym->name.c_str());
  }
  RecordStore::Position position = store.find(key);
  if (position.isEnd())
    return Status::error(msg::kRecordNotFound, formatKey(normalised.views, sym->dim).c_str(), sym->name.c_str());
  *rec = makeRecordHandle(sym, position).release();
  return Status();
}

void copyLabel(const DatabaseCore& db, int uel, char* buffer) {
  std::string_view text = db.labels.view(uel);
  std::memcpy(buffer, text.data(), text.size() + 1);
}

// Checks a handle for the key readers: present, on a record, and asked for no more positions than it has.
Status checkKeyRequest(const DatabaseCore& db, tvbRecordHandle* rec, int dim) {
  if (!rec) return Status::error(msg::kNoRecordHandle);
  TVB_RETURN_IF_FAILED(checkRecordOf(db, rec));
  TVB_RETURN_IF_FAILED(checkOnRecord(rec));
  const int symbolDim = rec->symbol->dim;
  if (dim < 0 || dim > symbolDim) return Status::error(msg::kBadKeyCount, dim, rec->symbol->name.c_str(), symbolDim);
  return Status();
}

Status getKeys(const DatabaseCore& db, tvbRecordHandle* rec, int dim, char** labels) {
  TVB_RETURN_IF_FAILED(checkKeyRequest(db, rec, dim));
  if (dim > 0) TVB_RETURN_IF_FAILED(checkGiven(labels, "tvbGetKeys", "labels"));
  if (rec->onUniverse()) {
    if (dim > 0) copyLabel(db, rec->uelPosition, labels[0]);
    return Status();
  }
  for (int i = 0; i < dim; ++i) copyLabel(db, rec->key[i], labels[i]);
  return Status();
}

Status getKey(const DatabaseCore& db, tvbRecordHandle* rec, int index, char* label) {
  if (!rec) return Status::error(msg::kNoRecordHandle);
  TVB_RETURN_IF_FAILED(checkRecordOf(db, rec));
  TVB_RETURN_IF_FAILED(checkGiven(label, "tvbGetKey", "label"));
  TVB_RETURN_IF_FAILED(checkOnRecord(rec));
  if (rec->onUniverse()) {
    copyLabel(db, rec->uelPosition, label);
    return Status();
  }
  if (index >= rec->symbol->dim) return Status::error(msg::kIndexTooLarge);
  if (index < 0) return Status::error(msg::kNegativeIndex, index);
  copyLabel(db, rec->key[index], label);
  return Status();
}

Status getRecordRaw(const DatabaseCore& db, tvbRecordHandle* rec, int dim, int* uels, double* values) {
  TVB_RETURN_IF_FAILED(checkKeyRequest(db, rec, dim));
  if (dim > 0) TVB_RETURN_IF_FAILED(checkGiven(uels, "tvbGetRecordRaw", "uels"));
  TVB_RETURN_IF_FAILED(checkGiven(values, "tvbGetRecordRaw", "values"));
  if (rec->onUniverse()) {
    if (dim > 0) uels[0] = rec->uelPosition;
    values[0] = 0;  // labels carry no values
    return Status();
  }
  std::copy_n(rec->key, dim, uels);
  const RecordStore& store = *rec->symbol->records;
  const double* stored = store.values(rec->position);
  for (int i = 0; i < store.valueCount(); ++i) values[i] = db.specialValues.toCaller(stored[i]);
  return Status();
}

// The symbol records are added to: present, of this database and not the Universe.
Status checkRecordTarget(const DatabaseCore& db, const tvbSymbol* sym) {
  if (!sym) return Status::error(msg::kNoSymbol);
  TVB_RETURN_IF_FAILED(checkSymbolOf(db, sym));
  if (sym->isUniverse()) return Status::error(msg::kAddToUniverse);
  return Status();
}

// Why tvbAddRecordRaw refuses its arguments, in the order of the checks.
[[gnu::cold]] Status refuseRawRecord(const DatabaseCore& db, const tvbSymbol* sym, const int* uels,
                                     const double* values, const char* text) {
  TVB_RETURN_IF_FAILED(checkRecordTarget(db, sym));
  return nullArgument("tvbAddRecordRaw", !values ? "values" : !text ? "text" : "uels");
}

// The symbol records are looked up in, and the labels of the key.
Status checkLookup(const DatabaseCore& db, const tvbSymbol* sym, const char* const* labels, const char* operation) {
  if (!sym) return Status::error(msg::kNoSymbol);
  TVB_RETURN_IF_FAILED(checkSymbolOf(db, sym));
  return sym->dim > 0 ? checkGiven(labels, operation, "labels") : Status();
}

}  // namespace
}  // namespace tvb

int tvbAddRecord(tvbHandle* ptvb, tvbSymbol* sym, const char* const* labels, tvbRecordHandle** rec) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(rec, "tvbAddRecord", "rec"))) return 0;
  *rec = nullptr;
  if (tvb::failed(ptvb, tvb::checkRecordTarget(tvb::coreOf(ptvb), sym))) return 0;
  if (sym->dim > 0 && tvb::failed(ptvb, tvb::checkGiven(labels, "tvbAddRecord", "labels"))) return 0;
  return tvb::guarded(ptvb, "tvbAddRecord", [&] { return tvb::addRecord(tvb::coreOf(ptvb), sym, labels, rec); });
}

tvbRecordHandle* tvbAddRecordPy(tvbHandle* ptvb, tvbSymbol* sym, const char* const* labels, int* status) {
  return tvb::pyForm<tvbRecordHandle>(ptvb, status, "tvbAddRecordPy",
                                      [&](tvbRecordHandle** out) { return tvbAddRecord(ptvb, sym, labels, out); });
}

int tvbAddRecordRaw(tvbHandle* ptvb, tvbSymbol* sym, const int* uels, const double* values, const char* text) {
  TVB_ASSERT(ptvb != NULL);
  // Plain comparisons first: this is the fast way in of bulk loads.
  const tvb::DatabaseCore& db = tvb::coreOf(ptvb);
  if (!sym || sym->db != &db || sym->isUniverse() || !values || !text || (!uels && sym->dim > 0)) [[unlikely]]
    return tvb::finish(ptvb, tvb::refuseRawRecord(db, sym, uels, values, text));
  return tvb::guarded(ptvb, "tvbAddRecordRaw", "tvbAddRecord",
                      [&] { return tvb::addRecordRaw(tvb::coreOf(ptvb), sym, uels, values, text); });
}

int tvbFindRecord(tvbHandle* ptvb, tvbSymbol* sym, const char* const* labels, tvbRecordHandle** rec) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(rec, "tvbFindRecord", "rec"))) return 0;
  *rec = nullptr;
  if (tvb::failed(ptvb, tvb::checkLookup(tvb::coreOf(ptvb), sym, labels, "tvbFindRecord"))) return 0;
  return tvb::guarded(ptvb, "tvbFindRecord", [&] { return tvb::findRecord(tvb::coreOf(ptvb), sym, labels, rec); });
}

tvbRecordHandle* tvbFindRecordPy(tvbHandle* ptvb, tvbSymbol* sym, const char* const* labels, int* status) {
  return tvb::pyForm<tvbRecordHandle>(ptvb, status, "tvbFindRecordPy",
                                      [&](tvbRecordHandle** out) { return tvbFindRecord(ptvb, sym, labels, out); });
}

int tvbGetKeys(tvbHandle* ptvb, tvbRecordHandle* rec, int dim, char** labels) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::finish(ptvb, tvb::getKeys(tvb::coreOf(ptvb), rec, dim, labels));
}

int tvbGetKey(tvbHandle* ptvb, tvbRecordHandle* rec, int index, char* label) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::finish(ptvb, tvb::getKey(tvb::coreOf(ptvb), rec, index, label));
}

int tvbGetRecordRaw(tvbHandle* ptvb, tvbRecordHandle* rec, int dim, int* uels, double* values) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::finish(ptvb, tvb::getRecordRaw(tvb::coreOf(ptvb), rec, dim, uels, values));
}
