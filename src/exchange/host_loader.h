// The loader of a database handed to a host program (tvbInitFromCMEX): reads one symbol's records through
// the host's routines, maps the host's special values (1e300 .. 5e300) to the internal ones and fetches the
// element texts of set records. Every host routine reports success with 0.
#pragma once

#include "core/database.h"

namespace tvb::exchange {

class HostLoader : public SymbolLoader {
 public:
  DataSource source() const override { return FROM_CMEX; }
  Status load(tvbHandle* db, tvbSymbol* sym, tvfHandle_t target) override;
};

}  // namespace tvb::exchange
