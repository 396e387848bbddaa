// Reading a symbol into a caller's cube: in store order without domains, or placed by the positions of its
// labels in domain sets. Both are one pass over the records; label positions come from arrays indexed by label
// number, built once per distinct domain set.
#include <cstdint>
#include <type_traits>

#include "api/operations.h"
#include "arrays/cube_cells.h"
#include "arrays/cube_filler.h"
#include "arrays/messages.h"
#include "arrays/position_maps.h"
#include "arrays/record_walk.h"
#include "arrays/transfer_checks.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"

namespace tvb::arrays {
namespace {

// Places every record at the cell its labels' domain positions give (row-major), with the value cellValue gives;
// returns the number of records dropped for a label outside its domain. kDim > 0 fixes the dimension at compile
// time for the common small ones.
template <int kDim, class Cell, class CellValue>
int placeOverDomains(const RecordStore& records, int dim, const int* const* positions, const int* extents,
                     CubeFiller<Cell>& filler, CellValue&& cellValue) {
  const int d = kDim > 0 ? kDim : dim;
  int skipped = 0;
  forEachRecord(records, [&](const int* key, const double* values) {
    int64_t cell = 0;
    for (int i = 0; i < d; ++i) {
      const int position = positions[i][key[i]];
      if (position == 0) {
        ++skipped;
        return;
      }
      cell = cell * extents[i] + (position - 1);
    }
    filler.put(cell, cellValue(values));
  });
  return skipped;
}

template <class Cell, class CellValue>
int placeOverDomains(const RecordStore& records, int dim, const int* const* positions, const int* extents,
                     CubeFiller<Cell>& filler, CellValue&& cellValue) {
  switch (dim) {
    case 1:
      return placeOverDomains<1>(records, dim, positions, extents, filler, cellValue);
    case 2:
      return placeOverDomains<2>(records, dim, positions, extents, filler, cellValue);
    case 3:
      return placeOverDomains<3>(records, dim, positions, extents, filler, cellValue);
    default:
      return placeOverDomains<0>(records, dim, positions, extents, filler, cellValue);
  }
}

// The rest of a read over domains, from the point where the cube counts as cleared.
template <class Cell>
Status readOverDomains(void* cube, int64_t cells, const int* extents, tvbSymbol* sym, tvbSymbol** domains, int field,
                       int* dropped) {
  CubeFiller<Cell> filler(cube, cells);
  const int dim = sym->dim;
  for (int i = 0; i < dim; ++i) TVB_RETURN_IF_FAILED(checkDomainSet(sym, domains[i], i, &extents[i]));

  PositionMaps maps(sym->db->labels.count());
  const int* positions[GLOBAL_MAX_INDEX_DIM];
  for (int i = 0; i < dim; ++i) positions[i] = maps.of(domains[i]);

  *dropped = 0;
  const RecordStore& records = *sym->aliasOf->records;
  if constexpr (std::is_same_v<Cell, int32_t>) {
    int32_t placed = 0;  // a set's cells count its records
    *dropped = placeOverDomains(records, dim, positions, extents, filler, [&](const double*) { return ++placed; });
  } else {
    const SpecialValues special = sym->db->specialValues;  // a copy: the cube's stores cannot change it
    const int slot = valueSlot(sym, field);
    *dropped = placeOverDomains(records, dim, positions, extents, filler,
                                [&](const double* values) { return special.toCaller(values[slot]); });
  }
  return Status();
}

Status denseSymbolToDenseArray(void* cube, const int* extents, tvbSymbol* sym, int field) {
  TVB_RETURN_IF_FAILED(ensureRecords(sym));
  int64_t cells;
  TVB_RETURN_IF_FAILED(countCells(sym, extents, &cells));
  if (cells == 0) return Status::error(msg::kZeroSizedCube);
  const RecordStore& records = *sym->aliasOf->records;
  if (cells != records.size())
    return Status::error(msg::kCubeSizeMismatch, static_cast<long>(cells), static_cast<long>(records.size()),
                         sym->name.c_str());
  TVB_RETURN_IF_FAILED(checkField(sym, field));

  // The k-th record goes to cell k: the row-major cube exactly when the records are the full product.
  int64_t k = 0;
  if (holdsInts(sym)) {
    int32_t* out = static_cast<int32_t*>(cube);
    forEachValues(records, [&](const double*) {
      out[k] = static_cast<int32_t>(k + 1);
      ++k;
    });
  } else {
    double* out = static_cast<double*>(cube);
    const SpecialValues& special = sym->db->specialValues;
    const int slot = valueSlot(sym, field);
    forEachValues(records, [&](const double* values) { out[k++] = special.toCaller(values[slot]); });
  }
  return Status();
}

Status sparseSymbolToDenseArray(void* cube, const int* extents, tvbSymbol* sym, tvbSymbol** domains, int field,
                                int* dropped) {
  TVB_RETURN_IF_FAILED(ensureRecords(sym));
  int64_t cells;
  TVB_RETURN_IF_FAILED(countCells(sym, extents, &cells));
  if (cells == 0) return Status::error(msg::kZeroSizedCube);
  TVB_RETURN_IF_FAILED(checkField(sym, field));
  return holdsInts(sym) ? readOverDomains<int32_t>(cube, cells, extents, sym, domains, field, dropped)
                        : readOverDomains<double>(cube, cells, extents, sym, domains, field, dropped);
}

}  // namespace
}  // namespace tvb::arrays

int tvbDenseSymbolToDenseArray(tvbHandle* ptvb, void* cube, const int* extents, tvbSymbol* sym, int field) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(cube, "tvbDenseSymbolToDenseArray", "cube"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(extents, "tvbDenseSymbolToDenseArray", "extents"))) return 0;
  if (tvb::failed(ptvb, tvb::arrays::checkSymbol(tvb::coreOf(ptvb), sym))) return 0;
  return tvb::guarded(ptvb, "tvbDenseSymbolToDenseArray",
                      [&] { return tvb::arrays::denseSymbolToDenseArray(cube, extents, sym, field); });
}

int tvbSparseSymbolToDenseArray(tvbHandle* ptvb, void* cube, const int* extents, tvbSymbol* sym, tvbSymbol** domains,
                                int field, int* dropped) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(cube, "tvbSparseSymbolToDenseArray", "cube"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(extents, "tvbSparseSymbolToDenseArray", "extents"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(domains, "tvbSparseSymbolToDenseArray", "domains"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(dropped, "tvbSparseSymbolToDenseArray", "dropped"))) return 0;
  *dropped = -1;
  if (tvb::failed(ptvb, tvb::arrays::checkSymbol(tvb::coreOf(ptvb), sym))) return 0;
  return tvb::guarded(ptvb, "tvbSparseSymbolToDenseArray", [&] {
    return tvb::arrays::sparseSymbolToDenseArray(cube, extents, sym, domains, field, dropped);
  });
}
