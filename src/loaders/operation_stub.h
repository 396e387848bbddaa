// The stub of an operation: a function with the operation's own parameters and result that, when called,
// reports the operation as missing (with the library's reason) and ends the process. One instance per
// operation, generated from the library's table; it never returns, so no result is made up.
#pragma once

#include "loaders/library_loader.h"
#include "loaders/operation_info.h"

namespace tvb::loaders {

template <class F>
struct StubFor;

template <class R, class... A>
struct StubFor<R (*)(A...)> {
  template <const LibraryLoader* library, const OperationInfo* operation>
  static R Call(A...) {
    library->ReportMissing(*operation);
  }
};

}  // namespace tvb::loaders
