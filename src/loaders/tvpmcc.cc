#include "loaders/tvpmcc.h"

namespace tvb::tvp {
namespace {

#define TVP_OP TVB_LOADER_OPERATION_INFO
#include "loaders/tables/tvp_operations.h"
#undef TVP_OP

bool BindOperations(loaders::OperationBinder& binder);

// The create and free entries are resolved as the protocol demands, although readying does not call them.
enum MandatoryEntry { kCreate, kCreateD, kFree, kCheck, kVersion };
constexpr const char* kMandatoryEntries[] = {"tvpXCreate", "CtvpXCreateD", "tvpXFree", "CtvpXCheck", "CtvpXAPIVersion"};

constexpr loaders::LibraryTable kTable{.baseName = "runddclib",
                                       .apiVersion = 16,
                                       .mandatoryEntries = kMandatoryEntries,
                                       .mandatoryCount = std::size(kMandatoryEntries),
                                       .checkEntry = kCheck,
                                       .versionEntry = kVersion,
                                       .hasLoadPath = false,
                                       .bindOperations = BindOperations};

constinit loaders::LibraryLoader library(kTable);

}  // namespace

constinit Operations ops{
#define TVP_OP TVB_LOADER_OPERATION_STUB
#include "loaders/tables/tvp_operations.h"
#undef TVP_OP
};

namespace {

bool BindOperations(loaders::OperationBinder& binder) {
  return true
#define TVP_OP TVB_LOADER_OPERATION_BIND
#include "loaders/tables/tvp_operations.h"
#undef TVP_OP
      ;
}

}  // namespace

bool tvpGetReady(char* msg, int msgSize) { return library.Load(nullptr, msg, msgSize); }

bool tvpGetReadyD(const char* dir, char* msg, int msgSize) { return library.Load(dir, msg, msgSize); }

loaders::LibraryLoader& Loader() { return library; }

}  // namespace tvb::tvp
