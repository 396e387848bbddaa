// Questions about the database and its symbols, and the special values.
#include <cstring>

#include "api/operations.h"
#include "core/database.h"
#include "core/frame.h"
#include "core/messages.h"

using namespace tvb;

int tvbInfo(tvbHandle* ptvb, int infoKey, int* ival, double*, char*) {
  TVB_ASSERT(ptvb != NULL);
  switch (infoKey) {
    case TRV_INFO_SYMBOL_COUNT:
      *ival = static_cast<int>(ptvb->symbolIndex.size());
      return 1;
    case TRV_INFO_UEL_COUNT:
      *ival = ptvb->labels.count();
      return 1;
    default:
      return setError(ptvb, msg::kInfoKey, 0, 1, infoKey), 0;
  }
}

int tvbSymbolInfo(tvbHandle* ptvb, tvbSymbol* sym, int infoKey, int* ival, double*, char* sval) {
  TVB_ASSERT(ptvb != NULL);
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  return guarded(ptvb, "tvbSymbolInfo", [&] {
    auto copyText = [&](const std::string& text) { std::memcpy(sval, text.c_str(), text.size() + 1); };
    switch (infoKey) {
      case TRV_SYMINFO_NAME: copyText(sym->name); return 1;
      case TRV_SYMINFO_DIM: *ival = sym->dim; return 1;
      case TRV_SYMINFO_TYPE: *ival = sym->type; return 1;
      case TRV_SYMINFO_RECORD_COUNT:
        if (!sym->isUniverse() && !ensureLoaded(ptvb, sym)) return 0;
        *ival = static_cast<int>(sym->recordCount());
        return 1;
      case TRV_SYMINFO_USERINFO: *ival = sym->userInfo; return 1;
      case TRV_SYMINFO_TEXT: copyText(sym->text); return 1;
      case TRV_SYMINFO_NUMBER: *ival = sym->number; return 1;
      case TRV_SYMINFO_WRITTEN: *ival = sym->written ? 1 : 0; return 1;
      default: return setError(ptvb, msg::kSymbolInfoKey, infoKey), 0;
    }
  });
}

int tvbSymbolDim(tvbHandle* ptvb, tvbSymbol* sym, int* dim) {
  TVB_ASSERT(ptvb != NULL);
  *dim = -1;
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  *dim = sym->dim;
  return 1;
}

int tvbSymbolType(tvbHandle* ptvb, tvbSymbol* sym, int* type) {
  TVB_ASSERT(ptvb != NULL);
  *type = -1;
  if (!sym) return setError(ptvb, msg::kNoSymbol), 0;
  *type = sym->type;
  return 1;
}

int tvbGetSpecialValues(tvbHandle*, double* values) {
  std::memcpy(values, kInternalSpecialValues, sizeof kInternalSpecialValues);
  return 1;
}

int tvbSetSpecialValues(tvbHandle* ptvb, const double* values) { return tvbSetSpecialValuesX(ptvb, values, nullptr); }

int tvbSetSpecialValuesX(tvbHandle* ptvb, const double* values, int* mode) {
  TVB_ASSERT(ptvb != NULL);
  ptvb->specialValues.set(values);
  if (mode) *mode = ptvb->specialValues.mode;
  return 1;
}
