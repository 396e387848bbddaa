#include "arrays/position_maps.h"

#include "core/symbol.h"

namespace tvb::arrays {

const int* PositionMaps::of(const tvbSymbol* set) {
  set = set->aliasOf;
  for (auto& [owner, map] : maps_)
    if (owner == set) return map.get();
  auto map = std::make_unique<int[]>(static_cast<size_t>(labelCount_) + 1);  // zeroed: no label is in yet
  const RecordStore& records = *set->records;
  int position = 0;
  for (auto p = records.first(); !p.isEnd(); p = records.next(p)) {
    const int label = records.firstLabel(p);
    ++position;
    if (label > 0 && label <= labelCount_) map[label] = position;
  }
  maps_.emplace_back(set, std::move(map));
  return maps_.back().second.get();
}

std::vector<int> labelsByPosition(const tvbSymbol* set) {
  const RecordStore& records = *set->aliasOf->records;
  std::vector<int> labels;
  labels.reserve(records.size());
  for (auto p = records.first(); !p.isEnd(); p = records.next(p)) labels.push_back(records.firstLabel(p));
  return labels;
}

}  // namespace tvb::arrays
