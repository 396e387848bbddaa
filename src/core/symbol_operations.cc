// Adding symbols, finding them by name or index, and reporting their domains.
#include <cctype>
#include <cstring>
#include <memory>

#include "api/operations.h"
#include "core/database.h"
#include "core/frame.h"
#include "core/messages.h"
#include "core/symbol_table.h"

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
bool checkSymbolArguments(tvbHandle* db, const char* name, int type, int userInfo, const char* text) {
  using namespace tvb;
  if (!name) return setError(db, msg::kNullSymbolName), false;
  if (!validName(name)) return setError(db, msg::kBadSymbolName, name), false;
  if (std::strlen(text) >= TRV_SSSIZE) return setError(db, msg::kTextTooLong, TRV_SSSIZE - 1), false;
  if (type < TRV_DT_SET || type > TRV_DT_EQU) return setError(db, msg::kBadSymbolType, type), false;
  if (type == TRV_DT_VAR && (userInfo < 0 || userInfo > TRV_VAR_SEMIINT))
    return setError(db, msg::kBadVariableType, userInfo, name), false;
  if (type == TRV_DT_EQU && (userInfo < 0 || userInfo > TRV_EQU_5))
    return setError(db, msg::kBadEquationType, userInfo, name), false;
  return true;
}

// Creates the symbol with its domains and enters it into the symbol table; null (message stored) when the
// name exists or a domain set is not acceptable.
tvbSymbol* addSymbolCore(tvbHandle* db, const char* name, int dim, int type, int userInfo, const char* text,
                         tvbSymbol* const* domainSymbols, const char* const* domainNames) {
  using namespace tvb;
  if (db->initFrom == FROM_NOSOURCE) db->initFrom = FROM_MEMORY;
  if (db->symbolMap.count(std::string_view(name))) return setError(db, msg::kSymbolExists, name), nullptr;

  auto sym = newSymbol(db, name, text, dim, type, userInfo, static_cast<int>(db->symbolMap.size()));
  for (int i = 0; i < dim; ++i) {
    tvbSymbol* d = domainSymbols ? domainSymbols[i] : db->universe.get();
    if (!d) {
      const char* domainName = domainNames && domainNames[i] ? domainNames[i] : "*";
      if (std::strcmp(domainName, "*") == 0 || std::strcmp(domainName, " ") == 0)
        sym->domains[i] = db->universe.get();
      else
        sym->domainNames[i] = domainName;
    } else if (d == db->universe.get()) {
      sym->domains[i] = d;
    } else {
      if (d->dim != 1) return setError(db, msg::kDomainNotOneDim, d->name.c_str()), nullptr;
      if (d->db != db && d->name == "*") return setError(db, msg::kForeignUniverse), nullptr;
      if (d->db != db) return setError(db, msg::kForeignSymbol, d->name.c_str()), nullptr;
      if (d->type != TRV_DT_SET) return setError(db, msg::kDomainNotSet, d->name.c_str()), nullptr;
      sym->domains[i] = d;
      d->usedAsDomain = true;
    }
  }
  return enterSymbol(db, std::move(sym));
}

}  // namespace

int tvbAddSymbol(tvbHandle* ptvb, const char* name, int dim, int type, int userInfo, const char* text,
                 tvbSymbol** sym) {
  using namespace tvb;
  TVB_ASSERT(ptvb != NULL);
  if (dim == 0 && type == TRV_DT_SET) return setError(ptvb, msg::kSetNeedsDimension), 0;
  if (dim < 0 || dim > GLOBAL_MAX_INDEX_DIM) return setError(ptvb, msg::kBadDimension, GLOBAL_MAX_INDEX_DIM, dim), 0;
  if (!checkSymbolArguments(ptvb, name, type, userInfo, text)) return 0;
  *sym = nullptr;
  return guarded(ptvb, "tvbAddSymbol", [&] {
    *sym = addSymbolCore(ptvb, name, dim, type, userInfo, text, nullptr, nullptr);
    if (!*sym) return 0;
    ptvb->recordWrite(*sym);
    return 1;
  });
}

int tvbAddSymbolX(tvbHandle* ptvb, const char* name, int aDim, int type, int userInfo, const char* text,
                  tvbSymbol** domains, const char* const* domainNames, tvbSymbol** sym) {
  using namespace tvb;
  TVB_ASSERT(ptvb != NULL);
  TVB_ASSERT((aDim>=0) && (aDim<=GLOBAL_MAX_INDEX_DIM));
  TVB_ASSERT((aDim>0) || (TRV_DT_SET!=type));
  TVB_ASSERT(TRV_DT_ALIAS!=type);
  if (!checkSymbolArguments(ptvb, name, type, userInfo, text)) return 0;
  *sym = nullptr;
  return guarded(ptvb, "tvbAddSymbolX", [&] {
    static tvbSymbol* const kNoDomains[GLOBAL_MAX_INDEX_DIM] = {};
    *sym = addSymbolCore(ptvb, name, aDim, type, userInfo, text, domains ? domains : kNoDomains, domainNames);
    if (!*sym) return 0;
    ptvb->recordWrite(*sym);
    return 1;
  });
}

tvbSymbol* tvbAddSymbolPy(tvbHandle* ptvb, const char* name, int dim, int type, int userInfo, const char* text,
                          int* status) {
  tvbSymbol* sym = nullptr;
  *status = tvbAddSymbol(ptvb, name, dim, type, userInfo, text, &sym);
  return sym;
}

tvbSymbol* tvbAddSymbolXPy(tvbHandle* ptvb, const char* name, int dim, int type, int userInfo, const char* text,
                           tvbSymbol** domains, const char* const* domainNames, int* status) {
  tvbSymbol* sym = nullptr;
  *status = tvbAddSymbolX(ptvb, name, dim, type, userInfo, text, domains, domainNames, &sym);
  return sym;
}

int tvbFindSymbol(tvbHandle* ptvb, const char* name, tvbSymbol** sym) {
  using namespace tvb;
  TVB_ASSERT(ptvb != NULL);
  *sym = nullptr;
  if (!name) return setError(ptvb, msg::kFindNullName), 0;
  return guarded(ptvb, "tvbFindSymbol", [&] {
    if (std::strcmp(name, "*") == 0) {
      *sym = ptvb->universe.get();
      return 1;
    }
    auto it = ptvb->symbolMap.find(std::string_view(name));
    if (it == ptvb->symbolMap.end()) return setError(ptvb, msg::kSymbolNotFound, name), 0;
    *sym = it->second->aliasOf;
    return 1;
  });
}

tvbSymbol* tvbFindSymbolPy(tvbHandle* ptvb, const char* name, int* status) {
  tvbSymbol* sym = nullptr;
  *status = tvbFindSymbol(ptvb, name, &sym);
  return sym;
}

int tvbGetSymbolByIndex(tvbHandle* ptvb, int index, tvbSymbol** sym) {
  TVB_ASSERT(ptvb != NULL);
  *sym = nullptr;
  if (index == -1) {
    *sym = ptvb->universe.get();
    return 1;
  }
  if (index < 0 || index >= static_cast<int>(ptvb->symbolIndex.size()))
    return tvb::setError(ptvb, tvb::msg::kSymbolIndexRange, index), 0;
  *sym = ptvb->symbolIndex[index];
  return 1;
}

tvbSymbol* tvbGetSymbolByIndexPy(tvbHandle* ptvb, int index, int* status) {
  tvbSymbol* sym = nullptr;
  *status = tvbGetSymbolByIndex(ptvb, index, &sym);
  return sym;
}

int tvbGetDomain(tvbHandle* ptvb, tvbSymbol* sym, int, tvbSymbol** domains, char** domainNames) {
  using namespace tvb;
  TVB_ASSERT(ptvb != NULL);
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  if (sym->isUniverse()) return setError(ptvb, msg::kUniverseNoDomain), 0;
  for (int i = 0; i < sym->dim; ++i) {
    const tvbSymbol* d = sym->domains[i];
    const std::string& name = d ? d->name : sym->domainNames[i];
    std::memcpy(domainNames[i], name.c_str(), name.size() + 1);
    domains[i] = d ? d->aliasOf : nullptr;
  }
  return 1;
}
