// Reading a symbol into a squeezed cube: along dimension i the cube has only the positions of the squeeze set S_i
// (in its store order), while records are placed by their labels' positions in the domain set D_i. A record
// whose label lies outside D_i, or at a D_i position that S_i lacks, is dropped and counted.
#include <cstdint>
#include <memory>
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

// For each position of domain (0-based), the 1-based number of its label in squeeze, or 0 when squeeze lacks it.
std::unique_ptr<int[]> squeezeNumbers(const tvbSymbol* squeeze, const int* domainPositions, int64_t domainCard) {
  auto numbers = std::make_unique<int[]>(static_cast<size_t>(domainCard) + 1);
  int number = 0;
  forEachRecord(*squeeze->aliasOf->records, [&](const int* key, const double*) {
    ++number;
    const int position = domainPositions[key[0]];
    if (position > 0) numbers[position - 1] = number;
  });
  return numbers;
}

// The rest of a squeezed read, from the point where the cube counts as cleared.
template <class Cell>
Status readSqueezed(void* cube, int64_t cells, const int* extents, tvbSymbol* sym, tvbSymbol** squeeze,
                    tvbSymbol** domains, int field, int* dropped) {
  CubeFiller<Cell> filler(cube, cells);
  const int dim = sym->dim;
  for (int i = 0; i < dim; ++i) {
    TVB_RETURN_IF_FAILED(checkDomainSet(sym, domains[i], i, nullptr));
    TVB_RETURN_IF_FAILED(checkDomainSet(sym, squeeze[i], i, &extents[i]));
  }

  PositionMaps maps(sym->db->labels.count());
  const int* positions[GLOBAL_MAX_INDEX_DIM];
  std::unique_ptr<int[]> numbers[GLOBAL_MAX_INDEX_DIM];
  int64_t cards[GLOBAL_MAX_INDEX_DIM];
  for (int i = 0; i < dim; ++i) {
    positions[i] = maps.of(domains[i]);
    cards[i] = cardinality(domains[i]);
    numbers[i] = squeezeNumbers(squeeze[i], positions[i], cards[i]);
  }

  *dropped = 0;
  const SpecialValues& special = sym->db->specialValues;
  const int slot = valueSlot(sym, field);
  int skipped = 0;
  forEachRecord(*sym->aliasOf->records, [&](const int* key, const double* values) {
    int64_t cell = 0;
    uint64_t fullCell = 0;  // index in the unsqueezed cube over the D_i (set cells only; wraps for huge domains)
    for (int i = 0; i < dim; ++i) {
      const int position = positions[i][key[i]];
      const int number = position ? numbers[i][position - 1] : 0;
      if (number == 0) {
        ++skipped;
        return;
      }
      cell = cell * extents[i] + (number - 1);
      fullCell = fullCell * static_cast<uint64_t>(cards[i]) + static_cast<uint64_t>(position - 1);
    }
    if constexpr (std::is_same_v<Cell, int32_t>)
      filler.put(cell, static_cast<int32_t>(fullCell + 1));
    else
      filler.put(cell, special.toCaller(values[slot]));
  });
  *dropped = skipped;
  return Status();
}

Status sparseSymbolToSqzdArray(void* cube, const int* extents, tvbSymbol* sym, tvbSymbol** squeeze, tvbSymbol** domains,
                               int field, int* dropped) {
  TVB_RETURN_IF_FAILED(ensureRecords(sym));
  int64_t cells;
  TVB_RETURN_IF_FAILED(countCells(sym, extents, &cells));
  if (cells == 0) return Status::error(msg::kZeroSizedCube);
  TVB_RETURN_IF_FAILED(checkField(sym, field));
  return holdsInts(sym) ? readSqueezed<int32_t>(cube, cells, extents, sym, squeeze, domains, field, dropped)
                        : readSqueezed<double>(cube, cells, extents, sym, squeeze, domains, field, dropped);
}

}  // namespace
}  // namespace tvb::arrays

int tvbSparseSymbolToSqzdArray(tvbHandle* ptvb, void* cube, const int* extents, tvbSymbol* sym, tvbSymbol** squeeze,
                               tvbSymbol** domains, int field, int* dropped) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(cube, "tvbSparseSymbolToSqzdArray", "cube"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(extents, "tvbSparseSymbolToSqzdArray", "extents"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(squeeze, "tvbSparseSymbolToSqzdArray", "squeeze"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(domains, "tvbSparseSymbolToSqzdArray", "domains"))) return 0;
  if (tvb::failed(ptvb, tvb::checkGiven(dropped, "tvbSparseSymbolToSqzdArray", "dropped"))) return 0;
  *dropped = -1;
  if (tvb::failed(ptvb, tvb::arrays::checkSymbol(tvb::coreOf(ptvb), sym))) return 0;
  return tvb::guarded(ptvb, "tvbSparseSymbolToSqzdArray", [&] {
    return tvb::arrays::sparseSymbolToSqzdArray(cube, extents, sym, squeeze, domains, field, dropped);
  });
}
