#include "loaders/dctmcc.h"

namespace tvb::dct {

// The create and free entries are resolved as the protocol demands, although readying does not call them.
enum MandatoryEntry { kCreate, kCreateD, kFree, kCheck, kVersion };

#define DCT_OP TVB_GLUE_ROW
#define TVB_GLUE_TABLE "platform/rundd/dct_operations.h"
#define TVB_GLUE_BASE_NAME "runddclib"
#define TVB_GLUE_API_VERSION 1
#define TVB_GLUE_HAS_LOAD_PATH false
#define TVB_GLUE_MANDATORY "dctXCreate", "CdctXCreateD", "dctXFree", "CdctXCheck", "CdctXAPIVersion"
#include "loaders/library_glue.inc"
#undef DCT_OP

bool dctGetReady(char* msg, int msgSize) { return library.Load(nullptr, msg, msgSize); }

bool dctGetReadyD(const char* dir, char* msg, int msgSize) { return library.Load(dir, msg, msgSize); }

}  // namespace tvb::dct
