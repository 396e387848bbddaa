#include "loaders/tvhmcc.h"

namespace tvb::tvh {
namespace {

#define TVH_OP TVB_LOADER_OPERATION_INFO
#include "loaders/tables/tvh_operations.h"
#undef TVH_OP

bool BindOperations(loaders::OperationBinder& binder);

// The create and free entries are resolved as the protocol demands, although readying does not call them.
enum MandatoryEntry { kCreate, kCreateD, kFree, kCheck, kVersion };
constexpr const char* kMandatoryEntries[] = {"tvhXCreate", "CtvhXCreateD", "tvhXFree", "CtvhXCheck", "CtvhXAPIVersion"};

constexpr loaders::LibraryTable kTable{.baseName = "runddclib",
                                       .apiVersion = 6,
                                       .mandatoryEntries = kMandatoryEntries,
                                       .mandatoryCount = std::size(kMandatoryEntries),
                                       .checkEntry = kCheck,
                                       .versionEntry = kVersion,
                                       .hasLoadPath = false,
                                       .bindOperations = BindOperations};

constinit loaders::LibraryLoader library(kTable);

}  // namespace

constinit Operations ops{
#define TVH_OP TVB_LOADER_OPERATION_STUB
#include "loaders/tables/tvh_operations.h"
#undef TVH_OP
};

namespace {

bool BindOperations(loaders::OperationBinder& binder) {
  return true
#define TVH_OP TVB_LOADER_OPERATION_BIND
#include "loaders/tables/tvh_operations.h"
#undef TVH_OP
      ;
}

}  // namespace

bool tvhGetReady(char* msg, int msgSize) { return library.Load(nullptr, msg, msgSize); }

bool tvhGetReadyD(const char* dir, char* msg, int msgSize) { return library.Load(dir, msg, msgSize); }

loaders::LibraryLoader& Loader() { return library; }

}  // namespace tvb::tvh
