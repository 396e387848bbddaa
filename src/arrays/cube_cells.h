// What goes into one cell of a caller's cube when a symbol is read: for a set an int (a number the reader
// chooses), for any other symbol a double (one value field, translated to the caller's special values).
#pragma once

#include <cstdint>

#include "core/database_core.h"

namespace tvb::arrays {

// The value slot read from a record: the given field of a variable or equation, the only value otherwise.
inline int valueSlot(const tvbSymbol* sym, int field) {
  const int type = sym->aliasOf->type;
  return type == TRV_DT_VAR || type == TRV_DT_EQU ? field : 0;
}

inline bool holdsInts(const tvbSymbol* sym) { return sym->aliasOf->type == TRV_DT_SET; }

// Row-major index arithmetic: strides[i] is the product of the extents after dimension i.
inline void rowMajorStrides(const int* extents, int dim, int64_t* strides) {
  int64_t stride = 1;
  for (int i = dim - 1; i >= 0; --i) {
    strides[i] = stride;
    stride *= extents[i];
  }
}

}  // namespace tvb::arrays
