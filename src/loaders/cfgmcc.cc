#include "loaders/cfgmcc.h"

namespace tvb::cfg {

enum MandatoryEntry { kCreate, kFree, kCheck, kVersion };

#define CFG_OP TVB_GLUE_ROW
#define TVB_GLUE_TABLE "platform/rundd/cfg_operations.h"
#define TVB_GLUE_BASE_NAME "runddclib"
#define TVB_GLUE_API_VERSION 1
#define TVB_GLUE_HAS_LOAD_PATH false
#define TVB_GLUE_MANDATORY "cfgXCreate", "cfgXFree", "CcfgXCheck", "CcfgXAPIVersion"
#include "loaders/library_glue.inc"
#undef CFG_OP

bool cfgCreate(cfgHandle_t* pt, char* msg, int msgSize) {
  return loaders::CreateObject(library, kCreate, pt, nullptr, msg, msgSize);
}

bool cfgCreateD(cfgHandle_t* pt, const char* dir, char* msg, int msgSize) {
  return loaders::CreateObject(library, kCreate, pt, dir, msg, msgSize);
}

bool cfgFree(cfgHandle_t* pt) { return loaders::FreeObject(library, kFree, pt); }

}  // namespace tvb::cfg
