// tvbInitUpdate: prepares a database tied to a model for updates and solves: the model becomes the source of
// the variable and equation symbols, the environment and configuration libraries are set up, the solver
// configuration is read, the model's levels and marginals are kept as a snapshot, and the parameter variables
// (a variable "p_var" stands for the parameter p) are fixed at their levels. Done once; later calls succeed at
// once.
#include <memory>
#include <string>

#include "api/operations.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "loaders/cfgmcc.h"
#include "loaders/dctmcc.h"
#include "loaders/tvhmcc.h"
#include "loaders/tvpmcc.h"
#include "model/dictionary_search.h"
#include "model/messages.h"
#include "model/model_entry.h"
#include "model/model_source.h"
#include "model/parameter_variable.h"

namespace tvb::model {
namespace {

constexpr const char* kConfigurationFile = "trvcmpNT.txt";

Status checkRegistered(const ModelLink& link, tvpHandle_t model) {
  if (!model) return Status::error(msg::kNoModel);
  if (!link.model()) return Status::error(msg::kNoneRegistered);
  if (model != link.model()) return Status::error(msg::kNotRegistered);
  if (!link.dictionary()) return Status::error(msg::kNoDictionary);
  return Status();
}

Status loadEnvironmentLibrary(const std::string& sysDir) {
  char reason[TRV_SSSIZE] = {};
  const bool ready =
      sysDir.empty() ? tvh::tvhGetReady(reason, TRV_SSSIZE) : tvh::tvhGetReadyD(sysDir.c_str(), reason, TRV_SSSIZE);
  return ready ? Status() : Status::error("%s", reason);
}

// The configuration file lies in the environment's system directory.
Status readConfiguration(const ModelLink& link) {
  char directory[TRV_SSSIZE] = {};
  tvh::ops.tvhGetStrOpt(link.environment(), "NameSysDir", directory);
  const std::string path = std::string(directory) + kConfigurationFile;
  if (cfg::ops.cfgReadConfig(link.configuration(), path.c_str()) != 0) return Status::error(msg::kNoConfigurationFile);
  return Status();
}

// A parameter variable stays at its starting level until an update moves it: both alternative bounds there.
void fixParameterVariables(const ModelLink& link) {
  const tvpHandle_t tvp = link.model();
  const dctHandle_t dct = link.dictionary();
  char name[64];
  for (int i = 1, count = dct::ops.dctNLSyms(dct); i <= count; ++i) {
    name[0] = '\0';
    dct::ops.dctSymName(dct, i, name, sizeof name);
    if (dct::ops.dctSymType(dct, i) != kDictionaryVariable || !isParameterVariableName(name)) continue;
    for (DictionarySearch search(dct, i); search.current() >= 0; search.next()) {
      const int j = search.current();
      if (!link.snapshot().hasVariable(j)) continue;
      tvp::ops.tvpSetAltVarLowerOne(tvp, j, link.snapshot().varLevel(j));
      tvp::ops.tvpSetAltVarUpperOne(tvp, j, link.snapshot().varLevel(j));
    }
  }
}

Status initUpdate(DatabaseCore& db, ModelLink& link, tvpHandle_t model) {
  if (db.dataSource.initFrom() == InitFrom::FROM_TVF) return Status::error(msg::kFromTvf);
  TVB_RETURN_IF_FAILED(checkRegistered(link, model));
  if (link.prepared()) return Status();

  db.dataSource.attach(std::make_unique<ModelSource>(link, db.labels));
  TVB_RETURN_IF_FAILED(loadEnvironmentLibrary(db.sysDir));
  TVB_RETURN_IF_FAILED(link.makeConfiguration(db.sysDir));
  link.setEnvironment(tvp::ops.tvpEnvironment(model));
  TVB_RETURN_IF_FAILED(readConfiguration(link));
  link.snapshot().take(model);
  fixParameterVariables(link);
  link.markPrepared();
  return Status();
}

}  // namespace
}  // namespace tvb::model

int tvbInitUpdate(tvbHandle* ptvb, void* tvp) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbInitUpdate",
                      [&] { return tvb::model::initUpdate(tvb::coreOf(ptvb), tvb::model::modelLinkOf(ptvb), tvp); });
}
