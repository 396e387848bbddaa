#include "core/write_recording.h"

#include "core/messages.h"

namespace tvb {

Status WriteRecording::start(const SymbolTable& symbols) {
  if (active_) return Status::error(msg::kRecordingActive);
  active_ = true;
  for (tvbSymbol* sym : symbols.indexed()) sym->written = false;
  return Status();
}

Status WriteRecording::stop() {
  if (!active_) return Status::error(msg::kRecordingInactive);
  active_ = false;
  return Status();
}

}  // namespace tvb
