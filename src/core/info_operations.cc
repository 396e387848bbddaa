// Questions about the database and its symbols, and the special values.
#include <cstring>
#include <string>

#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/messages.h"

namespace tvb {
namespace {

Status symbolInfo(tvbSymbol* sym, int infoKey, int* ival, char* sval) {
  const bool textKey = infoKey == TRV_SYMINFO_NAME || infoKey == TRV_SYMINFO_TEXT;
  if (infoKey >= TRV_SYMINFO_NAME && infoKey <= TRV_SYMINFO_WRITTEN)
    TVB_RETURN_IF_FAILED(textKey ? checkGiven(sval, "tvbSymbolInfo", "sval")
                                 : checkGiven(ival, "tvbSymbolInfo", "ival"));
  auto copyText = [&](const std::string& text) { std::memcpy(sval, text.c_str(), text.size() + 1); };
  switch (infoKey) {
    case TRV_SYMINFO_NAME: copyText(sym->name); return Status();
    case TRV_SYMINFO_DIM: *ival = sym->dim; return Status();
    case TRV_SYMINFO_TYPE: *ival = sym->type; return Status();
    case TRV_SYMINFO_RECORD_COUNT:
      if (!sym->isUniverse()) TVB_RETURN_IF_FAILED(ensureLoaded(sym));
      *ival = static_cast<int>(sym->recordCount());
      return Status();
    case TRV_SYMINFO_USERINFO: *ival = sym->userInfo; return Status();
    case TRV_SYMINFO_TEXT: copyText(sym->text); return Status();
    case TRV_SYMINFO_NUMBER: *ival = sym->number; return Status();
    case TRV_SYMINFO_WRITTEN: *ival = sym->written ? 1 : 0; return Status();
    default: return Status::error(msg::kSymbolInfoKey, infoKey);
  }
}

}  // namespace
}  // namespace tvb

int tvbInfo(tvbHandle* ptvb, int infoKey, int* ival, double*, char*) {
  TVB_ASSERT(ptvb != NULL);
  if (!ival) return tvb::finish(ptvb, tvb::nullArgument("tvbInfo", "ival"));
  switch (infoKey) {
    case TRV_INFO_SYMBOL_COUNT:
      *ival = tvb::coreOf(ptvb).symbols.indexedCount();
      return 1;
    case TRV_INFO_UEL_COUNT:
      *ival = tvb::coreOf(ptvb).labels.count();
      return 1;
    default:
      return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kInfoKey, 0, 1, infoKey));
  }
}

int tvbSymbolInfo(tvbHandle* ptvb, tvbSymbol* sym, int infoKey, int* ival, double*, char* sval) {
  TVB_ASSERT(ptvb != NULL);
  if (!sym) return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kNoSymbol));
  if (tvb::failed(ptvb, tvb::checkSymbolOf(tvb::coreOf(ptvb), sym))) return 0;
  return tvb::guarded(ptvb, "tvbSymbolInfo", [&] { return tvb::symbolInfo(sym, infoKey, ival, sval); });
}

int tvbSymbolDim(tvbHandle* ptvb, tvbSymbol* sym, int* dim) {
  TVB_ASSERT(ptvb != NULL);
  if (!dim) return tvb::finish(ptvb, tvb::nullArgument("tvbSymbolDim", "dim"));
  *dim = -1;
  if (!sym) return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kNoSymbol));
  if (tvb::failed(ptvb, tvb::checkSymbolOf(tvb::coreOf(ptvb), sym))) return 0;
  *dim = sym->dim;
  return 1;
}

int tvbSymbolType(tvbHandle* ptvb, tvbSymbol* sym, int* type) {
  TVB_ASSERT(ptvb != NULL);
  if (!type) return tvb::finish(ptvb, tvb::nullArgument("tvbSymbolType", "type"));
  *type = -1;
  if (!sym) return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kNoSymbol));
  if (tvb::failed(ptvb, tvb::checkSymbolOf(tvb::coreOf(ptvb), sym))) return 0;
  *type = sym->type;
  return 1;
}

int tvbGetSpecialValues(tvbHandle* ptvb, double* values) {
  // The handle is not needed here; it is where a missing buffer is reported, when there is one.
  if (!values) return ptvb ? tvb::finish(ptvb, tvb::nullArgument("tvbGetSpecialValues", "values")) : 0;
  std::memcpy(values, tvb::kInternalSpecialValues, sizeof tvb::kInternalSpecialValues);
  return 1;
}

int tvbSetSpecialValues(tvbHandle* ptvb, const double* values) {
  TVB_ASSERT(ptvb != NULL);
  if (!values) return tvb::finish(ptvb, tvb::nullArgument("tvbSetSpecialValues", "values"));
  return tvbSetSpecialValuesX(ptvb, values, nullptr);
}

int tvbSetSpecialValuesX(tvbHandle* ptvb, const double* values, int* mode) {
  TVB_ASSERT(ptvb != NULL);
  if (!values) return tvb::finish(ptvb, tvb::nullArgument("tvbSetSpecialValuesX", "values"));
  tvb::SpecialValues& specialValues = tvb::coreOf(ptvb).specialValues;
  specialValues.set(values);
  if (mode) *mode = specialValues.mode();
  return 1;
}
