#include "exchange/tvf_file_loader.h"

#include "exchange/messages.h"
#include "exchange/record_target.h"
#include "exchange/tvf_object.h"
#include "loaders/tvfcc.h"

namespace tvb::exchange {

Status TvfFileLoader::load(tvbHandle* db, tvbSymbol* sym, tvfHandle_t target) {
  tvfHandle_t file = db->tvfHandle;
  int symNr = 0, count = 0;
  // A name the file does not know gives no number, and reading no number gives no records.
  bool known = tvf::ops.tvfFindSymbol(file, sym->name.c_str(), &symNr) != 0;
  bool started = tvf::ops.tvfDataReadRawStart(file, symNr, &count) != 0;
  if (!started) count = 0;

  RecordTarget out(sym, target);
  int key[GLOBAL_MAX_INDEX_DIM] = {};
  double values[5] = {};
  int dimFirst = 0;
  bool damaged = known && !started;
  for (int r = 0; r < count && !damaged; ++r) {
    if (!tvf::ops.tvfDataReadRaw(file, key, values, &dimFirst)) {
      damaged = true;
      break;
    }
    out.put(key, values);
  }
  tvf::ops.tvfDataReadDone(file);
  if (damaged) {
    char reason[TRV_SSSIZE];
    errorText(file, tvf::ops.tvfGetLastError(file), reason);
    return Status::error(msg::kReadFailed, sym->name.c_str(), reason);
  }
  return Status();
}

}  // namespace tvb::exchange
