#include "loaders/tvfcc.h"

namespace tvb::tvf {
namespace {

#define TVF_OP TVB_LOADER_OPERATION_INFO
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP

bool BindOperations(loaders::OperationBinder& binder);

enum MandatoryEntry { kCreate, kFree, kCheck, kVersion };
constexpr const char* kMandatoryEntries[] = {"XCreate", "XFree", "CXCheck", "CXAPIVersion"};

constexpr loaders::LibraryTable kTable{.baseName = "tvfdclib",
                                       .apiVersion = 7,
                                       .mandatoryEntries = kMandatoryEntries,
                                       .mandatoryCount = std::size(kMandatoryEntries),
                                       .checkEntry = kCheck,
                                       .versionEntry = kVersion,
                                       .hasLoadPath = true,
                                       .bindOperations = BindOperations};

constinit loaders::LibraryLoader library(kTable);

}  // namespace

constinit Operations ops{
#define TVF_OP TVB_LOADER_OPERATION_STUB
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP
};

namespace {

bool BindOperations(loaders::OperationBinder& binder) {
  return true
#define TVF_OP TVB_LOADER_OPERATION_BIND
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP
      ;
}

}  // namespace

bool tvfCreate(tvfHandle_t* pt, char* msg, int msgSize) {
  return loaders::CreateObject(library, kCreate, pt, nullptr, msg, msgSize);
}

bool tvfCreateD(tvfHandle_t* pt, const char* dir, char* msg, int msgSize) {
  return loaders::CreateObject(library, kCreate, pt, dir, msg, msgSize);
}

bool tvfFree(tvfHandle_t* pt) { return loaders::FreeObject(library, kFree, pt); }

loaders::LibraryLoader& Loader() { return library; }

}  // namespace tvb::tvf
