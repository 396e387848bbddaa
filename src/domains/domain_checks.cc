#include "domains/domain_checks.h"

#include <algorithm>

#include "core/database_core.h"

namespace tvb::domains {
namespace {

// A set counts as a domain when it, or the alias that stands for it, was named as one.
bool flaggedAsDomain(const tvbSymbol* s) { return s->usedAsDomain || s->aliasOf->usedAsDomain; }

}  // namespace

void DomainChecks::closeWholeCheck() noexcept {
  lookups_.clear();
  dvAllSymbolMode_ = 0;
}

const int* DomainChecks::lookupOf(const tvbSymbol* set) const {
  auto it = lookups_.find(set);
  return it == lookups_.end() ? nullptr : it->second.get();
}

void DomainChecks::buildLookup(const tvbSymbol* set) {
  const int covered = set->db->labels.count();
  auto lookup = std::make_unique<int[]>(static_cast<size_t>(covered) + 1);  // zeroed
  lookup[0] = covered;
  const RecordStore& records = *set->records;
  int position = 0;
  for (auto p = records.first(); !p.isEnd(); p = records.next(p)) {
    const int label = records.firstLabel(p);
    ++position;
    if (label >= 1 && label <= covered) lookup[label] = position;
  }
  lookups_[set] = std::move(lookup);
}

Status DomainChecks::prepareLookups(const std::vector<tvbSymbol*>& group) {
  for (tvbSymbol* s : group) {
    tvbSymbol* set = s->aliasOf;
    if (set->isUniverse()) continue;
    if (flaggedAsDomain(s)) TVB_RETURN_IF_FAILED(ensureLoaded(set));
    lookups_.erase(set);
  }
  for (tvbSymbol* s : group) {
    const tvbSymbol* set = s->aliasOf;
    if (!set->isUniverse() && !lookupOf(set) && set->records && flaggedAsDomain(s)) buildLookup(set);
  }
  return Status();
}

void DomainChecks::releaseLookups(const std::vector<tvbSymbol*>& group) noexcept {
  for (const tvbSymbol* s : group) lookups_.erase(s->aliasOf);
}

void DomainChecks::releaseDomainLookups(const tvbSymbol* sym) noexcept {
  for (const tvbSymbol* d : sym->domains)
    if (d) lookups_.erase(d->aliasOf);
}

int DomainChecks::guardsOf(const tvbSymbol* sym, Guard* guards) const {
  int count = 0;
  const int positions = std::min<int>(sym->dim, static_cast<int>(sym->domains.size()));
  for (int i = 0; i < positions; ++i) {
    const tvbSymbol* d = sym->domains[i];
    if (!d) continue;
    if (const int* lookup = lookupOf(d->aliasOf)) guards[count++] = Guard{i, lookup};
  }
  return count;
}

std::vector<tvbSymbol*> domainSetsOf(const tvbSymbol* sym) {
  std::vector<tvbSymbol*> sets;
  for (tvbSymbol* d : sym->domains)
    if (d) sets.push_back(d);
  return sets;
}

}  // namespace tvb::domains
