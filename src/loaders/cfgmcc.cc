#include "loaders/cfgmcc.h"

namespace tvb::cfg {
namespace {

#define CFG_OP TVB_LOADER_OPERATION_INFO
#include "loaders/tables/cfg_operations.h"
#undef CFG_OP

bool BindOperations(loaders::OperationBinder& binder);

enum MandatoryEntry { kCreate, kFree, kCheck, kVersion };
constexpr const char* kMandatoryEntries[] = {"cfgXCreate", "cfgXFree", "CcfgXCheck", "CcfgXAPIVersion"};

constexpr loaders::LibraryTable kTable{.baseName = "runddclib",
                                       .apiVersion = 1,
                                       .mandatoryEntries = kMandatoryEntries,
                                       .mandatoryCount = std::size(kMandatoryEntries),
                                       .checkEntry = kCheck,
                                       .versionEntry = kVersion,
                                       .hasLoadPath = false,
                                       .bindOperations = BindOperations};

constinit loaders::LibraryLoader library(kTable);

}  // namespace

constinit Operations ops{
#define CFG_OP TVB_LOADER_OPERATION_STUB
#include "loaders/tables/cfg_operations.h"
#undef CFG_OP
};

namespace {

bool BindOperations(loaders::OperationBinder& binder) {
  return true
#define CFG_OP TVB_LOADER_OPERATION_BIND
#include "loaders/tables/cfg_operations.h"
#undef CFG_OP
      ;
}

}  // namespace

bool cfgCreate(cfgHandle_t* pt, char* msg, int msgSize) {
  return loaders::CreateObject(library, kCreate, pt, nullptr, msg, msgSize);
}

bool cfgCreateD(cfgHandle_t* pt, const char* dir, char* msg, int msgSize) {
  return loaders::CreateObject(library, kCreate, pt, dir, msg, msgSize);
}

bool cfgFree(cfgHandle_t* pt) { return loaders::FreeObject(library, kFree, pt); }

loaders::LibraryLoader& Loader() { return library; }

}  // namespace tvb::cfg
