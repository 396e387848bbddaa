// tvbInitFromCMEX: hands the database the routines of a host program. Every symbol is emptied and read
// through the host's routines when first needed; labels and symbols stay.
#include <memory>

#include "api/operations.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "exchange/host_source.h"

namespace tvb::exchange {
namespace {

Status initFromHost(DatabaseCore& db, const HostProgram& host, tvbHostLog log) {
  auto source = std::make_unique<HostSource>(host, db.labels, db.elemTexts);
  db.log.sendTo(log, host.hostHandle);
  db.dataSource.attach(std::move(source));
  for (const auto& sym : db.symbols.all()) {
    if (sym->type == TRV_DT_ALIAS) continue;  // an alias has no records of its own
    sym->awaitSource();
  }
  return Status();
}

}  // namespace
}  // namespace tvb::exchange

int tvbInitFromCMEX(tvbHandle* ptvb, tvbHostFindSymbol findSymbol, tvbHostDataReadRawStart dataReadRawStart,
                    tvbHostDataReadRaw dataReadRaw, tvbHostDataReadDone dataReadDone, tvbHostElemText elemText,
                    tvbHostLog log, void* hostHandle) {
  TVB_ASSERT(ptvb != NULL);
  const tvb::exchange::HostProgram host{findSymbol, dataReadRawStart, dataReadRaw, dataReadDone, elemText, hostHandle};
  return tvb::guarded(ptvb, "tvbInitFromCMEX",
                      [&] { return tvb::exchange::initFromHost(tvb::coreOf(ptvb), host, log); });
}
