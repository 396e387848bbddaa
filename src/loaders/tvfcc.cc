#include "loaders/tvfcc.h"

namespace tvb::tvf {

enum MandatoryEntry { kCreate, kFree, kCheck, kVersion };

#define TVF_OP TVB_GLUE_ROW
#define TVB_GLUE_TABLE "platform/tvf/tvf_operations.h"
#define TVB_GLUE_BASE_NAME "tvfdclib"
#define TVB_GLUE_API_VERSION TVF_API_VERSION
#define TVB_GLUE_HAS_LOAD_PATH true
#define TVB_GLUE_MANDATORY "XCreate", "XFree", "CXCheck", "CXAPIVersion"
#include "loaders/library_glue.inc"
#undef TVF_OP

bool tvfCreate(tvfHandle_t* pt, char* msg, int msgSize) {
  return loaders::CreateObject(library, kCreate, pt, nullptr, msg, msgSize);
}

bool tvfCreateD(tvfHandle_t* pt, const char* dir, char* msg, int msgSize) {
  return loaders::CreateObject(library, kCreate, pt, dir, msg, msgSize);
}

bool tvfFree(tvfHandle_t* pt) { return loaders::FreeObject(library, kFree, pt); }

}  // namespace tvb::tvf
