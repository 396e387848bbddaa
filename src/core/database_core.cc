#include "core/database_core.h"

#include "core/assert.h"
#include "core/record_handle.h"

namespace tvb {

DatabaseCore::DatabaseCore(const char* systemDirectory)
    : sysDir(systemDirectory ? systemDirectory : ""), symbols(this) {
  TVB_ASSERT(sysDir.length() < TRV_SSSIZE);
}

// The data source goes first (a file being read is closed), then the symbols with their records.
DatabaseCore::~DatabaseCore() = default;

}  // namespace tvb
