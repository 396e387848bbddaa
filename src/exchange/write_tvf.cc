// tvbWriteTVF: writes the whole database to a new TVF file through a TVF object of its own, so that a file
// the database is reading stays open. Symbols still waiting in their source are streamed from it into the
// new file without being loaded; the database is not changed.
#include <cstring>
#include <new>

#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "exchange/file_subtypes.h"
#include "exchange/messages.h"
#include "exchange/tvf_object.h"
#include "exchange/tvf_record_sink.h"
#include "loaders/library_loader.h"
#include "loaders/tvfcc.h"

namespace tvb::exchange {
namespace {

using tvf::ops;

// A symbol's domain as the file names it: "*" for the Universe, the domain set's name, or the relaxed name.
class DomainList {
 public:
  explicit DomainList(const tvbSymbol& sym) {
    for (int i = 0; i < sym.dim; ++i) {
      const tvbSymbol* d = sym.domains[i];
      names_[i] = d ? d->name.c_str() : sym.domainNames[i].c_str();
    }
  }
  const char* const* names() const { return names_; }

 private:
  const char* names_[GLOBAL_MAX_INDEX_DIM] = {};
};

void writeLoadedRecords(tvfHandle_t file, const tvbSymbol& sym) {
  const RecordStore& store = *sym.records;
  const bool oneValue = store.valueCount() == 1;
  int key[GLOBAL_MAX_INDEX_DIM] = {};
  double values[5] = {};  // sets and parameters use the first only; the others stay 0
  // Fixed-size copies: a call to memcpy per record would show beside the library's own work.
  for (auto p = store.first(); !p.isEnd(); p = store.next(p)) {
    store.key(p, key);
    if (oneValue) {
      values[0] = store.values(p)[0];
    } else {
      std::memcpy(values, store.values(p), sizeof values);
    }
    ops.tvfDataWriteRaw(file, key, values);
  }
}

// Takes the library's most recent error off its stack and returns its number; its shortage of memory
// throws std::bad_alloc instead (errorText), as no refusal may hide it.
int takeError(tvfHandle_t file) {
  const int code = ops.tvfGetLastError(file);
  char text[TRV_SSSIZE];
  if (code != 0) errorText(file, code, text);
  return code;
}

// Takes n errors off the library's stack.
void dropErrors(tvfHandle_t file, int n) {
  for (int i = 0; i < n; ++i) takeError(file);
}

// Empties the library's error stack; the first error logged comes off last. Returns how many there were.
int takeErrors(tvfHandle_t file, int* first) {
  int n = 0;
  for (int code; (code = takeError(file)) != 0; ++n) *first = code;
  return n;
}

// A step the library refused: its shortage of memory, or else refusal. Errors are numbered from the file's
// opening, so the count is the number of the most recent one.
Status refusedStep(tvfHandle_t file, const Status& refusal) {
  char text[TRV_SSSIZE];
  if (ops.tvfErrorCount(file) > 0) errorText(file, ops.tvfErrorCount(file), text);
  return refusal;
}

// The errors the library logged, as the failure of the write.
Status loggedErrors(tvfHandle_t file) {
  int first = 0;
  int n = takeErrors(file, &first);
  char reason[TRV_SSSIZE];
  errorText(file, first, reason);
  return Status::error(msg::kWriteErrors, n, reason);
}

Status writeSymbols(DatabaseCore& db, tvfHandle_t file, bool noDomainCheck, int* domainErrors) {
  int k = 0;
  for (const auto& owned : db.symbols.all()) {
    tvbSymbol* sym = owned.get();
    ++k;
    if (sym->type == TRV_DT_ALIAS) {
      const char* set = sym->aliasOf->name.c_str();  // the Universe's name is "*"
      if (!ops.tvfAddAlias(file, sym->name.c_str(), set))
        return refusedStep(file, Status::error(msg::kAliasRefused, sym->name.c_str(), set));
      continue;
    }
    const int subtype = toFileSubtype(sym->type, sym->userInfo);
    if (!ops.tvfDataWriteRawStart(file, sym->name.c_str(), sym->text.c_str(), sym->dim, sym->type, subtype))
      return refusedStep(file, Status::error(msg::kSymbolRefused, sym->name.c_str()));

    DomainList domain(*sym);
    bool checked = false;
    if (!noDomainCheck) {
      int before = ops.tvfErrorCount(file);
      checked = ops.tvfSymbolSetDomain(file, domain.names()) != 0;
      if (!checked) {
        // A refused domain is stored unchecked below; its errors are no failure of the write.
        int added = ops.tvfErrorCount(file) - before;
        *domainErrors += added;
        dropErrors(file, added);
      }
    }
    // A symbol still in its source is streamed from it, not loaded; in a database filled in memory it has none.
    TvfRecordSink sink(file);
    if (sym->loaded) {
      writeLoadedRecords(file, *sym);
    } else if (Status streamed = db.dataSource.stream(*sym, sink); !streamed.ok()) {
      if (!streamed.hasMessage()) return Status::error(msg::kStreamFailed, sym->name.c_str());
      return Status::error(msg::kStreamFailedBecause, sym->name.c_str(), streamed.message());
    }
    ops.tvfDataWriteDone(file);
    if (!checked) ops.tvfSymbolSetDomainX(file, k, domain.names());
  }
  return Status();
}

Status writeTvf(DatabaseCore& db, const char* fileName, bool noDomainCheck) {
  ScopedTvfObject object;
  char reason[TRV_SSSIZE] = {};
  if (!createTvfObject(db.sysDir, object.address(), reason)) {
    if (tvf::Loader().IsLoaded()) throw std::bad_alloc();  // the library is there but could not make an object
    return Status::error(msg::kTvfCreateFailed, reason);
  }
  tvfHandle_t file = object.get();

  int errNr = 0;
  ops.tvfOpenWrite(file, fileName, "", &errNr);
  if (errNr != 0) {
    errorText(file, errNr, reason);
    return Status::error(msg::kOpenWriteFailed, reason, fileName);
  }
  if (!useInternalSpecialValues(file, /*forReading=*/false))
    return refusedStep(file, Status::error(msg::kSpecialValuesRefused));

  // The file numbers labels and texts as the database does, so keys and text numbers carry over.
  ops.tvfUELRegisterRawStart(file);
  for (int i = 1; i <= db.labels.count(); ++i) ops.tvfUELRegisterRaw(file, db.labels.label(i));
  ops.tvfUELRegisterDone(file);
  for (int i = 1; i < db.elemTexts.count(); ++i) {
    int unused = 0;
    ops.tvfAddSetText(file, db.elemTexts.text(i), &unused);
  }

  int domainErrors = 0;
  TVB_RETURN_IF_FAILED(writeSymbols(db, file, noDomainCheck, &domainErrors));

  if (ops.tvfErrorCount(file) - domainErrors > 0) {
    Status errors = loggedErrors(file);
    ops.tvfClose(file);
    return errors;
  }
  // Closing writes the directory; a failure there (a full disk) loses the file.
  if (!ops.tvfClose(file)) return loggedErrors(file);
  return Status();
}

}  // namespace
}  // namespace tvb::exchange

int tvbWriteTVF(tvbHandle* ptvb, const char* fileName, int noDomainCheck) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(fileName, "tvbWriteTVF", "fileName"))) return 0;
  return tvb::guarded(ptvb, "tvbWriteTVF",
                      [&] { return tvb::exchange::writeTvf(tvb::coreOf(ptvb), fileName, noDomainCheck != 0); });
}
