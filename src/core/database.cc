#include "core/database.h"

#include "core/frame.h"
#include "core/messages.h"
#include "core/record_handle.h"
#include "exchange/tvf_object.h"

tvbHandle::tvbHandle(const char* systemDirectory) : sysDir(systemDirectory ? systemDirectory : "") {
  TVB_ASSERT(sysDir.length() < TRV_SSSIZE);
  universe = std::make_unique<tvbSymbol>();
  universe->name = "*";
  universe->text = "universe";
  universe->dim = 1;
  universe->type = TRV_DT_SET;
  universe->db = this;
  // A missing TVF library does not fail the creation: the reason is kept as the last error.
  tvb::exchange::createDatabaseTvfObject(this);
}

// The file being read is closed and the TVF object freed before the symbols go with their records. The
// model instance, environment and dictionary belong to the caller.
tvbHandle::~tvbHandle() {
  tvb::exchange::releaseDatabaseTvfObject(this);
  delete spareHandle;
}

namespace tvb {

bool loadOnDemand(tvbHandle* db, tvbSymbol* sym) {
  if (sym->loaded) {
    setError(db, msg::kAlreadyLoaded, sym->name.c_str());
    return false;
  }
  sym->loaded = true;  // stays set whether or not the loading succeeds
  bool sourceHasLoader = db->initFrom == FROM_TVF || db->initFrom == FROM_CMEX || db->initFrom == FROM_TVP;
  if (!sourceHasLoader || !db->loader || db->loader->source() != db->initFrom) {
    setError(db, msg::kNoLoader, sym->name.c_str(), db->initFrom);
    return false;
  }
  return db->loader->load(db, sym, nullptr);
}

}  // namespace tvb
