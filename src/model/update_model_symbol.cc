// tvbUpdateModelSymbol: writes the values of a data parameter into the model entries of a model symbol (a
// variable, an equation, or a parameter through its parameter variable), entry by entry in dictionary order,
// by one of six actions (update_action.h). Data records are matched by label numbers, as tvbInitFromDict
// numbers the labels. The database's own records of the model symbol are not changed.
#include <cmath>
#include <string>

#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/special_values.h"
#include "model/dictionary_search.h"
#include "model/messages.h"
#include "model/model_entry.h"
#include "model/parameter_variable.h"
#include "model/update_action.h"

namespace tvb::model {
namespace {

// What the model entries of a key without data receive.
enum UpdateType { kZero = 0, kKeep = 2 };  // any other value: the action's default

// Values at and above this are undefined or not available, no numbers to put into a model.
constexpr double kLargestNumber = 1.0e300;

Status checkSymbols(const tvbSymbol* modelSym, const tvbSymbol* dataSym) {
  if (!modelSym) return Status::error(msg::kNoModelSymbol);
  if (!dataSym) return Status::error(msg::kNoDataSymbol, modelSym->name.c_str());
  if (modelSym->type != TRV_DT_PAR && modelSym->type != TRV_DT_VAR && modelSym->type != TRV_DT_EQU)
    return Status::error(msg::kModelSymbolType, modelSym->name.c_str());
  if (dataSym->type != TRV_DT_PAR) return Status::error(msg::kDataSymbolType, dataSym->name.c_str());
  return Status();
}

// Bounds are moved on variables, levels and marginals set on variables and equations; a parameter's variable
// follows its values only.
Status checkAction(const tvbSymbol* modelSym, int action) {
  const char* name = modelSym->name.c_str();
  if (modelSym->type == TRV_DT_EQU && action >= 0 && action <= 3)
    return Status::error(msg::kBoundsOfEquation, action, name);
  if (modelSym->type == TRV_DT_PAR && (action == 4 || action == 5))
    return Status::error(msg::kLevelOfParameter, action, name);
  return Status();
}

// The value of a data record as the model takes it: epsilon is 0, the infinities stay.
Status modelValue(double x, double* v) {
  if (x == kInternalSpecialValues[4]) {
    *v = 0;
  } else if (std::isinf(x) || x < kLargestNumber) {
    *v = x;
  } else {
    return Status::error(msg::kBadValue, x);  // NaN (not available), undefined, 1e300 and above
  }
  return Status();
}

Status update(const ModelLink& link, tvbSymbol* modelSym, int action, const tvbSymbol* dataSym, int updateType,
              int* noMatchCount) {
  const std::string modelName = modelSym->type == TRV_DT_PAR ? parameterVariableName(modelSym->name) : modelSym->name;
  const ModelSymbol symbol = findModelSymbol(link.dictionary(), modelName.c_str());
  if (!symbol.found()) return Status::error(msg::kSymbolNotInModel, modelName.c_str());
  if (symbol.dim > GLOBAL_MAX_INDEX_DIM)
    return Status::error(msg::kTooManyDimensions, modelName.c_str(), symbol.dim, GLOBAL_MAX_INDEX_DIM);
  if (!symbol.isVariable() && action >= 0 && action <= 3)
    return Status::error(msg::kBoundsOfEquation, action, modelName.c_str());

  const RecordStore& data = *dataSym->records;
  int64_t matched = 0;
  int key[GLOBAL_MAX_INDEX_DIM] = {};
  for (DictionarySearch search(link.dictionary(), symbol.number); search.current() >= 0; search.next()) {
    const int j = search.current();
    UpdateValue v;
    const int dim = entryKey(link.dictionary(), symbol, j, key);
    const auto record = dim == data.dim() ? data.find(key) : RecordStore::end();
    if (!record.isEnd()) {
      ++matched;
      TVB_RETURN_IF_FAILED(modelValue(data.values(record)[0], &v.value));
      v.given = true;
    } else if (updateType == kZero) {
      v.given = true;
    } else if (updateType == kKeep) {
      continue;
    }
    if (static_cast<unsigned>(action) > 5) return Status::error(msg::kInvalidAction, action);
    TVB_RETURN_IF_FAILED(applyAction(link, symbol, modelName.c_str(), action, j, v));
  }
  if (noMatchCount) *noMatchCount = static_cast<int>(dataSym->recordCount() - matched);
  return Status();
}

Status updateModelSymbol(ModelLink& link, tvbSymbol* modelSym, int action, const tvbSymbol* dataSym, int updateType,
                         int* noMatchCount) {
  TVB_RETURN_IF_FAILED(checkSymbols(modelSym, dataSym));
  if (!link.prepared()) return Status::error(msg::kNotPrepared);
  TVB_RETURN_IF_FAILED(checkAction(modelSym, action));
  if (modelSym->type != TRV_DT_EQU) link.requestAltBounds();
  return update(link, modelSym, action, dataSym, updateType, noMatchCount);
}

}  // namespace
}  // namespace tvb::model

int tvbUpdateModelSymbol(tvbHandle* ptvb, tvbSymbol* modelSym, int actionType, tvbSymbol* dataSym, int updateType,
                         int* count) {
  TVB_ASSERT(ptvb != NULL);
  // The data symbol may be of any database: its keys are compared with the model's as label numbers.
  if (tvb::failed(ptvb, tvb::checkSymbolOf(tvb::coreOf(ptvb), modelSym))) return 0;
  return tvb::guarded(ptvb, "tvbUpdateModelSymbol", [&] {
    return tvb::model::updateModelSymbol(tvb::model::modelLinkOf(ptvb), modelSym, actionType, dataSym, updateType,
                                         count);
  });
}
