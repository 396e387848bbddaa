// Reading and writing the values of the record under a handle.
#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/record_handle.h"

namespace {

// The level exists for parameters, variables and equations; the other fields for variables and equations.
#define TVB_ASSERT_LEVEL_TYPE(sym) \
  TVB_ASSERT((sym->type==TRV_DT_PAR) || (sym->type==TRV_DT_VAR) || (sym->type==TRV_DT_EQU))
#define TVB_ASSERT_FIELD_TYPE(sym) TVB_ASSERT((sym->type==TRV_DT_VAR) || (sym->type==TRV_DT_EQU))

int getField(tvbHandle* ptvb, tvbRecordHandle* symIterPtr, int field, double* value, const char* operation) {
  if (symIterPtr->symbol->db != &tvb::coreOf(ptvb) || !value) [[unlikely]]
    return tvb::finish(ptvb, value ? tvb::foreignRecord(symIterPtr) : tvb::nullArgument(operation, "value"));
  if (!tvb::resolve(symIterPtr)) return tvb::finish(ptvb, tvb::staleHandle(symIterPtr));
  *value = tvb::coreOf(ptvb).specialValues.toCaller(tvb::recordValues(symIterPtr)[field]);
  return 1;
}

int setField(tvbHandle* ptvb, tvbRecordHandle* symIterPtr, int field, double value) {
  if (symIterPtr->symbol->db != &tvb::coreOf(ptvb)) [[unlikely]]
    return tvb::finish(ptvb, tvb::foreignRecord(symIterPtr));
  if (!tvb::resolve(symIterPtr)) return tvb::finish(ptvb, tvb::staleHandle(symIterPtr));
  tvb::DatabaseCore& db = tvb::coreOf(ptvb);
  db.writeRecording.noteChange(symIterPtr->symbol);
  tvb::recordValues(symIterPtr)[field] = db.specialValues.toStore(value);
  return 1;
}

}  // namespace

#define TVB_VALUE_ACCESSORS(Field, index, TYPE_CHECK)                              \
  int tvbGet##Field(tvbHandle* ptvb, tvbRecordHandle* symIterPtr, double* value) { \
    TVB_ASSERT(ptvb != NULL);                                                      \
    TVB_ASSERT(symIterPtr != NULL);                                                \
    tvbSymbol* sym = symIterPtr->symbol;                                           \
    TYPE_CHECK(sym);                                                               \
    return getField(ptvb, symIterPtr, index, value, "tvbGet" #Field);              \
  }                                                                                \
  int tvbSet##Field(tvbHandle* ptvb, tvbRecordHandle* symIterPtr, double value) {  \
    TVB_ASSERT(ptvb != NULL);                                                      \
    TVB_ASSERT(symIterPtr != NULL);                                                \
    tvbSymbol* sym = symIterPtr->symbol;                                           \
    TYPE_CHECK(sym);                                                               \
    return setField(ptvb, symIterPtr, index, value);                               \
  }

TVB_VALUE_ACCESSORS(Level, TRV_FIELD_LEVEL, TVB_ASSERT_LEVEL_TYPE)
TVB_VALUE_ACCESSORS(Marginal, TRV_FIELD_MARGINAL, TVB_ASSERT_FIELD_TYPE)
TVB_VALUE_ACCESSORS(Lower, TRV_FIELD_LOWER, TVB_ASSERT_FIELD_TYPE)
TVB_VALUE_ACCESSORS(Upper, TRV_FIELD_UPPER, TVB_ASSERT_FIELD_TYPE)
TVB_VALUE_ACCESSORS(Scale, TRV_FIELD_SCALE, TVB_ASSERT_FIELD_TYPE)
