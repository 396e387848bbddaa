// Adding symbols, finding them by name or index, and reporting their domains.
#include <cctype>
#include <cstring>
#include <memory>

#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/messages.h"

namespace tvb {
namespace {

bool validName(const char* name) {
  size_t n = std::strlen(name);
  if (n < 1 || n > 63 || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  for (size_t i = 1; i < n; ++i) {
    unsigned char c = name[i];
    if (!std::isalnum(c) && c != '_') return false;
  }
  return true;
}

// The checks shared by both add operations after their dimension rules: name, text, type and subtype.
Status checkSymbolArguments(const char* name, int type, int userInfo, const char* text) {
  if (!name) return Status::error(msg::kNullSymbolName);
  if (!validName(name)) return Status::error(msg::kBadSymbolName, name);
  if (!text) return Status::error(msg::kNullSymbolText);
  if (std::strlen(text) >= TRV_SSSIZE) return Status::error(msg::kTextTooLong, TRV_SSSIZE - 1);
  if (type < TRV_DT_SET || type > TRV_DT_EQU) return Status::error(msg::kBadSymbolType, type);
  return checkSubtype(type, userInfo, name);
}

// The domain of position i: d, this database's Universe, or (d null) the Universe or a relaxed name by
// domainName. A set of another database, or one that is no one-dimensional set, is refused.
Status setDomain(DatabaseCore& db, tvbSymbol* sym, int i, tvbSymbol* d, const char* domainName) {
  if (!d) {
    if (std::strcmp(domainName, "*") == 0 || std::strcmp(domainName, " ") == 0)
      sym->domains[i] = db.symbols.universe();
    else
      sym->domainNames[i] = domainName;
    return Status();
  }
  if (d == db.symbols.universe()) {
    sym->domains[i] = d;
    return Status();
  }
  if (d->dim != 1) return Status::error(msg::kDomainNotOneDim, d->name.c_str());
  if (d->db != &db && d->name == "*") return Status::error(msg::kForeignUniverse);
  if (d->db != &db) return Status::error(msg::kForeignSymbol, d->name.c_str());
  if (d->type != TRV_DT_SET) return Status::error(msg::kDomainNotSet, d->name.c_str());
  sym->domains[i] = d;
  d->usedAsDomain = true;
  return Status();
}

// Creates the symbol with its domains and enters it into the symbol table (*out); fails when the name exists
// or a domain set is not acceptable.
Status addSymbolCore(DatabaseCore& db, const char* name, int dim, int type, int userInfo, const char* text,
                     tvbSymbol* const* domainSymbols, const char* const* domainNames, tvbSymbol** out) {
  db.dataSource.noteFilledInMemory();
  if (db.symbols.find(name)) return Status::error(msg::kSymbolExists, name);

  auto sym = db.symbols.make(name, text, dim, type, userInfo, db.symbols.namedCount());
  for (int i = 0; i < dim; ++i) {
    tvbSymbol* d = domainSymbols ? domainSymbols[i] : db.symbols.universe();
    const char* domainName = !d && domainNames && domainNames[i] ? domainNames[i] : "*";
    TVB_RETURN_IF_FAILED(setDomain(db, sym.get(), i, d, domainName));
  }
  *out = db.symbols.enter(std::move(sym));
  db.writeRecording.noteChange(*out);
  return Status();
}

Status findSymbol(const DatabaseCore& db, const char* name, tvbSymbol** sym) {
  if (std::strcmp(name, "*") == 0) {
    *sym = db.symbols.universe();
    return Status();
  }
  tvbSymbol* found = db.symbols.find(name);
  if (!found) return Status::error(msg::kSymbolNotFound, name);
  *sym = found->aliasOf;
  return Status();
}

Status getDomain(const DatabaseCore& db, tvbSymbol* sym, tvbSymbol** domains, char** domainNames) {
  if (!sym) return Status::error(msg::kNoSymbol);
  TVB_RETURN_IF_FAILED(checkSymbolOf(db, sym));
  if (sym->isUniverse()) return Status::error(msg::kUniverseNoDomain);
  if (sym->dim > 0) {
    TVB_RETURN_IF_FAILED(checkGiven(domains, "tvbGetDomain", "domains"));
    TVB_RETURN_IF_FAILED(checkGiven(domainNames, "tvbGetDomain", "domainNames"));
  }
  for (int i = 0; i < sym->dim; ++i) {
    const tvbSymbol* d = sym->domains[i];
    const std::string& name = d ? d->name : sym->domainNames[i];
    std::memcpy(domainNames[i], name.c_str(), name.size() + 1);
    domains[i] = d ? d->aliasOf : nullptr;
  }
  return Status();
}

}  // namespace
}  // namespace tvb

int tvbAddSymbol(tvbHandle* ptvb, const char* name, int dim, int type, int userInfo, const char* text,
                 tvbSymbol** sym) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(sym, "tvbAddSymbol", "sym"))) return 0;
  *sym = nullptr;
  if (dim == 0 && type == TRV_DT_SET) return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kSetNeedsDimension));
  if (dim < 0 || dim > GLOBAL_MAX_INDEX_DIM)
    return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kBadDimension, GLOBAL_MAX_INDEX_DIM, dim));
  if (tvb::failed(ptvb, tvb::checkSymbolArguments(name, type, userInfo, text))) return 0;
  return tvb::guarded(ptvb, "tvbAddSymbol", [&] {
    return tvb::addSymbolCore(tvb::coreOf(ptvb), name, dim, type, userInfo, text, nullptr, nullptr, sym);
  });
}

int tvbAddSymbolX(tvbHandle* ptvb, const char* name, int aDim, int type, int userInfo, const char* text,
                  tvbSymbol** domains, const char* const* domainNames, tvbSymbol** sym) {
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT((aDim>=0) && (aDim<=GLOBAL_MAX_INDEX_DIM));
  TVB_ASSERT((aDim>0) || (TRV_DT_SET!=type));
  TVB_ASSERT(TRV_DT_ALIAS!=type);
  if (tvb::failed(ptvb, tvb::checkGiven(sym, "tvbAddSymbolX", "sym"))) return 0;
  *sym = nullptr;
  if (tvb::failed(ptvb, tvb::checkSymbolArguments(name, type, userInfo, text))) return 0;
  return tvb::guarded(ptvb, "tvbAddSymbolX", [&] {
    static tvbSymbol* const kNoDomains[GLOBAL_MAX_INDEX_DIM] = {};
    return tvb::addSymbolCore(tvb::coreOf(ptvb), name, aDim, type, userInfo, text, domains ? domains : kNoDomains,
                              domainNames, sym);
  });
}

tvbSymbol* tvbAddSymbolPy(tvbHandle* ptvb, const char* name, int dim, int type, int userInfo, const char* text,
                          int* status) {
  return tvb::pyForm<tvbSymbol>(ptvb, status, "tvbAddSymbolPy", [&](tvbSymbol** out) {
    return tvbAddSymbol(ptvb, name, dim, type, userInfo, text, out);
  });
}

tvbSymbol* tvbAddSymbolXPy(tvbHandle* ptvb, const char* name, int dim, int type, int userInfo, const char* text,
                           tvbSymbol** domains, const char* const* domainNames, int* status) {
  return tvb::pyForm<tvbSymbol>(ptvb, status, "tvbAddSymbolXPy", [&](tvbSymbol** out) {
    return tvbAddSymbolX(ptvb, name, dim, type, userInfo, text, domains, domainNames, out);
  });
}

int tvbFindSymbol(tvbHandle* ptvb, const char* name, tvbSymbol** sym) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(sym, "tvbFindSymbol", "sym"))) return 0;
  *sym = nullptr;
  if (!name) return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kFindNullName));
  return tvb::guarded(ptvb, "tvbFindSymbol", [&] { return tvb::findSymbol(tvb::coreOf(ptvb), name, sym); });
}

tvbSymbol* tvbFindSymbolPy(tvbHandle* ptvb, const char* name, int* status) {
  return tvb::pyForm<tvbSymbol>(ptvb, status, "tvbFindSymbolPy",
                                [&](tvbSymbol** out) { return tvbFindSymbol(ptvb, name, out); });
}

int tvbGetSymbolByIndex(tvbHandle* ptvb, int index, tvbSymbol** sym) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(sym, "tvbGetSymbolByIndex", "sym"))) return 0;
  *sym = nullptr;
  const tvb::SymbolTable& symbols = tvb::coreOf(ptvb).symbols;
  if (index == -1) {
    *sym = symbols.universe();
    return 1;
  }
  if (index < 0 || index >= symbols.indexedCount())
    return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kSymbolIndexRange, index));
  *sym = symbols.byIndex(index);
  return 1;
}

tvbSymbol* tvbGetSymbolByIndexPy(tvbHandle* ptvb, int index, int* status) {
  return tvb::pyForm<tvbSymbol>(ptvb, status, "tvbGetSymbolByIndexPy",
                                [&](tvbSymbol** out) { return tvbGetSymbolByIndex(ptvb, index, out); });
}

int tvbGetDomain(tvbHandle* ptvb, tvbSymbol* sym, int, tvbSymbol** domains, char** domainNames) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::finish(ptvb, tvb::getDomain(tvb::coreOf(ptvb), sym, domains, domainNames));
}
