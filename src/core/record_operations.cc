// Adding and finding records, and reading their keys.
#include <algorithm>
#include <cstring>
#include <string>

#include "api/operations.h"
#include "core/database.h"
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

bool addRecordByLabels(tvbHandle* db, tvbSymbol* sym, const char* const* labels, const double* values,
                       const char* text, std::unique_ptr<tvbRecordHandle>* handle) {
  if (!ensureLoaded(db, sym)) return false;
  int key[GLOBAL_MAX_INDEX_DIM];
  std::string_view normalised;
  for (int i = 0; i < sym->dim; ++i) {
    if (!checkLabel(labels[i], normalised, db->lastError)) return false;
    key[i] = db->labels.findOrAdd(normalised);
  }
  RecordStore& store = *sym->records;
  if (!store.find(key).isEnd()) {
    setError(db, msg::kRecordExists, formatKey(labels, sym->dim).c_str(), sym->name.c_str());
    return false;
  }
  double block[5];
  if (values) {
    if (sym->type == TRV_DT_SET)
      block[0] = db->elemTexts.intern(text);
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
  return true;
}

}  // namespace tvb

using namespace tvb;

int tvbAddRecord(tvbHandle* ptvb, tvbSymbol* sym, const char* const* labels, tvbRecordHandle** rec) {
  TVB_ASSERT(ptvb != NULL);
  *rec = nullptr;
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  if (sym->isUniverse()) return setError(ptvb, msg::kAddToUniverse), 0;
  return guarded(ptvb, "tvbAddRecord", [&] {
    std::unique_ptr<tvbRecordHandle> handle;
    if (!addRecordByLabels(ptvb, sym, labels, nullptr, "", &handle)) return 0;
    if (!handle) return setError(ptvb, msg::kRecordLost, sym->name.c_str()), 0;
    *rec = handle.release();
    ptvb->recordWrite(sym);
    return 1;
  });
}

tvbRecordHandle* tvbAddRecordPy(tvbHandle* ptvb, tvbSymbol* sym, const char* const* labels, int* status) {
  tvbRecordHandle* rec = nullptr;
  *status = tvbAddRecord(ptvb, sym, labels, &rec);
  return rec;
}

int tvbAddRecordRaw(tvbHandle* ptvb, tvbSymbol* sym, const int* uels, const double* values, const char* text) {
  TVB_ASSERT(ptvb != NULL);
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  if (sym->isUniverse()) return setError(ptvb, msg::kAddToUniverse), 0;
  return guarded<int>(ptvb, "tvbAddRecordRaw", "tvbAddRecord", 0, [&] {
    RecordStore& store = *sym->records;
    const int valueCount = store.valueCount();
    double block[5];
    for (int i = 0; i < valueCount; ++i) block[i] = ptvb->specialValues.toStore(values[i]);
    ptvb->recordWrite(sym);
    const int uelCount = ptvb->labels.count();
    for (int i = 0; i < sym->dim; ++i) {
      if (uels[i] < 1) return setError(ptvb, msg::kUelNotPositive, sym->name.c_str(), uels[i]), 0;
      if (uels[i] > uelCount) return setError(ptvb, msg::kUelUnknown, sym->name.c_str(), uels[i], uelCount), 0;
    }
    if (sym->type == TRV_DT_SET) block[0] = block[0] == 0 ? 0 : ptvb->elemTexts.intern(text);
    double* stored = store.appendIfLast(uels);
    if (!stored) stored = store.values(store.insert(uels).first);
    for (int i = 0; i < valueCount; ++i) stored[i] = block[i];
    return 1;
  });
}

namespace {

// Room for the checked labels of a key, left unset beyond the ones a lookup checks: zeroing all twenty
// views would cost a lookup of a two-label key more than checking its labels.
struct LabelViews {
  LabelViews() {}  // NOLINT: leaves the views unset on purpose
  std::string_view& operator[](int i) { return views[i]; }
  union {
    std::string_view views[GLOBAL_MAX_INDEX_DIM];
  };
};

}  // namespace

int tvbFindRecord(tvbHandle* ptvb, tvbSymbol* sym, const char* const* labels, tvbRecordHandle** rec) {
  TVB_ASSERT(ptvb != NULL);
  *rec = nullptr;
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  return guarded(ptvb, "tvbFindRecord", [&] {
    LabelViews normalised;
    for (int i = 0; i < sym->dim; ++i)
      if (!checkLabel(labels[i], normalised[i], ptvb->lastError)) return 0;
    if (sym->isUniverse()) {
      int uel = ptvb->labels.find(normalised[0]);
      if (!uel) return setError(ptvb, msg::kNotInUniverse, std::string(normalised[0]).c_str()), 0;
      *rec = makeUniverseHandle(sym, uel).release();
      return 1;
    }
    if (!ensureLoaded(ptvb, sym)) return 0;
    const RecordStore& store = *sym->records;
    if (store.empty()) return setError(ptvb, msg::kSymbolEmpty, sym->name.c_str(), sym->name.c_str()), 0;
    int key[GLOBAL_MAX_INDEX_DIM];
    for (int i = 0; i < sym->dim; ++i) {
      key[i] = ptvb->labels.find(normalised[i]);
      if (!key[i])
        return setError(ptvb, msg::kElementNotFound, std::string(normalised[i]).c_str(), i + 1, sym->name.c_str()), 0;
    }
    RecordStore::Position position = store.find(key);
    if (position.isEnd()) {
      return setError(ptvb, msg::kRecordNotFound, formatKey(normalised.views, sym->dim).c_str(), sym->name.c_str()), 0;
    }
    *rec = makeRecordHandle(sym, position).release();
    return 1;
  });
}

tvbRecordHandle* tvbFindRecordPy(tvbHandle* ptvb, tvbSymbol* sym, const char* const* labels, int* status) {
  tvbRecordHandle* rec = nullptr;
  *status = tvbFindRecord(ptvb, sym, labels, &rec);
  return rec;
}

namespace {

void copyLabel(const tvbHandle* db, int uel, char* buffer) {
  std::string_view text = db->labels.view(uel);
  std::memcpy(buffer, text.data(), text.size() + 1);
}

// Checks a handle for the key readers: present, on a record, and asked for no more positions than it has.
bool checkKeyRequest(tvbHandle* db, tvbRecordHandle* rec, int dim) {
  if (!rec) return setError(db, msg::kNoRecordHandle), false;
  if (!resolve(rec, db)) return false;
  const int symbolDim = rec->symbol->dim;
  if (dim < 0 || dim > symbolDim) return setError(db, msg::kBadKeyCount, dim, rec->symbol->name.c_str(), symbolDim), false;
  return true;
}

}  // namespace

int tvbGetKeys(tvbHandle* ptvb, tvbRecordHandle* rec, int dim, char** labels) {
  TVB_ASSERT(ptvb != NULL);
  if (!checkKeyRequest(ptvb, rec, dim)) return 0;
  if (rec->onUniverse()) {
    if (dim > 0) copyLabel(ptvb, rec->uelPosition, labels[0]);
    return 1;
  }
  for (int i = 0; i < dim; ++i) copyLabel(ptvb, rec->key[i], labels[i]);
  return 1;
}

int tvbGetKey(tvbHandle* ptvb, tvbRecordHandle* rec, int index, char* label) {
  TVB_ASSERT(ptvb != NULL);
  if (!rec) return setError(ptvb, msg::kNoRecordHandle), 0;
  if (!resolve(rec, ptvb)) return 0;
  if (rec->onUniverse()) {
    copyLabel(ptvb, rec->uelPosition, label);
    return 1;
  }
  if (index >= rec->symbol->dim) return setError(ptvb, msg::kIndexTooLarge), 0;
  if (index < 0) return setError(ptvb, msg::kNegativeIndex, index), 0;
  copyLabel(ptvb, rec->key[index], label);
  return 1;
}

int tvbGetRecordRaw(tvbHandle* ptvb, tvbRecordHandle* rec, int dim, int* uels, double* values) {
  TVB_ASSERT(ptvb != NULL);
  if (!checkKeyRequest(ptvb, rec, dim)) return 0;
  if (rec->onUniverse()) {
    if (dim > 0) uels[0] = rec->uelPosition;
    values[0] = 0;  // labels carry no values
    return 1;
  }
  std::copy_n(rec->key, dim, uels);
  const RecordStore& store = *rec->symbol->records;
  const double* stored = store.values(rec->position);
  for (int i = 0; i < store.valueCount(); ++i) values[i] = ptvb->specialValues.toCaller(stored[i]);
  return 1;
}
