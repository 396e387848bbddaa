#include "model/model_source.h"

#include <limits>

#include "loaders/tvpmcc.h"
#include "model/dictionary_search.h"
#include "model/messages.h"
#include "model/model_entry.h"

namespace tvb::model {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The dictionary type that a database symbol of this type stands for; 0 for none.
int dictionaryTypeOf(int type) {
  return type == TRV_DT_VAR ? kDictionaryVariable : type == TRV_DT_EQU ? kDictionaryEquation : 0;
}

const char* dictionaryTypeName(int type) {
  return type == kDictionaryVariable ? "a variable" : type == kDictionaryEquation ? "an equation" : "neither";
}

// An equation's bounds follow from its right-hand side r by the type code of its row.
void equationBounds(int typeCode, double r, double* lower, double* upper) {
  switch (typeCode) {
    case 0:
    case 4:
    case 6:
      *lower = *upper = r;
      return;
    case 1:
      *lower = r;
      *upper = kInfinity;
      return;
    case 2:
    case 5:
      *lower = -kInfinity;
      *upper = r;
      return;
    default:
      *lower = -kInfinity;
      *upper = kInfinity;
  }
}

}  // namespace

Status ModelSource::read(const tvbSymbol& sym, RecordSink& sink) {
  const char* name = sym.name.c_str();
  const dctHandle_t dct = link_.dictionary();
  const tvpHandle_t tvp = link_.model();
  const ModelSymbol symbol = dct ? findModelSymbol(dct, name) : ModelSymbol{};
  if (!symbol.found()) return Status::error(msg::kNoModelEntry, name);
  if (symbol.type != dictionaryTypeOf(sym.type) || symbol.dim != sym.dim)
    return Status::error(msg::kEntryMismatch, name, typeName(sym.type), sym.dim, dictionaryTypeName(symbol.type),
                         symbol.dim);

  DictionarySearch search(dct, symbol.number);
  // One type code serves every row of an equation: that of its first row.
  const int equationType =
      !symbol.isVariable() && search.current() >= 0 ? tvp::ops.tvpGetEquTypeOne(tvp, search.current()) : -1;
  const int labelCount = labels_.count();
  int key[GLOBAL_MAX_INDEX_DIM] = {};
  double values[5];
  int basisStatus = 0, condition = 0;
  for (; search.current() >= 0; search.next()) {
    const int j = search.current();
    const int dim = entryKey(dct, symbol, j, key);
    for (int i = 0; i < dim; ++i)
      if (key[i] < 1 || key[i] > labelCount) return Status::error(msg::kLabelOutside, key[i], name, labelCount);
    if (symbol.isVariable()) {
      tvp::ops.tvpGetSolutionVarRec(tvp, j, &values[TRV_FIELD_LEVEL], &values[TRV_FIELD_MARGINAL], &basisStatus,
                                    &condition);
      values[TRV_FIELD_SCALE] = tvp::ops.tvpGetVarScaleOne(tvp, j);
      values[TRV_FIELD_LOWER] = tvp::ops.tvpGetVarLowerOne(tvp, j);
      values[TRV_FIELD_UPPER] = tvp::ops.tvpGetVarUpperOne(tvp, j);
    } else {
      tvp::ops.tvpGetSolutionEquRec(tvp, j, &values[TRV_FIELD_LEVEL], &values[TRV_FIELD_MARGINAL], &basisStatus,
                                    &condition);
      values[TRV_FIELD_SCALE] = tvp::ops.tvpGetEquScaleOne(tvp, j);
      equationBounds(equationType, tvp::ops.tvpGetRhsOne(tvp, j), &values[TRV_FIELD_LOWER], &values[TRV_FIELD_UPPER]);
    }
    sink.put(key, values);
  }
  return Status();
}

}  // namespace tvb::model
