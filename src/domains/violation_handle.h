// tvbDVHandle: a caller-owned position on a record that violates the domains of its symbol. It stands on the
// record like a record handle (it holds one without slice, so it survives additions to the symbol) and becomes
// invalid once a move has passed the symbol's last record, or when its record was removed.
#pragma once

#include "core/record_handle.h"

struct tvbDVHandle {
  tvbRecordHandle record;
  bool valid = true;

  tvbSymbol* symbol() const { return record.symbol; }
};
