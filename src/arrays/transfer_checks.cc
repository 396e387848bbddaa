#include "arrays/transfer_checks.h"

#include "arrays/messages.h"
#include "core/argument_checks.h"
#include "core/database_core.h"

namespace tvb::arrays {

Status checkSymbol(const DatabaseCore& db, const tvbSymbol* sym) {
  if (!sym) return Status::error(msg::kEmptySymbol);
  TVB_RETURN_IF_FAILED(checkSymbolOf(db, sym));
  if (sym->aliasOf->isUniverse()) return Status::error(msg::kMapUniverse);
  if (sym->dim == 0) return Status::error(msg::kMapScalar);
  return Status();
}

Status ensureRecords(tvbSymbol* sym) {
  tvbSymbol* set = sym->aliasOf;
  return ensureLoaded(set);
}

Status checkField(const tvbSymbol* sym, int field) {
  const int type = sym->aliasOf->type;
  if ((type == TRV_DT_VAR || type == TRV_DT_EQU) && (field < 0 || field > TRV_FIELD_SCALE))
    return Status::error(msg::kFieldOutOfBounds, field, TRV_FIELD_SCALE);
  return Status();
}

Status countCells(const tvbSymbol* sym, const int* extents, int64_t* cells) {
  *cells = 0;
  for (int i = 0; i < sym->dim; ++i)
    if (extents[i] == 0) return Status();
  for (int i = 0; i < sym->dim; ++i)
    if (extents[i] < 0) return Status::error(msg::kNegativeExtent, i + 1, extents[i]);
  int64_t product = 1;
  for (int i = 0; i < sym->dim; ++i)
    if (__builtin_mul_overflow(product, static_cast<int64_t>(extents[i]), &product))
      return Status::error(msg::kCubeTooLarge, sym->name.c_str());
  *cells = product;
  return Status();
}

int64_t cardinality(const tvbSymbol* s) { return s->aliasOf->recordCount(); }

Status checkDomainSet(const tvbSymbol* sym, tvbSymbol* s, int i, const int* extent) {
  if (!s) return Status::error(msg::kNoDomainSymbol, i + 1, sym->name.c_str());
  if (s->aliasOf->isUniverse()) return Status::error(msg::kUniverseAsDomain, sym->name.c_str());
  if (s->db != sym->db) return Status::error(msg::kDomainInOtherDatabase, sym->name.c_str(), s->name.c_str());
  if (s->dim != 1) return Status::error(msg::kDomainDimension, s->name.c_str(), s->dim);
  TVB_RETURN_IF_FAILED(ensureRecords(s));
  if (extent && *extent != cardinality(s))
    return Status::error(msg::kExtentNotCard, i + 1, *extent, s->name.c_str(), static_cast<long>(cardinality(s)));
  return Status();
}

}  // namespace tvb::arrays
