// Write recording: while it is on, every symbol that an operation changes is flagged as written (the symbol
// information asks for the flag). Starting it clears the flags of the indexed symbols.
#pragma once

#include "core/status.h"
#include "core/symbol.h"
#include "core/symbol_table.h"

namespace tvb {

class WriteRecording {
 public:
  bool active() const { return active_; }

  Status start(const SymbolTable& symbols);
  Status stop();

  // Flags sym as written when recording is on.
  void noteChange(tvbSymbol* sym) const {
    if (active_) sym->written = true;
  }

 private:
  bool active_ = false;
};

}  // namespace tvb
