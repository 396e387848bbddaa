// Attach and detach of libtvbcclib.so: the loaders' locks exist while the library is attached to a process,
// created in the order tvp, tvh, dct, tvf, cfg and destroyed in the same order. The loaders are constant-
// initialised, so they are ready before any constructor of the shared object runs.
#include "loaders/cfgmcc.h"
#include "loaders/dctmcc.h"
#include "loaders/tvfcc.h"
#include "loaders/tvhmcc.h"
#include "loaders/tvpmcc.h"

namespace tvb::loaders {
namespace {

// A function rather than a table of pointers: a table would need dynamic initialisation, which is not ordered
// with respect to the constructor below.
template <class F>
void ForEachLibrary(F f) {
  for (LibraryLoader* library : {&tvp::Loader(), &tvh::Loader(), &dct::Loader(), &tvf::Loader(), &cfg::Loader()}) {
    f(*library);
  }
}

[[gnu::constructor]] void AttachLoaders() {
  ForEachLibrary([](LibraryLoader& library) { library.CreateLocks(); });
}

[[gnu::destructor]] void DetachLoaders() {
  ForEachLibrary([](LibraryLoader& library) { library.DestroyLocks(); });
}

}  // namespace
}  // namespace tvb::loaders
