// How a TVF file stores a symbol's subtype: an equation's type plus 53, every other subtype unchanged (an
// alias's subtype is the file's number of its set). The reader and the writer translate through here.
#pragma once

#include "tvbcclib.h"

namespace tvb::exchange {

inline constexpr int kEquationSubtypeOffset = 53;

inline int toFileSubtype(int type, int userInfo) {
  return type == TRV_DT_EQU ? userInfo + kEquationSubtypeOffset : userInfo;
}

inline int fromFileSubtype(int type, int subtype) {
  return type == TRV_DT_EQU ? subtype - kEquationSubtypeOffset : subtype;
}

}  // namespace tvb::exchange
