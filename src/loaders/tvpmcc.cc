#include "loaders/tvpmcc.h"

namespace tvb::tvp {

// The create and free entries are resolved as the protocol demands, although readying does not call them.
enum MandatoryEntry { kCreate, kCreateD, kFree, kCheck, kVersion };

#define TVP_OP TVB_GLUE_ROW
#define TVB_GLUE_TABLE "platform/rundd/tvp_operations.h"
#define TVB_GLUE_BASE_NAME "runddclib"
#define TVB_GLUE_API_VERSION 16
#define TVB_GLUE_HAS_LOAD_PATH false
#define TVB_GLUE_MANDATORY "tvpXCreate", "CtvpXCreateD", "tvpXFree", "CtvpXCheck", "CtvpXAPIVersion"
#include "loaders/library_glue.inc"
#undef TVP_OP

bool tvpGetReady(char* msg, int msgSize) { return library.Load(nullptr, msg, msgSize); }

bool tvpGetReadyD(const char* dir, char* msg, int msgSize) { return library.Load(dir, msg, msgSize); }

}  // namespace tvb::tvp
