// Entries for writing a file: labels, texts, aliases, symbols with their domains and records.
#include "entry_frame.h"

using tvf::ErrorCode;
using tvf::FileWriter;
using tvf::Guarded;
using tvf::Present;

namespace {

// The writer of the open file, or nullptr with a logged error.
FileWriter *Writer(tvfRec &t, const char *operation) {
  if (t.writer == nullptr) t.errors.LogWithText({.code = ErrorCode::kNotWriting}, operation);
  return t.writer.get();
}

// Every name of a domain list of `dim` positions must be there.
bool NamesPresent(tvfRec &t, const char *const *names, int dim, const char *operation) {
  if (dim == 0) return true;  // nothing is read: a scalar's list may be absent
  if (!Present(t, names, operation, "domainNames")) return false;
  for (int i = 0; i < dim; ++i) {
    if (!Present(t, names[i], operation, "domainNames[i]")) return false;
  }
  return true;
}

}  // namespace

extern "C" {

int tvfUELRegisterRawStart(tvfHandle_t pt) {
  return Guarded(pt, "tvfUELRegisterRawStart", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfUELRegisterRawStart");
    return w != nullptr && w->StartLabels() ? 1 : 0;
  });
}

int CtvfUELRegisterRaw(tvfHandle_t pt, const char *label) {
  return Guarded(pt, "tvfUELRegisterRaw", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfUELRegisterRaw");
    if (w == nullptr || !Present(t, label, "tvfUELRegisterRaw", "label")) return 0;
    return w->AddLabel(label) ? 1 : 0;
  });
}

int tvfUELRegisterDone(tvfHandle_t pt) {
  return Guarded(pt, "tvfUELRegisterDone", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfUELRegisterDone");
    return w != nullptr && w->EndLabels() ? 1 : 0;
  });
}

int CtvfAddSetText(tvfHandle_t pt, const char *text, int *textNr) {
  int ignored;
  if (textNr == nullptr) textNr = &ignored;
  *textNr = 0;
  return Guarded(pt, "tvfAddSetText", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfAddSetText");
    if (w == nullptr || !Present(t, text, "tvfAddSetText", "text")) return 0;
    return w->AddText(text, textNr) ? 1 : 0;
  });
}

int CtvfAddAlias(tvfHandle_t pt, const char *alias, const char *set) {
  return Guarded(pt, "tvfAddAlias", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfAddAlias");
    if (w == nullptr || !Present(t, alias, "tvfAddAlias", "alias") || !Present(t, set, "tvfAddAlias", "set")) {
      return 0;
    }
    return w->AddAlias(alias, set) ? 1 : 0;
  });
}

int CtvfDataWriteRawStart(tvfHandle_t pt, const char *name, const char *text, int dim, int type, int userInfo) {
  return Guarded(pt, "tvfDataWriteRawStart", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfDataWriteRawStart");
    if (w == nullptr || !Present(t, name, "tvfDataWriteRawStart", "name")) return 0;
    return w->StartSymbol(name, text != nullptr ? text : "", dim, type, userInfo) ? 1 : 0;
  });
}

int CtvfSymbolSetDomain(tvfHandle_t pt, const char *const *domainNames) {
  const int errors_before = pt != nullptr ? pt->errors.Count() : 0;
  const int result = Guarded(pt, "tvfSymbolSetDomain", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfSymbolSetDomain");
    if (w == nullptr) return 0;
    if (!w->symbol_open()) {
      t.errors.LogWithText({.code = ErrorCode::kNoSymbolStarted}, "tvfSymbolSetDomain");
      return 0;
    }
    int dim = t.catalog.symbols.back().dim;
    if (!NamesPresent(t, domainNames, dim, "tvfSymbolSetDomain")) return 0;
    return w->SetCheckedDomain(domainNames) ? 1 : 0;
  });
  // A refused domain is no failure of the file: the caller stores the names unchecked instead.
  if (result == 0 && pt != nullptr && pt->writer != nullptr)
    pt->writer->ExcuseErrors(pt->errors.Count() - errors_before);
  return result;
}

int CtvfSymbolSetDomainX(tvfHandle_t pt, int symNr, const char *const *domainNames) {
  return Guarded(pt, "tvfSymbolSetDomainX", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfSymbolSetDomainX");
    if (w == nullptr) return 0;
    int dim = symNr >= 1 && static_cast<size_t>(symNr) <= t.catalog.symbols.size()
                  ? t.catalog.symbols[static_cast<size_t>(symNr) - 1].dim
                  : 0;
    if (!NamesPresent(t, domainNames, dim, "tvfSymbolSetDomainX")) return 0;
    return w->SetRelaxedDomain(symNr, domainNames) ? 1 : 0;
  });
}

int tvfDataWriteRaw(tvfHandle_t pt, const int *keys, const double *values) {
  return Guarded(pt, "tvfDataWriteRaw", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfDataWriteRaw");
    if (w == nullptr || !Present(t, keys, "tvfDataWriteRaw", "keys") ||
        !Present(t, values, "tvfDataWriteRaw", "values")) {
      return 0;
    }
    return w->AddRecord(keys, values) ? 1 : 0;
  });
}

int tvfDataWriteDone(tvfHandle_t pt) {
  return Guarded(pt, "tvfDataWriteDone", [&](tvfRec &t) {
    FileWriter *w = Writer(t, "tvfDataWriteDone");
    return w != nullptr && w->FinishSymbol() ? 1 : 0;
  });
}

}  // extern "C"
