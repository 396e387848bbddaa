// What the dictionary says about one model symbol, and the key of one of its entries.
#pragma once

#include "loaders/dctmcc.h"
#include "tvbcclib.h"

namespace tvb::model {

// Dictionary symbol types.
inline constexpr int kDictionaryVariable = 5;
inline constexpr int kDictionaryEquation = 6;

struct ModelSymbol {
  int number = 0;  // in the dictionary, from 1; 0 or less when the dictionary has no symbol of the name
  int type = 0;    // kDictionaryVariable or kDictionaryEquation
  int dim = 0;

  bool found() const { return number > 0; }
  bool isVariable() const { return type == kDictionaryVariable; }
};

// The dictionary's symbol of this name (any letter case).
ModelSymbol findModelSymbol(dctHandle_t dct, const char* name);

// The key of entry j (a column of a variable, a row of an equation) as label numbers; returns their count.
inline int entryKey(dctHandle_t dct, const ModelSymbol& symbol, int j, int* key) {
  int symNr = 0, dim = 0;
  if (symbol.isVariable())
    dct::ops.dctColUels(dct, j, &symNr, key, &dim);
  else
    dct::ops.dctRowUels(dct, j, &symNr, key, &dim);
  return dim;
}

}  // namespace tvb::model
