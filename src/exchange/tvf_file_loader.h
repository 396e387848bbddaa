// The loader of a database filled from a TVF file: reads one symbol's records from the file that the
// database's TVF object holds open, into the symbol or (streaming) into another TVF file being written.
#pragma once

#include "core/database.h"

namespace tvb::exchange {

class TvfFileLoader : public SymbolLoader {
 public:
  DataSource source() const override { return FROM_TVF; }

  // A symbol that the file does not hold has no records. A damaged record block in the file fails the
  // load with the library's text; the records read before the damage stay.
  Status load(tvbHandle* db, tvbSymbol* sym, tvfHandle_t target) override;
};

}  // namespace tvb::exchange
