// tvbInitFromCMEX: hands the database the routines of a host program. Every symbol is emptied and read
// through the host's routines when first needed; labels and symbols stay.
#include <memory>

#include "api/operations.h"
#include "core/database.h"
#include "core/frame.h"
#include "exchange/host_loader.h"

int tvbInitFromCMEX(tvbHandle* ptvb, tvbHostFindSymbol findSymbol, tvbHostDataReadRawStart dataReadRawStart,
                    tvbHostDataReadRaw dataReadRaw, tvbHostDataReadDone dataReadDone, tvbHostElemText elemText,
                    tvbHostLog log, void* hostHandle) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbInitFromCMEX", [&] {
    auto loader = std::make_unique<tvb::exchange::HostLoader>();
    ptvb->hostFindSymbol = findSymbol;
    ptvb->hostDataReadRawStart = dataReadRawStart;
    ptvb->hostDataReadRaw = dataReadRaw;
    ptvb->hostDataReadDone = dataReadDone;
    ptvb->hostElemText = elemText;
    ptvb->hostLog = log;
    ptvb->hostHandle = hostHandle;
    ptvb->initFrom = tvb::FROM_CMEX;
    ptvb->loader = std::move(loader);
    for (const auto& sym : ptvb->symbols) {
      if (sym->type == TRV_DT_ALIAS) continue;  // an alias has no records of its own
      sym->records->clear();
      sym->loaded = false;
    }
    return tvb::Status();
  });
}
