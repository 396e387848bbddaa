// The dictionary library's entries (dct): symbols, labels, the keys of columns and rows, and the enumeration
// of a symbol's columns or rows.
#include <algorithm>

#include "dictionary.h"
#include "entry_frame.h"
#include "rundd.h"

using rundd::Dictionary;
using rundd::DictionarySymbol;
using rundd::Guarded;

namespace {

// body(dictionary, symbol) for a symbol number in range; failure with a last error otherwise.
template <class R, class Body>
R OnSymbol(void *pt, const char *operation, int symNr, R failure, Body &&body) {
  return Guarded<Dictionary>(pt, operation, failure, [&](Dictionary &d) -> R {
    const DictionarySymbol *s = d.Symbol(symNr);
    if (s == nullptr) {
      d.last_error = rundd::msg::SymbolOutOfRange(operation, symNr, d.SymbolCount());
      return failure;
    }
    return body(d, *s);
  });
}

void Quote(char *quote, bool quoted) {
  if (quote != nullptr) *quote = quoted ? '\'' : ' ';
}

// The symbol and key of a column or row.
int EntryUels(void *pt, const char *operation, int index, bool column, int *symNr, int *uels, int *dim) {
  return Guarded<Dictionary>(pt, operation, 0, [&](Dictionary &d) {
    const rundd::DictionaryEntry *e = column ? d.ColumnEntry(index) : d.RowEntry(index);
    if (e == nullptr) {
      d.last_error = column ? rundd::msg::ColumnOutOfRange(operation, index, d.ColumnCount())
                            : rundd::msg::RowOutOfRange(operation, index, d.RowCount());
      return 0;
    }
    if (symNr != nullptr) *symNr = e->symbol;
    if (dim != nullptr) *dim = static_cast<int>(e->key.size());
    if (uels != nullptr) std::copy(e->key.begin(), e->key.end(), uels);
    return 1;
  });
}

}  // namespace

extern "C" {

int dctXCreate(void **pt) { return rundd::CreateObject<Dictionary>(pt); }

int CdctXCreateD(void **pt, const char *) { return rundd::CreateObject<Dictionary>(pt); }

int dctXFree(void **pt) { return rundd::FreeObject<Dictionary>(pt); }

int dctNUels(dctHandle_t pt) {
  return Guarded<Dictionary>(pt, "dctNUels", 0, [](Dictionary &d) { return d.LabelCount(); });
}

int dctNLSyms(dctHandle_t pt) {
  return Guarded<Dictionary>(pt, "dctNLSyms", 0, [](Dictionary &d) { return d.SymbolCount(); });
}

int CdctUelLabel(dctHandle_t pt, int uelNr, char *quote, char *label, int labelSize) {
  Quote(quote, false);
  rundd::CopyOut(label, labelSize, "");
  return Guarded<Dictionary>(pt, "dctUelLabel", 0, [&](Dictionary &d) {
    const std::string *text = d.Label(uelNr);
    if (text == nullptr) {
      d.last_error = rundd::msg::LabelOutOfRange("dctUelLabel", uelNr, d.LabelCount());
      return 0;
    }
    Quote(quote, d.LabelQuoted(uelNr));
    rundd::CopyOut(label, labelSize, *text);
    return 1;
  });
}

int CdctSymText(dctHandle_t pt, int symNr, char *quote, char *text, int textSize) {
  Quote(quote, false);
  rundd::CopyOut(text, textSize, "");
  return OnSymbol(pt, "dctSymText", symNr, 0, [&](Dictionary &, const DictionarySymbol &s) {
    Quote(quote, !s.text.empty());
    rundd::CopyOut(text, textSize, s.text);
    return 1;
  });
}

int CdctSymName(dctHandle_t pt, int symNr, char *name, int nameSize) {
  rundd::CopyOut(name, nameSize, "");
  return OnSymbol(pt, "dctSymName", symNr, 0, [&](Dictionary &, const DictionarySymbol &s) {
    rundd::CopyOut(name, nameSize, s.name);
    return 1;
  });
}

int CdctSymIndex(dctHandle_t pt, const char *name) {
  return Guarded<Dictionary>(pt, "dctSymIndex", 0,
                             [&](Dictionary &d) { return name != nullptr ? d.SymbolIndex(name) : 0; });
}

int dctSymDim(dctHandle_t pt, int symNr) {
  return OnSymbol(pt, "dctSymDim", symNr, -1, [](Dictionary &, const DictionarySymbol &s) { return s.dim; });
}

int dctSymType(dctHandle_t pt, int symNr) {
  return OnSymbol(pt, "dctSymType", symNr, -1, [](Dictionary &, const DictionarySymbol &s) { return s.type; });
}

int dctSymUserInfo(dctHandle_t pt, int symNr) {
  return OnSymbol(pt, "dctSymUserInfo", symNr, -1, [](Dictionary &, const DictionarySymbol &s) { return s.user_info; });
}

int dctColUels(dctHandle_t pt, int col, int *symNr, int *uels, int *dim) {
  return EntryUels(pt, "dctColUels", col, true, symNr, uels, dim);
}

int dctRowUels(dctHandle_t pt, int row, int *symNr, int *uels, int *dim) {
  return EntryUels(pt, "dctRowUels", row, false, symNr, uels, dim);
}

void *dctFindFirstRowCol(dctHandle_t pt, int symNr, const int *uels, int *rowCol) {
  int ignored;
  if (rowCol == nullptr) rowCol = &ignored;
  *rowCol = -1;
  return OnSymbol(
      pt, "dctFindFirstRowCol", symNr, static_cast<void *>(nullptr),
      [&](Dictionary &d, const DictionarySymbol &) { return rundd::ToHandle(d.FindFirst(symNr, uels, rowCol)); });
}

int dctFindNextRowCol(dctHandle_t pt, void *search, int *rowCol) {
  int ignored;
  if (rowCol == nullptr) rowCol = &ignored;
  *rowCol = -1;
  return Guarded<Dictionary>(pt, "dctFindNextRowCol", 0, [&](Dictionary &d) {
    rundd::Search *s = d.OwnSearch(search);
    if (s == nullptr) {
      d.last_error = rundd::msg::UnknownSearch("dctFindNextRowCol");
      return 0;
    }
    return d.FindNext(s, rowCol) ? 1 : 0;
  });
}

void dctFindClose(dctHandle_t pt, void *search) {
  Guarded<Dictionary>(pt, "dctFindClose", 0, [&](Dictionary &d) {
    rundd::Search *s = d.OwnSearch(search);
    if (s == nullptr) {
      if (search != nullptr) d.last_error = rundd::msg::UnknownSearch("dctFindClose");
      return 0;
    }
    d.Close(s);
    return 1;
  });
}

int CdctGetLastError(dctHandle_t pt, char *msg) { return rundd::CopyLastError<Dictionary>(pt, "dctGetLastError", msg); }

}  // extern "C"
