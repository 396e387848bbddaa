// tvbInitFromDict: fills a database without labels with the labels of a model's dictionary (keeping their
// numbers, so that the model's keys are the database's) and a symbol, not loaded, for each of its variables
// and equations. Their records become readable once tvbInitUpdate has made the model the data source.
#include "api/operations.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/trace.h"
#include "loaders/dctmcc.h"
#include "model/messages.h"
#include "model/model_entry.h"
#include "model/registration.h"

namespace tvb::model {
namespace {

constexpr int kNameSize = 64;

void readLabels(DatabaseCore& db, dctHandle_t dct) {
  const int count = dct::ops.dctNUels(dct);
  char label[kNameSize];
  char quote = ' ';
  for (int k = 1; k <= count; ++k) {
    label[0] = '\0';
    dct::ops.dctUelLabel(dct, k, &quote, label, kNameSize);
    db.labels.append(label);
  }
}

// Symbols the database has of its own must be in the model.
Status checkOwnSymbols(const DatabaseCore& db, dctHandle_t dct) {
  for (const auto& sym : db.symbols.all()) {
    if (sym->type != TRV_DT_VAR && sym->type != TRV_DT_EQU) continue;
    if (dct::ops.dctSymIndex(dct, sym->name.c_str()) <= 0) return Status::error(msg::kNotInModel, sym->name.c_str());
  }
  return Status();
}

Status readSymbols(DatabaseCore& db, dctHandle_t dct) {
  const int count = dct::ops.dctNLSyms(dct);
  char name[kNameSize], text[TRV_SSSIZE];
  char quote = ' ';
  for (int i = 1; i <= count; ++i) {
    name[0] = text[0] = '\0';
    dct::ops.dctSymName(dct, i, name, kNameSize);
    const int dictionaryType = dct::ops.dctSymType(dct, i);
    const int type = dictionaryType == kDictionaryVariable   ? TRV_DT_VAR
                     : dictionaryType == kDictionaryEquation ? TRV_DT_EQU
                                                             : -1;
    if (type < 0) return Status::error(msg::kNotVariableOrEquation, name);
    const int dim = dct::ops.dctSymDim(dct, i);
    if (tvbSymbol* existing = db.symbols.find(name)) {
      if (existing->dim != dim) return Status::error(msg::kDimensionMismatch, name);
      if (existing->type != type) return Status::error(msg::kTypeMismatch, name);
      continue;  // it keeps its records
    }
    if (dim < 0 || dim > GLOBAL_MAX_INDEX_DIM)
      return Status::error(msg::kTooManyDimensions, name, dim, GLOBAL_MAX_INDEX_DIM);
    dct::ops.dctSymText(dct, i, &quote, text, TRV_SSSIZE);
    auto sym = db.symbols.make(name, text, dim, type, dct::ops.dctSymUserInfo(dct, i), db.symbols.namedCount());
    sym->domains.assign(dim, db.symbols.universe());
    sym->loaded = false;  // its records lie in the model
    db.symbols.enter(std::move(sym));
  }
  return Status();
}

Status initFromDict(DatabaseCore& db, ModelLink& link, tvpHandle_t model) {
  trace(1, "%s", traces::kEnterInitFromDict);
  auto traced = [](const Status& status) {
    if (!status.ok()) trace(1, "%s", status.message());
    return status;
  };
  if (db.labels.count() > 0) return traced(Status::error(msg::kUelsPresent));
  const InitFrom from = db.dataSource.initFrom();
  if (from != InitFrom::FROM_NOSOURCE && from != InitFrom::FROM_MEMORY)
    return traced(Status::error(msg::kIncorrectlyInitialized));
  db.dataSource.noteFilledInMemory();
  TVB_RETURN_IF_FAILED(registerModel(link, db.sysDir, model));

  const dctHandle_t dct = link.dictionary();
  readLabels(db, dct);
  TVB_RETURN_IF_FAILED(traced(checkOwnSymbols(db, dct)));
  return traced(readSymbols(db, dct));
}

}  // namespace
}  // namespace tvb::model

int tvbInitFromDict(tvbHandle* ptvb, void* tvp) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbInitFromDict",
                      [&] { return tvb::model::initFromDict(tvb::coreOf(ptvb), tvb::model::modelLinkOf(ptvb), tvp); });
}
