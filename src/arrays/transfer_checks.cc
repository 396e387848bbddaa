#include "arrays/transfer_checks.h"

#include "arrays/messages.h"
#include "core/database.h"
#include "core/frame.h"

namespace tvb::arrays {

bool checkSymbol(tvbHandle* ptvb, const tvbSymbol* sym) {
  if (!sym) return setError(ptvb, msg::kEmptySymbol), false;
  if (sym->aliasOf->isUniverse()) return setError(ptvb, msg::kMapUniverse), false;
  if (sym->dim == 0) return setError(ptvb, msg::kMapScalar), false;
  return true;
}

bool ensureRecords(tvbHandle* ptvb, tvbSymbol* sym) {
  tvbSymbol* set = sym->aliasOf;
  if (ensureLoaded(set->db, set)) return true;
  if (set->db != ptvb) setError(ptvb, "%s", set->db->lastError);
  return false;
}

bool checkField(tvbHandle* ptvb, const tvbSymbol* sym, int field) {
  const int type = sym->aliasOf->type;
  if ((type == TRV_DT_VAR || type == TRV_DT_EQU) && (field < 0 || field > TRV_FIELD_SCALE))
    return setError(ptvb, msg::kFieldOutOfBounds, field, TRV_FIELD_SCALE), false;
  return true;
}

bool countCells(tvbHandle* ptvb, const tvbSymbol* sym, const int* extents, int64_t* cells) {
  *cells = 0;
  for (int i = 0; i < sym->dim; ++i)
    if (extents[i] == 0) return true;
  for (int i = 0; i < sym->dim; ++i)
    if (extents[i] < 0) return setError(ptvb, msg::kNegativeExtent, i + 1, extents[i]), false;
  int64_t product = 1;
  for (int i = 0; i < sym->dim; ++i)
    if (__builtin_mul_overflow(product, static_cast<int64_t>(extents[i]), &product))
      return setError(ptvb, msg::kCubeTooLarge, sym->name.c_str()), false;
  *cells = product;
  return true;
}

int64_t cardinality(const tvbSymbol* s) { return s->aliasOf->recordCount(); }

bool checkDomainSet(tvbHandle* ptvb, const tvbSymbol* sym, tvbSymbol* s, int i, const int* extent) {
  if (!s) return setError(ptvb, msg::kNoDomainSymbol, i + 1, sym->name.c_str()), false;
  if (s->aliasOf->isUniverse()) return setError(ptvb, msg::kUniverseAsDomain, sym->name.c_str()), false;
  if (s->db != sym->db) return setError(ptvb, msg::kDomainInOtherDatabase, sym->name.c_str(), s->name.c_str()), false;
  if (s->dim != 1) return setError(ptvb, msg::kDomainDimension, s->name.c_str(), s->dim), false;
  if (!ensureRecords(ptvb, s)) return false;
  if (extent && *extent != cardinality(s))
    return setError(ptvb, msg::kExtentNotCard, i + 1, *extent, s->name.c_str(), static_cast<long>(cardinality(s))),
           false;
  return true;
}

}  // namespace tvb::arrays
