// tvbInitFromTVF: fills a new database with the element texts, labels and symbols of a TVF file and leaves
// the records in the file, read symbol by symbol when first needed. tvbCloseTVF ends that link.
#include <memory>
#include <utility>
#include <vector>

#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/trace.h"
#include "exchange/file_subtypes.h"
#include "exchange/messages.h"
#include "exchange/symbol_entry.h"
#include "exchange/tvf_file_source.h"
#include "exchange/tvf_object.h"
#include "loaders/tvfcc.h"

namespace tvb::exchange {
namespace {

// Texts are interned: a text the file holds twice gets one number, so the texts after it move down while
// set records keep the file's numbers.
void readElementTexts(DatabaseCore& db, tvfHandle_t file) {
  trace(1, "%s", traces::kTextsStart);
  trace(1, "%s", traces::kTextsLoading);
  char text[TRV_SSSIZE];
  int node = 0;
  for (int n = 1; tvf::ops.tvfGetElemText(file, n, text, &node) != 0; ++n) {
    trace(2, traces::kTextRead, text);
    int before = db.elemTexts.count();
    if (db.elemTexts.intern(text) < before) {
      trace(2, "%s", traces::kTextExists);
    } else {
      trace(2, "%s", traces::kTextAdded);
    }
  }
  trace(1, "%s", traces::kTextsDone);
}

// In a database without labels the file's labels keep their numbers, on which the keys of its records rely.
// A database that holds labels already keeps them: a file label it knows keeps the database's number, a new
// one is appended, and the source translates the keys of the records it reads.
void readLabels(DatabaseCore& db, tvfHandle_t file, TvfFileSource& source) {
  trace(1, "%s", traces::kLabelsStart);
  int count = 0, unused = 0;
  tvf::ops.tvfUMUelInfo(file, &count, &unused);
  const bool sameNumbers = db.labels.count() == 0;
  std::vector<int> databaseNumbers;
  if (!sameNumbers) databaseNumbers.assign(static_cast<size_t>(count) + 1, 0);
  bool translated = false;
  char label[TRV_SSSIZE];
  for (int i = 1; i <= count; ++i) {
    trace(2, "%s", traces::kLabelGet);
    tvf::ops.tvfUMUelGet(file, i, label, &unused);
    if (sameNumbers) {
      db.labels.append(label);
    } else {
      databaseNumbers[i] = db.labels.findOrAdd(label);
      translated |= databaseNumbers[i] != i;
    }
    trace(2, traces::kLabelLoaded, label);
  }
  if (translated) source.translateLabels(std::move(databaseNumbers));
  trace(1, "%s", traces::kLabelsDone);
}

// Every symbol, not loaded. An alias's subtype is the file's number of its set, 0 for the Universe.
void readSymbols(DatabaseCore& db, tvfHandle_t file, int count) {
  trace(1, "%s", traces::kSymbolsStart);
  char name[TRV_SSSIZE], text[TRV_SSSIZE];
  for (int k = 1; k <= count; ++k) {
    trace(2, "%s", traces::kSymbolCreating);
    int dim = 0, type = 0, records = 0, subtype = 0;
    tvf::ops.tvfSymbolInfo(file, k, name, &dim, &type);
    tvf::ops.tvfSymbolInfoX(file, k, &records, &subtype, text);
    tvbSymbol* sym = db.symbols.enter(db.symbols.make(name, text, dim, type, fromFileSubtype(type, subtype), k));
    sym->loaded = type == TRV_DT_ALIAS;  // an alias has no records of its own to read
    trace(2, traces::kSymbolCreated, name);
    if (type == TRV_DT_ALIAS && subtype != 0) {
      char setName[TRV_SSSIZE];
      int setDim = 0, setType = 0;
      tvf::ops.tvfSymbolInfo(file, subtype, setName, &setDim, &setType);
      tvbSymbol* set = db.symbols.find(setName);
      // The library admits only aliases of sets written before them; anything else stays with the Universe.
      if (set && set->type == TRV_DT_SET) sym->aliasOf = set;
    }
  }
}

// Once every symbol exists, since a domain may name a set written after the symbol.
void readDomains(DatabaseCore& db, tvfHandle_t file, int count) {
  char buffers[GLOBAL_MAX_INDEX_DIM][TRV_SSSIZE];
  char* names[GLOBAL_MAX_INDEX_DIM];
  for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) names[i] = buffers[i];
  for (int k = 1; k <= count; ++k) {
    tvbSymbol* sym = db.symbols.all()[k - 1].get();  // a database not filled before has no other symbols
    if (sym->type == TRV_DT_ALIAS) continue;
    for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) buffers[i][0] = '\0';
    bool named = tvf::ops.tvfSymbolGetDomainX(file, k, names) != 0;
    for (int i = 0; i < sym->dim; ++i) setDomainByName(db, sym, i, named ? names[i] : "*");
  }
}

Status initFromTvf(DatabaseCore& db, DatabaseTvfObject& tvfObject, const char* fileName) {
  trace(1, "%s", traces::kEnterInitFromTvf);
  if (db.dataSource.initFrom() != InitFrom::FROM_NOSOURCE) {
    trace(2, "%s", traces::kNotNoSource);
    return Status::error(msg::kAlreadyInitialized, fileName);
  }
  // Without the library there is nothing to read with; the database stays as it was.
  tvfHandle_t file = tvfObject.get();
  if (!file) return Status::error(msg::kTvfCreateFailed, tvfObject.createMessage());
  auto owned = std::make_unique<TvfFileSource>(file);
  TvfFileSource& source = *owned;
  db.dataSource.attach(std::move(owned));

  trace(1, "%s", traces::kOpening);
  int* errNr = tvfObject.openErrorNumber();
  tvf::ops.tvfOpenRead(file, fileName, errNr);
  if (*errNr != 0) {
    trace(1, "%s", traces::kOpenError);
    char reason[TRV_SSSIZE];
    errorText(file, *errNr, reason);
    return Status::error(msg::kOpenFailed, reason);
  }
  trace(1, "%s", traces::kOpened);
  trace(2, "%s", traces::kSpecialValues);
  if (!useInternalSpecialValues(file, /*forReading=*/true)) return Status::error(msg::kSpecialValuesRefused);

  // The library logs what goes wrong while the catalog is read (it answers no more texts, labels or symbols
  // then), so that a catalog read short is not taken for the whole.
  const int logged = tvf::ops.tvfErrorCount(file);
  readElementTexts(db, file);
  readLabels(db, file, source);
  int symbols = 0, unused = 0;
  tvf::ops.tvfSystemInfo(file, &symbols, &unused);
  readSymbols(db, file, symbols);
  readDomains(db, file, symbols);
  if (tvf::ops.tvfErrorCount(file) != logged) {
    char reason[TRV_SSSIZE];
    errorText(file, tvf::ops.tvfGetLastError(file), reason);
    return Status::error(msg::kCatalogReadFailed, fileName, reason);
  }
  trace(1, "%s", traces::kLeaveInitFromTvf);
  return Status();
}

Status closeTvf(DatabaseCore& db, bool loadRemaining) {
  if (db.dataSource.initFrom() != InitFrom::FROM_TVF) return Status::error(msg::kNotFromTvf);
  if (loadRemaining) {
    for (const auto& sym : db.symbols.all())
      if (!sym->loaded && sym->type != TRV_DT_ALIAS) TVB_RETURN_IF_FAILED(db.dataSource.load(sym.get()));
  }
  db.dataSource.detach();  // closes the file
  return Status();
}

}  // namespace
}  // namespace tvb::exchange

int tvbInitFromTVF(tvbHandle* ptvb, const char* fileName) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(fileName, "tvbInitFromTVF", "fileName"))) return 0;
  return tvb::guarded(ptvb, "tvbInitFromTVF", [&] {
    return tvb::exchange::initFromTvf(tvb::coreOf(ptvb), tvb::exchange::tvfObjectOf(ptvb), fileName);
  });
}

int tvbCloseTVF(tvbHandle* ptvb, int loadRemaining) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbCloseTVF",
                      [&] { return tvb::exchange::closeTvf(tvb::coreOf(ptvb), loadRemaining != 0); });
}
