#include "domains/violation_search.h"

#include <vector>

namespace tvb::domains {
namespace {

// Index of sym among db's symbols; symbols made by the core sit at their creation number.
size_t indexOf(const DatabaseCore& db, const tvbSymbol* sym) {
  const auto& symbols = db.symbols.all();
  if (sym->number >= 0 && static_cast<size_t>(sym->number) < symbols.size() && symbols[sym->number].get() == sym)
    return sym->number;
  for (size_t i = 0; i < symbols.size(); ++i)
    if (symbols[i].get() == sym) return i;
  return symbols.size();
}

bool hasCheckedDomain(const tvbSymbol* sym) {
  for (const tvbSymbol* d : sym->domains)
    if (d && !d->aliasOf->isUniverse()) return true;
  return false;
}

}  // namespace

Status searchSymbol(DomainChecks& checks, tvbSymbol* sym, std::unique_ptr<tvbDVHandle>* found) {
  found->reset();
  const bool ownLookups = !checks.wholeCheckOpen();
  std::vector<tvbSymbol*> domainSets;
  if (ownLookups) domainSets = domainSetsOf(sym);
  // Lookups built for this search go again unless a handle found here keeps them.
  struct Release {
    DomainChecks& checks;
    const std::vector<tvbSymbol*>& sets;
    const std::unique_ptr<tvbDVHandle>& found;
    ~Release() {
      if (!found) checks.releaseLookups(sets);
    }
  } release{checks, domainSets, *found};
  if (ownLookups) TVB_RETURN_IF_FAILED(checks.prepareLookups(domainSets));

  if (sym->isUniverse() || sym->aliasOf != sym || !sym->records) return Status();
  Guard guards[GLOBAL_MAX_INDEX_DIM];
  const int count = checks.guardsOf(sym, guards);
  const RecordStore& records = *sym->records;
  RecordStore::Position p = firstViolation(records, records.first(), guards, count);
  if (p.isEnd()) return Status();
  auto handle = std::make_unique<tvbDVHandle>();
  handle->record.symbol = sym;
  placeHandle(&handle->record, p);
  *found = std::move(handle);
  return Status();
}

Status nextCandidate(const DatabaseCore& db, const tvbSymbol* after, tvbSymbol** next) {
  *next = nullptr;
  const auto& symbols = db.symbols.all();
  size_t i = after && !after->isUniverse() ? indexOf(db, after) + 1 : 0;
  for (; i < symbols.size(); ++i) {
    tvbSymbol* sym = symbols[i].get();
    if (sym->dim == 0 || sym->aliasOf != sym || sym->type == TRV_DT_ALIAS || !hasCheckedDomain(sym)) continue;
    TVB_RETURN_IF_FAILED(ensureLoaded(sym));
    if (sym->records && !sym->records->empty()) {
      *next = sym;
      break;
    }
  }
  return Status();
}

std::vector<tvbSymbol*> allSymbolsOf(const DatabaseCore& db) {
  std::vector<tvbSymbol*> all;
  all.reserve(db.symbols.all().size());
  for (const auto& s : db.symbols.all()) all.push_back(s.get());
  return all;
}

}  // namespace tvb::domains
