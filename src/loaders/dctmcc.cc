#include "loaders/dctmcc.h"

namespace tvb::dct {
namespace {

#define DCT_OP TVB_LOADER_OPERATION_INFO
#include "loaders/tables/dct_operations.h"
#undef DCT_OP

bool BindOperations(loaders::OperationBinder& binder);

// The create and free entries are resolved as the protocol demands, although readying does not call them.
enum MandatoryEntry { kCreate, kCreateD, kFree, kCheck, kVersion };
constexpr const char* kMandatoryEntries[] = {"dctXCreate", "CdctXCreateD", "dctXFree", "CdctXCheck", "CdctXAPIVersion"};

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
#define DCT_OP TVB_LOADER_OPERATION_STUB
#include "loaders/tables/dct_operations.h"
#undef DCT_OP
};

namespace {

bool BindOperations(loaders::OperationBinder& binder) {
  return true
#define DCT_OP TVB_LOADER_OPERATION_BIND
#include "loaders/tables/dct_operations.h"
#undef DCT_OP
      ;
}

}  // namespace

bool dctGetReady(char* msg, int msgSize) { return library.Load(nullptr, msg, msgSize); }

bool dctGetReadyD(const char* dir, char* msg, int msgSize) { return library.Load(dir, msg, msgSize); }

loaders::LibraryLoader& Loader() { return library; }

}  // namespace tvb::dct
