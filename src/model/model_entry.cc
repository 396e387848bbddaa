#include "model/model_entry.h"

namespace tvb::model {

ModelSymbol findModelSymbol(dctHandle_t dct, const char* name) {
  ModelSymbol symbol;
  symbol.number = dct::ops.dctSymIndex(dct, name);
  if (!symbol.found()) return symbol;
  symbol.type = dct::ops.dctSymType(dct, symbol.number);
  symbol.dim = dct::ops.dctSymDim(dct, symbol.number);
  return symbol;
}

}  // namespace tvb::model
