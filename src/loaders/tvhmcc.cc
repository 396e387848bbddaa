#include "loaders/tvhmcc.h"

namespace tvb::tvh {

// The create and free entries are resolved as the protocol demands, although readying does not call them.
enum MandatoryEntry { kCreate, kCreateD, kFree, kCheck, kVersion };

#define TVH_OP TVB_GLUE_ROW
#define TVB_GLUE_TABLE "platform/rundd/tvh_operations.h"
#define TVB_GLUE_BASE_NAME "runddclib"
#define TVB_GLUE_API_VERSION 6
#define TVB_GLUE_HAS_LOAD_PATH false
#define TVB_GLUE_MANDATORY "tvhXCreate", "CtvhXCreateD", "tvhXFree", "CtvhXCheck", "CtvhXAPIVersion"
#include "loaders/library_glue.inc"
#undef TVH_OP

bool tvhGetReady(char* msg, int msgSize) { return library.Load(nullptr, msg, msgSize); }

bool tvhGetReadyD(const char* dir, char* msg, int msgSize) { return library.Load(dir, msg, msgSize); }

}  // namespace tvb::tvh
