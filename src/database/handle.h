// tvbHandle: a database as the C interface hands it out. Like the C layer of LevelDB it is a thin wrapper: the
// database, and the last error that the frame of each operation keeps there. Below this layer the handle is
// opaque; each area reaches the parts it works on through the accessors declared beside them (coreOf,
// tvfObjectOf, domainChecksOf, modelLinkOf), defined in handle.cc.
#pragma once

#include "database/database.h"
#include "tvbcclib.h"

struct tvbHandle {
  // Makes the database and its TVF object; a TVF library that cannot be loaded leaves the reason as the last
  // error, and the database usable.
  explicit tvbHandle(const char* systemDirectory);

  tvb::Database database;
  char lastError[TRV_SSSIZE] = {};
};
