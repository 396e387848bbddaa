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
  const tvb::Status tvfCreated = tvb::exchange::createDatabaseTvfObject(this);
  if (!tvfCreated.ok()) tvb::storeLastError(this, tvfCreated);
}

// The file being read is closed and the TVF object freed before the symbols go with their records. The
// model instance, environment and dictionary belong to the caller.
tvbHandle::~tvbHandle() {
  tvb::exchange::releaseDatabaseTvfObject(this);
  delete spareHandle;
}

namespace tvb {

Status loadOnDemand(tvbHandle* db, tvbSymbol* sym) {
  if (sym->loaded) return Status::error(msg::kAlreadyLoaded, sym->name.c_str());
  sym->loaded = true;  // stays set whether or not the loading succeeds
  bool sourceHasLoader = db->initFrom == FROM_TVF || db->initFrom == FROM_CMEX || db->initFrom == FROM_TVP;
  if (!sourceHasLoader || !db->loader || db->loader->source() != db->initFrom)
    return Status::error(msg::kNoLoader, sym->name.c_str(), db->initFrom);
  return db->loader->load(db, sym, nullptr);
}

}  // namespace tvb
