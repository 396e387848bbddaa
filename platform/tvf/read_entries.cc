// Entries that answer questions about the open file (labels, texts, symbols, domains) and read records.
// The catalog questions work while a file is read or written.
#include <string>

#include "entry_frame.h"

using tvf::ErrorCode;
using tvf::FileReader;
using tvf::Guarded;
using tvf::Present;
using tvf::SymbolEntry;

namespace {

FileReader *Reader(tvfRec &t, const char *operation) {
  if (t.reader == nullptr) t.errors.LogWithText({.code = ErrorCode::kNotReading}, operation);
  return t.reader.get();
}

bool FileOpen(tvfRec &t, const char *operation) {
  if (t.file_open()) return true;
  t.errors.LogWithText({.code = ErrorCode::kNoFileOpen}, operation);
  return false;
}

// The directory entry of 1-based symbol `number`, or nullptr (also for 0, the Universe).
const SymbolEntry *Symbol(const tvfRec &t, int number) {
  if (number < 1 || static_cast<size_t>(number) > t.catalog.symbols.size()) return nullptr;
  return &t.catalog.symbols[static_cast<size_t>(number) - 1];
}

int RecordCountOf(const tvfRec &t, const SymbolEntry &s) {
  if (s.type == tvf::kAlias) {
    const SymbolEntry *target = Symbol(t, s.user_info);
    return target != nullptr ? static_cast<int>(target->record_count) : t.catalog.labels.size();
  }
  return static_cast<int>(s.record_count);
}

constexpr const char *kUniverseName = "*";
constexpr const char *kUniverseText = "Universe";

}  // namespace

extern "C" {

int CtvfGetElemText(tvfHandle_t pt, int textNr, char *text, int *node) {
  return Guarded(pt, "tvfGetElemText", [&](tvfRec &t) {
    if (node != nullptr) *node = 0;
    tvf::CopyOut(text, "");
    if (!FileOpen(t, "tvfGetElemText")) return 0;
    if (textNr < 1 || textNr > t.catalog.texts.size()) return 0;
    tvf::CopyOut(text, t.catalog.texts.Get(textNr));
    return 1;
  });
}

int tvfUMUelInfo(tvfHandle_t pt, int *uelCount, int *highMap) {
  return Guarded(pt, "tvfUMUelInfo", [&](tvfRec &t) {
    if (uelCount != nullptr) *uelCount = 0;
    if (highMap != nullptr) *highMap = 0;
    if (!FileOpen(t, "tvfUMUelInfo")) return 0;
    if (uelCount != nullptr) *uelCount = t.catalog.labels.size();
    if (highMap != nullptr) *highMap = t.catalog.labels.size();
    return 1;
  });
}

int CtvfUMUelGet(tvfHandle_t pt, int uelNr, char *label, int *mapping) {
  return Guarded(pt, "tvfUMUelGet", [&](tvfRec &t) {
    if (mapping != nullptr) *mapping = -1;
    tvf::CopyOut(label, "");
    if (!FileOpen(t, "tvfUMUelGet")) return 0;
    if (uelNr < 1 || uelNr > t.catalog.labels.size()) return 0;
    tvf::CopyOut(label, t.catalog.labels.Get(uelNr));
    if (mapping != nullptr) *mapping = uelNr;
    return 1;
  });
}

int tvfSystemInfo(tvfHandle_t pt, int *symbolCount, int *uelCount) {
  return Guarded(pt, "tvfSystemInfo", [&](tvfRec &t) {
    if (symbolCount != nullptr) *symbolCount = 0;
    if (uelCount != nullptr) *uelCount = 0;
    if (!FileOpen(t, "tvfSystemInfo")) return 0;
    if (symbolCount != nullptr) *symbolCount = static_cast<int>(t.catalog.symbols.size());
    if (uelCount != nullptr) *uelCount = t.catalog.labels.size();
    return 1;
  });
}

int CtvfSymbolInfo(tvfHandle_t pt, int symNr, char *name, int *dim, int *type) {
  return Guarded(pt, "tvfSymbolInfo", [&](tvfRec &t) {
    tvf::CopyOut(name, "");
    if (dim != nullptr) *dim = -1;
    if (type != nullptr) *type = -1;
    if (!FileOpen(t, "tvfSymbolInfo")) return 0;
    if (symNr == 0) {
      tvf::CopyOut(name, kUniverseName);
      if (dim != nullptr) *dim = 1;
      if (type != nullptr) *type = tvf::kSet;
      return 1;
    }
    const SymbolEntry *s = Symbol(t, symNr);
    if (s == nullptr) return 0;
    tvf::CopyOut(name, s->name);
    if (dim != nullptr) *dim = s->dim;
    if (type != nullptr) *type = s->type;
    return 1;
  });
}

int CtvfSymbolInfoX(tvfHandle_t pt, int symNr, int *recordCount, int *userInfo, char *text) {
  return Guarded(pt, "tvfSymbolInfoX", [&](tvfRec &t) {
    if (recordCount != nullptr) *recordCount = 0;
    if (userInfo != nullptr) *userInfo = 0;
    tvf::CopyOut(text, "");
    if (!FileOpen(t, "tvfSymbolInfoX")) return 0;
    if (symNr == 0) {
      if (recordCount != nullptr) *recordCount = t.catalog.labels.size();
      tvf::CopyOut(text, kUniverseText);
      return 1;
    }
    const SymbolEntry *s = Symbol(t, symNr);
    if (s == nullptr) return 0;
    if (recordCount != nullptr) *recordCount = RecordCountOf(t, *s);
    if (userInfo != nullptr) *userInfo = s->user_info;
    tvf::CopyOut(text, s->text);
    return 1;
  });
}

// 1: no domain was given (every position "*"), 2: names stored as given, 3: names checked when written.
int CtvfSymbolGetDomainX(tvfHandle_t pt, int symNr, char **domainNames) {
  return Guarded(pt, "tvfSymbolGetDomainX", [&](tvfRec &t) {
    if (!FileOpen(t, "tvfSymbolGetDomainX") || !Present(t, domainNames, "tvfSymbolGetDomainX", "domainNames")) {
      return 0;
    }
    const SymbolEntry *s = Symbol(t, symNr);
    if (symNr == 0) {
      tvf::CopyOut(domainNames[0], kUniverseName);
      return 1;
    }
    if (s == nullptr) return 0;
    for (int i = 0; i < s->dim; ++i) tvf::CopyOut(domainNames[i], tvf::DomainName(*s, i));
    switch (s->domain_kind) {
      case tvf::DomainKind::kNone:
        return 1;
      case tvf::DomainKind::kRelaxed:
        return 2;
      case tvf::DomainKind::kChecked:
        return 3;
    }
    return 1;
  });
}

int CtvfFindSymbol(tvfHandle_t pt, const char *name, int *symNr) {
  return Guarded(pt, "tvfFindSymbol", [&](tvfRec &t) {
    if (symNr != nullptr) *symNr = -1;
    if (!FileOpen(t, "tvfFindSymbol") || !Present(t, name, "tvfFindSymbol", "name")) return 0;
    int number = 0;  // the Universe
    if (std::string_view(name) != kUniverseName) {
      int index = t.catalog.FindSymbol(name);
      if (index < 0) return 0;
      number = index + 1;
    }
    if (symNr != nullptr) *symNr = number;
    return 1;
  });
}

int tvfDataReadRawStart(tvfHandle_t pt, int symNr, int *recordCount) {
  int ignored;
  if (recordCount == nullptr) recordCount = &ignored;
  *recordCount = 0;
  return Guarded(pt, "tvfDataReadRawStart", [&](tvfRec &t) {
    FileReader *r = Reader(t, "tvfDataReadRawStart");
    return r != nullptr && r->StartRead(symNr, recordCount) ? 1 : 0;
  });
}

namespace {

[[gnu::noinline]] int ReadRawFramed(tvfHandle_t pt, int *keys, double *values, int *dimFirst) {
  return Guarded(pt, "tvfDataReadRaw", [&](tvfRec &t) {
    FileReader *r = Reader(t, "tvfDataReadRaw");
    if (r == nullptr || !Present(t, keys, "tvfDataReadRaw", "keys") ||
        !Present(t, values, "tvfDataReadRaw", "values")) {
      return 0;
    }
    if (!r->reading()) {
      t.errors.LogWithText({.code = ErrorCode::kNoReadStarted}, "tvfDataReadRaw");
      return 0;
    }
    int first_changed = 0;
    if (!r->ReadRecord(keys, values, &first_changed)) return 0;
    if (dimFirst != nullptr) *dimFirst = first_changed + 1;
    return 1;
  });
}

[[gnu::noinline]] int ReadRawFailed(tvfHandle_t pt, tvf::ReadStatus status) {
  return Guarded(pt, "tvfDataReadRaw", [&](tvfRec &t) { return t.reader->ReadFailed(status) ? 1 : 0; });
}

}  // namespace

// A record of the chunk already open, the common case, is decoded before the frame is set up: the frame's
// checks and the room its failure paths take cost as much as decoding the record.
int tvfDataReadRaw(tvfHandle_t pt, int *keys, double *values, int *dimFirst) {
  if (pt != nullptr && keys != nullptr && values != nullptr && pt->reader != nullptr) {
    int first_changed = 0;
    const tvf::ReadStatus status = pt->reader->ReadInOpenChunk(keys, values, &first_changed);
    if (status == tvf::ReadStatus::kRecord) {
      if (dimFirst != nullptr) *dimFirst = first_changed + 1;
      return 1;
    }
    if (status != tvf::ReadStatus::kOk) return ReadRawFailed(pt, status);
  }
  return ReadRawFramed(pt, keys, values, dimFirst);
}

int tvfDataReadDone(tvfHandle_t pt) {
  return Guarded(pt, "tvfDataReadDone", [&](tvfRec &t) {
    FileReader *r = Reader(t, "tvfDataReadDone");
    if (r == nullptr) return 0;
    r->EndRead();
    return 1;
  });
}

}  // extern "C"
