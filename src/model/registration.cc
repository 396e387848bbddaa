#include "model/registration.h"

#include <limits>

#include "api/operations.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/trace.h"
#include "loaders/dctmcc.h"
#include "loaders/tvpmcc.h"
#include "model/messages.h"

namespace tvb::model {
namespace {

Status traced(const Status& status) {
  if (!status.ok()) trace(1, "%s", status.message());
  return status;
}

Status loadLibraries(const std::string& sysDir) {
  char reason[TRV_SSSIZE] = {};
  const char* dir = sysDir.c_str();
  if (!(sysDir.empty() ? tvp::tvpGetReady(reason, TRV_SSSIZE) : tvp::tvpGetReadyD(dir, reason, TRV_SSSIZE)))
    return Status::error(msg::kTvpNotReady, reason);
  if (!(sysDir.empty() ? dct::dctGetReady(reason, TRV_SSSIZE) : dct::dctGetReadyD(dir, reason, TRV_SSSIZE)))
    return Status::error(msg::kDctNotReady, reason);
  return Status();
}

}  // namespace

Status registerModel(ModelLink& link, const std::string& sysDir, tvpHandle_t model) {
  if (!model) return traced(Status::error(msg::kNoModel));
  TVB_RETURN_IF_FAILED(traced(loadLibraries(sysDir)));
  link.registerModel(model, tvp::ops.tvpDict(model));
  // The database's infinities are IEEE's: bounds read from the model need no translation.
  tvp::ops.tvpPinfSet(model, std::numeric_limits<double>::infinity());
  tvp::ops.tvpMinfSet(model, -std::numeric_limits<double>::infinity());
  if (!link.dictionary()) return traced(Status::error(msg::kNoDictionary));
  return Status();
}

}  // namespace tvb::model

int tvbRegisterTVP(tvbHandle* ptvb, void* tvp) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbRegisterTVP", [&] {
    return tvb::model::registerModel(tvb::model::modelLinkOf(ptvb), tvb::coreOf(ptvb).sysDir, tvp);
  });
}
