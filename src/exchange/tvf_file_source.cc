#include "exchange/tvf_file_source.h"

#include "exchange/messages.h"
#include "exchange/tvf_object.h"

namespace tvb::exchange {

TvfFileSource::~TvfFileSource() { tvf::ops.tvfClose(file_); }

Status TvfFileSource::read(const tvbSymbol& sym, RecordSink& sink) {
  // Whatever goes wrong in the library, a damaged block or its own shortage of memory, it logs: a read that
  // logged nothing has read every record, and a symbol that the file does not know has none.
  const int logged = tvf::ops.tvfErrorCount(file_);
  int symNr = 0, count = 0;
  // (Number 0 would read the Universe.)
  const bool known = tvf::ops.tvfFindSymbol(file_, sym.name.c_str(), &symNr) != 0;
  if (!known || !tvf::ops.tvfDataReadRawStart(file_, symNr, &count)) count = 0;

  int key[GLOBAL_MAX_INDEX_DIM] = {};
  double values[5] = {};
  int dimFirst = 0;
  try {
    for (int r = 0; r < count && tvf::ops.tvfDataReadRaw(file_, key, values, &dimFirst); ++r) {
      if (!databaseNumbers_.empty()) {
        // The library hands out only numbers of the file's labels.
        for (int d = 0; d < sym.dim; ++d) key[d] = databaseNumbers_[key[d]];
      }
      sink.put(key, values);
    }
  } catch (...) {
    tvf::ops.tvfDataReadDone(file_);  // the next read starts afresh
    throw;
  }
  tvf::ops.tvfDataReadDone(file_);
  if (tvf::ops.tvfErrorCount(file_) == logged) return Status();
  char reason[TRV_SSSIZE];
  errorText(file_, tvf::ops.tvfGetLastError(file_), reason);
  return Status::error(msg::kReadFailed, sym.name.c_str(), reason);
}

}  // namespace tvb::exchange
