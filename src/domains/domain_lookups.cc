#include "domains/domain_lookups.h"

#include <algorithm>
#include <memory>

#include "core/database.h"

namespace tvb::domains {
namespace {

// A set counts as a domain when it, or the alias that stands for it, was named as one.
bool flaggedAsDomain(const tvbSymbol* s) { return s->usedAsDomain || s->aliasOf->usedAsDomain; }

void buildLookup(tvbSymbol* set) {
  const int covered = set->db->labels.count();
  auto lookup = std::make_unique<int[]>(static_cast<size_t>(covered) + 1);  // zeroed
  lookup[0] = covered;
  const RecordStore& records = *set->records;
  int position = 0;
  for (auto p = records.first(); !p.isEnd(); p = records.next(p)) {
    const int label = records.key(p)[0];
    ++position;
    if (label >= 1 && label <= covered) lookup[label] = position;
  }
  set->domainLookup = std::move(lookup);
}

}  // namespace

std::vector<tvbSymbol*> domainSetsOf(const tvbSymbol* sym) {
  std::vector<tvbSymbol*> sets;
  for (tvbSymbol* d : sym->domains)
    if (d) sets.push_back(d);
  return sets;
}

std::vector<tvbSymbol*> allSymbolsOf(const tvbHandle* db) {
  std::vector<tvbSymbol*> all;
  all.reserve(db->symbols.size());
  for (const auto& s : db->symbols) all.push_back(s.get());
  return all;
}

Status prepareLookups(const std::vector<tvbSymbol*>& group) {
  for (tvbSymbol* s : group) {
    tvbSymbol* set = s->aliasOf;
    if (set->isUniverse()) continue;
    if (flaggedAsDomain(s)) TVB_RETURN_IF_FAILED(ensureLoaded(set->db, set));
    set->domainLookup.reset();
  }
  for (tvbSymbol* s : group) {
    tvbSymbol* set = s->aliasOf;
    if (!set->isUniverse() && !set->domainLookup && set->records && flaggedAsDomain(s)) buildLookup(set);
  }
  return Status();
}

void releaseLookups(const std::vector<tvbSymbol*>& group) noexcept {
  for (tvbSymbol* s : group) s->aliasOf->domainLookup.reset();
}

int guardsOf(const tvbSymbol* sym, Guard* guards) {
  int count = 0;
  const int positions = std::min<int>(sym->dim, static_cast<int>(sym->domains.size()));
  for (int i = 0; i < positions; ++i) {
    const tvbSymbol* d = sym->domains[i];
    if (d && d->aliasOf->domainLookup) guards[count++] = Guard{i, d->aliasOf->domainLookup.get()};
  }
  return count;
}

RecordStore::Position firstViolation(const RecordStore& records, RecordStore::Position p, const Guard* guards,
                                     int count) {
  if (count == 0) return RecordStore::end();
  const int stride = records.keyStride();
  // A leaf at a time: its rows are contiguous. The next leaf is requested while this one is read.
  while (!p.isEnd()) {
    RecordStore::Node* leaf = p.leaf;
    const int* keys = records.key(RecordStore::Position{leaf, 0});
    records.requestNeighbour(p, true);
    for (int slot = p.slot; slot < leaf->count; ++slot)
      if (violates(keys + static_cast<size_t>(slot) * stride, guards, count)) return RecordStore::Position{leaf, slot};
    p = leaf->next != nullptr ? RecordStore::Position{leaf->next, 0} : RecordStore::end();
  }
  return p;
}

}  // namespace tvb::domains
