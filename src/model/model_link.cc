#include "model/model_link.h"

#include <cstring>
#include <new>

#include "loaders/cfgmcc.h"
#include "loaders/library_loader.h"
#include "model/messages.h"

namespace tvb::model {

void ModelLink::registerModel(tvpHandle_t model, dctHandle_t dictionary) {
  if (model != tvp_) {
    // A held solver was made ready with the old model and must not outlive it; the snapshot is the old one's.
    heldSolver_.release(cfg_);
    heldSolver_.forget();
    snapshot_.clear();
    tvh_ = nullptr;
    prepared_ = false;
  }
  tvp_ = model;
  dct_ = dictionary;
}

Status libraryFailure(const char* reason) {
  if (std::strncmp(reason, msg::kLibraryOutOfMemory, std::strlen(msg::kLibraryOutOfMemory)) == 0)
    throw std::bad_alloc();
  return Status::error("%s", reason);
}

Status ModelLink::makeConfiguration(const std::string& sysDir) {
  if (cfg_) return Status();  // a preparation that failed after making it is run again
  char reason[TRV_SSSIZE] = {};
  const bool made = sysDir.empty() ? cfg::cfgCreate(&cfg_, reason, TRV_SSSIZE)
                                   : cfg::cfgCreateD(&cfg_, sysDir.c_str(), reason, TRV_SSSIZE);
  if (made) return Status();
  cfg_ = nullptr;
  if (cfg::Loader().IsLoaded()) throw std::bad_alloc();  // the library is there but could not make an object
  return Status::error("%s", reason);
}

void ModelLink::release() noexcept {
  snapshot_.clear();
  heldSolver_.release(cfg_);
  heldSolver_.forget();
  if (cfg_) cfg::cfgFree(&cfg_);
  cfg_ = nullptr;
  prepared_ = false;
}

}  // namespace tvb::model
