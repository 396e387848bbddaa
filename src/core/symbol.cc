#include "core/symbol.h"

#include <limits>

#include "core/database_core.h"
#include "core/messages.h"

bool tvbSymbol::isUniverse() const { return db->symbols.universe() == this; }

int64_t tvbSymbol::recordCount() const {
  if (isUniverse()) return db->labels.count();
  const tvbSymbol* set = aliasOf;
  return set->records ? set->records->size() : 0;
}

namespace tvb {

Status checkSubtype(int type, int userInfo, const char* name) {
  if (type == TRV_DT_VAR && (userInfo < 0 || userInfo > TRV_VAR_SEMIINT))
    return Status::error(msg::kBadVariableType, userInfo, name);
  if (type == TRV_DT_EQU && (userInfo < 0 || userInfo > TRV_EQU_5))
    return Status::error(msg::kBadEquationType, userInfo, name);
  return Status();
}

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// level, marginal, lower, upper, scale by variable type
constexpr double kVariableDefaults[10][5] = {
    {0, 0, 0, 0, 1},       // unknown
    {0, 0, 0, 1, 1},       // binary
    {0, 0, 0, 100, 1},     // integer
    {0, 0, 0, kInf, 1},    // positive
    {0, 0, -kInf, 0, 1},   // negative
    {0, 0, -kInf, kInf, 1},  // free
    {0, 0, 0, kInf, 1},    // sos1
    {0, 0, 0, kInf, 1},    // sos2
    {0, 0, 1, kInf, 1},    // semicont
    {0, 0, 1, 100, 1},     // semiint
};

// by equation type
constexpr double kEquationDefaults[6][5] = {
    {0, 0, 0, 0, 1},          // equality
    {0, 0, 0, kInf, 1},       // greater than or equal
    {0, 0, -kInf, 0, 1},      // less than or equal
    {0, 0, -kInf, kInf, 1},   // non-binding
    {0, 0, 0, 0, 1},
    {0, 0, 0, kInf, 1},
};

}  // namespace

const char* typeName(int type) {
  static const char* const kNames[] = {"Set", "Parameter", "Variable", "Equation", "Alias"};
  return type >= 0 && type <= 4 ? kNames[type] : "Unknown type";
}

void defaultValues(const tvbSymbol& sym, double* values) {
  // A subtype changed later to one outside the tables gets the defaults of type 0.
  const double* row = nullptr;
  if (sym.type == TRV_DT_VAR) row = kVariableDefaults[sym.userInfo >= 0 && sym.userInfo < 10 ? sym.userInfo : 0];
  if (sym.type == TRV_DT_EQU) row = kEquationDefaults[sym.userInfo >= 0 && sym.userInfo < 6 ? sym.userInfo : 0];
  if (row) {
    for (int i = 0; i < 5; ++i) values[i] = row[i];
  } else {
    values[0] = 0;
  }
}

}  // namespace tvb
