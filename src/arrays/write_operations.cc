// Writing a caller's cube into a set or parameter: every cell over the domain sets, or only the cells that slice
// sets select. The symbol's records are replaced as a whole: all checks come first, and the new records are
// built aside (store_replacement.h), so a refused write changes nothing. Cells are visited in row-major order
// over positions in store order, so keys arrive ascending and fill the store's leaves by appending.
#include <cstdint>
#include <utility>
#include <vector>

#include "api/operations.h"
#include "arrays/cube_cells.h"
#include "arrays/messages.h"
#include "arrays/position_maps.h"
#include "arrays/store_replacement.h"
#include "arrays/store_translation.h"
#include "arrays/transfer_checks.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"

namespace tvb::arrays {
namespace {

// The symbol a cube is written into: checkSymbol(), and a set or a parameter.
Status checkWriteTarget(const DatabaseCore& db, const tvbSymbol* sym) {
  TVB_RETURN_IF_FAILED(checkSymbol(db, sym));
  const int type = sym->aliasOf->type;
  if (type != TRV_DT_SET && type != TRV_DT_PAR) return Status::error(msg::kCopyIntoVarEqu, sym->name.c_str());
  return Status();
}

// Domain set of each dimension: the five checks with the extent tied to its cardinality, which must not be 0.
Status checkWriteDomain(const tvbSymbol* sym, tvbSymbol* domain, int i, const int* extents) {
  TVB_RETURN_IF_FAILED(checkDomainSet(sym, domain, i, &extents[i]));
  if (extents[i] == 0) return Status::error(msg::kZeroSizedDimension, i + 1);
  return Status();
}

// The record a cell gives, or none: sets take the cell's non-zero integer (an element-text number) as level,
// parameters the cell's value in the store's special values. skipZeros: a parameter cell of 0.0 gives none.
struct CellReader {
  const void* cube;
  bool isSet;
  bool skipZeros;
  ToStore toStore;

  bool givesRecord(int64_t cell) const {
    if (isSet) return static_cast<const int32_t*>(cube)[cell] != 0;
    return !skipZeros || static_cast<const double*>(cube)[cell] != 0.0;
  }
  double value(int64_t cell) const {
    if (isSet) return static_cast<const int32_t*>(cube)[cell];
    return toStore(static_cast<const double*>(cube)[cell]);
  }
};

// The cells come in store order, so nearly every record is appended to the last leaf without a search.
void insertRecord(RecordStore& store, const int* key, double value) {
  store.valuesToWrite(key)[0] = value;
}

// Calls visit(key, cell) for every combination of the chosen labels, last dimension fastest; choices[i] holds
// (label, 0-based cell position along dimension i) pairs in store order, none empty.
template <class Visit>
void forEachCombination(const std::vector<std::pair<int, int>>* choices, int dim, const int64_t* strides,
                        Visit&& visit) {
  int key[GLOBAL_MAX_INDEX_DIM];
  size_t at[GLOBAL_MAX_INDEX_DIM] = {};
  const int last = dim - 1;
  int64_t base = 0;  // the cell of the current labels of the dimensions before the last
  for (int i = 0; i < last; ++i) {
    key[i] = choices[i][0].first;
    base += choices[i][0].second * strides[i];
  }
  for (;;) {
    for (const auto& [label, position] : choices[last]) {
      key[last] = label;
      visit(key, base + position);
    }
    int i = last - 1;
    for (; i >= 0; --i) {
      base -= choices[i][at[i]].second * strides[i];
      if (++at[i] == choices[i].size()) at[i] = 0;
      key[i] = choices[i][at[i]].first;
      base += choices[i][at[i]].second * strides[i];
      if (at[i] != 0) break;
    }
    if (i < 0) return;
  }
}

Status denseArrayToSymbol(tvbSymbol* sym, tvbSymbol** domains, const void* cube, const int* extents) {
  const int dim = sym->dim;
  for (int i = 0; i < dim; ++i) TVB_RETURN_IF_FAILED(checkWriteDomain(sym, domains[i], i, extents));
  int64_t cells;
  TVB_RETURN_IF_FAILED(countCells(sym, extents, &cells));

  std::vector<std::pair<int, int>> choices[GLOBAL_MAX_INDEX_DIM];  // every position of every domain
  for (int i = 0; i < dim; ++i) {
    std::vector<int> labels = labelsByPosition(domains[i]);
    choices[i].reserve(labels.size());
    for (size_t k = 0; k < labels.size(); ++k) choices[i].emplace_back(labels[k], static_cast<int>(k));
  }
  int64_t strides[GLOBAL_MAX_INDEX_DIM];
  rowMajorStrides(extents, dim, strides);

  tvbSymbol* set = sym->aliasOf;
  const CellReader reader{cube, set->type == TRV_DT_SET, false, ToStore(sym->db->specialValues)};
  int64_t records = cells;
  if (reader.isSet) {
    records = 0;
    for (int64_t cell = 0; cell < cells; ++cell) records += reader.givesRecord(cell);
  }
  StoreReplacement replacement(set, records);
  RecordStore& store = replacement.store();
  forEachCombination(choices, dim, strides, [&](const int* key, int64_t cell) {
    if (reader.givesRecord(cell)) insertRecord(store, key, reader.value(cell));
  });
  replacement.commit();
  return Status();
}

Status denseArraySlicesToSymbol(tvbSymbol* sym, tvbSymbol** slices, tvbSymbol** domains, const void* cube,
                                const int* extents) {
  const int dim = sym->dim;
  for (int i = 0; i < dim; ++i) {
    TVB_RETURN_IF_FAILED(checkWriteDomain(sym, domains[i], i, extents));
    TVB_RETURN_IF_FAILED(checkDomainSet(sym, slices[i], i, nullptr));
  }
  int64_t cells;
  TVB_RETURN_IF_FAILED(countCells(sym, extents, &cells));

  // The slice labels that lie in their domain, each with its domain position: the cells that may be written.
  PositionMaps maps(sym->db->labels.count());
  std::vector<std::pair<int, int>> choices[GLOBAL_MAX_INDEX_DIM];
  bool anyCell = true;
  for (int i = 0; i < dim; ++i) {
    const int* positions = maps.of(domains[i]);
    const RecordStore& slice = *slices[i]->aliasOf->records;
    for (auto p = slice.first(); !p.isEnd(); p = slice.next(p)) {
      const int label = slice.firstLabel(p);
      if (positions[label]) choices[i].emplace_back(label, positions[label] - 1);
    }
    anyCell = anyCell && !choices[i].empty();
  }
  int64_t strides[GLOBAL_MAX_INDEX_DIM];
  rowMajorStrides(extents, dim, strides);

  tvbSymbol* set = sym->aliasOf;
  const CellReader reader{cube, set->type == TRV_DT_SET, true, ToStore(sym->db->specialValues)};
  int64_t records = 0;
  if (anyCell)
    forEachCombination(choices, dim, strides, [&](const int*, int64_t cell) { records += reader.givesRecord(cell); });
  StoreReplacement replacement(set, records);
  RecordStore& store = replacement.store();
  if (anyCell)
    forEachCombination(choices, dim, strides, [&](const int* key, int64_t cell) {
      if (reader.givesRecord(cell)) insertRecord(store, key, reader.value(cell));
    });
  replacement.commit();  // with no selected cell, the symbol is left empty
  return Status();
}

}  // namespace
}  // namespace tvb::arrays

int tvbDenseArrayToSymbol(tvbHandle* ptvb, tvbSymbol* sym, tvbSymbol** domains, const void* cube, const int* extents) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(domains, "tvbDenseArrayToSymbol", "domains"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(cube, "tvbDenseArrayToSymbol", "cube"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(extents, "tvbDenseArrayToSymbol", "extents"))) return 0;
  if (tvb::failed(ptvb, tvb::arrays::checkWriteTarget(tvb::coreOf(ptvb), sym))) return 0;
  return tvb::guarded(ptvb, "tvbDenseArrayToSymbol",
                      [&] { return tvb::arrays::denseArrayToSymbol(sym, domains, cube, extents); });
}

int tvbDenseArraySlicesToSymbol(tvbHandle* ptvb, tvbSymbol* sym, tvbSymbol** slices, tvbSymbol** domains,
                                const void* cube, const int* extents) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(slices, "tvbDenseArraySlicesToSymbol", "slices"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(domains, "tvbDenseArraySlicesToSymbol", "domains"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(cube, "tvbDenseArraySlicesToSymbol", "cube"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(extents, "tvbDenseArraySlicesToSymbol", "extents"))) return 0;
  if (tvb::failed(ptvb, tvb::arrays::checkWriteTarget(tvb::coreOf(ptvb), sym))) return 0;
  return tvb::guarded(ptvb, "tvbDenseArraySlicesToSymbol",
                      [&] { return tvb::arrays::denseArraySlicesToSymbol(sym, slices, domains, cube, extents); });
}
