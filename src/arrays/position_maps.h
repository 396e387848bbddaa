// Positions of labels in the domain sets of one array transfer. A position map is indexed by label number and
// holds the label's 1-based position in the set's store order, or 0 for a label outside the set; it costs one
// int per label of the database. Maps live for one call, and one map serves every dimension that names the same
// set (an alias and the set it stands for count as the same set).
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "tvbcclib.h"

namespace tvb::arrays {

class PositionMaps {
 public:
  explicit PositionMaps(int labelCount) : labelCount_(labelCount) {}

  // The map of set, built on first request. REQUIRES: set is loaded, one-dimensional, of this database.
  const int* of(const tvbSymbol* set);

  // Distinct maps built so far.
  int size() const { return static_cast<int>(maps_.size()); }

 private:
  int labelCount_;
  std::vector<std::pair<const tvbSymbol*, std::unique_ptr<int[]>>> maps_;
};

// The labels of set by position (its keys in store order).
std::vector<int> labelsByPosition(const tvbSymbol* set);

}  // namespace tvb::arrays
