#include "exchange/tvf_file_source.h"

#include "exchange/messages.h"
#include "exchange/tvf_object.h"

namespace tvb::exchange {

TvfFileSource::~TvfFileSource() { tvf::ops.tvfClose(file_); }

Status TvfFileSource::read(const tvbSymbol& sym, RecordSink& sink) {
  int symNr = 0, count = 0;
  // A name the file does not know gives no number, and reading no number gives no records.
  bool known = tvf::ops.tvfFindSymbol(file_, sym.name.c_str(), &symNr) != 0;
  bool started = tvf::ops.tvfDataReadRawStart(file_, symNr, &count) != 0;
  if (!started) count = 0;

  int key[GLOBAL_MAX_INDEX_DIM] = {};
  double values[5] = {};
  int dimFirst = 0;
  bool damaged = known && !started;
  for (int r = 0; r < count && !damaged; ++r) {
    if (!tvf::ops.tvfDataReadRaw(file_, key, values, &dimFirst)) {
      damaged = true;
      break;
    }
    if (!databaseNumbers_.empty()) {
      // The library hands out only numbers of the file's labels.
      for (int d = 0; d < sym.dim; ++d) key[d] = databaseNumbers_[key[d]];
    }
    sink.put(key, values);
  }
  tvf::ops.tvfDataReadDone(file_);
  if (damaged) {
    char reason[TRV_SSSIZE];
    errorText(file_, tvf::ops.tvfGetLastError(file_), reason);
    return Status::error(msg::kReadFailed, sym.name.c_str(), reason);
  }
  return Status();
}

}  // namespace tvb::exchange
