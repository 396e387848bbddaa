// DomainChecks: the state of a database's domain checks. It says whether a whole-database check is open
// (dvAllSymbolMode), and holds the membership tables ("lookups") of the sets used as domains while a check
// needs them: indexed by label number, non-zero exactly for the labels of the set (their 1-based position in
// store order). Entry 0, which no label uses, holds the number of labels the table covers: labels registered
// after it was built lie beyond it and count as outside the set, which they were when the check began.
//
// Lookups are built only for sets flagged as used as a domain; a domain position is guarded while the set its
// domain stands for (through an alias) has a lookup.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "core/status.h"
#include "domains/guards.h"
#include "tvbcclib.h"

namespace tvb::domains {

class DomainChecks {
 public:
  bool wholeCheckOpen() const { return dvAllSymbolMode_ == 1; }
  void openWholeCheck() { dvAllSymbolMode_ = 1; }
  // Ends a whole-database check: releases every lookup.
  void closeWholeCheck() noexcept;

  // Loads the flagged sets of the group that still lie in their source, forgets every lookup of the group, then
  // builds the lookups of the flagged sets. Fails with the loader's message when a load failed.
  Status prepareLookups(const std::vector<tvbSymbol*>& group);

  // Releases the lookups of the sets of the group (of the sets they stand for).
  void releaseLookups(const std::vector<tvbSymbol*>& group) noexcept;
  // Releases the lookups of sym's domain sets.
  void releaseDomainLookups(const tvbSymbol* sym) noexcept;

  // The guarded positions of sym, first to last; returns how many (at most its dimension).
  int guardsOf(const tvbSymbol* sym, Guard* guards) const;

 private:
  const int* lookupOf(const tvbSymbol* set) const;
  void buildLookup(const tvbSymbol* set);

  int dvAllSymbolMode_ = 0;  // 1 while a whole-database check is open
  // By set (never an alias): a set of another database checked through this one has its lookup here too.
  std::unordered_map<const tvbSymbol*, std::unique_ptr<int[]>> lookups_;
};

// The domain sets of a symbol (present ones, aliases included), or every symbol of a database.
std::vector<tvbSymbol*> domainSetsOf(const tvbSymbol* sym);

// The domain-check state of the database that handle wraps. Defined where the handle is (database/).
DomainChecks& domainChecksOf(tvbHandle* handle);

}  // namespace tvb::domains
