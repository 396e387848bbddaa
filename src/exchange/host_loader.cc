#include "exchange/host_loader.h"

#include <algorithm>
#include <cstring>

#include "core/special_values.h"
#include "core/trace.h"
#include "exchange/messages.h"
#include "exchange/record_target.h"

namespace tvb::exchange {
namespace {

// The constants a host program uses for the five special values, in slot order.
constexpr double kHostSpecialValues[kSpecialValueCount] = {1.0e300, 2.0e300, 3.0e300, 4.0e300, 5.0e300};

double fromHost(double v) {
  for (int i = 0; i < kSpecialValueCount; ++i)
    if (v == kHostSpecialValues[i]) return kInternalSpecialValues[i];
  return v;
}

// The number of the host's element text textNr in db's table, interning it; -1 when the host fails.
int hostElementText(tvbHandle* db, int textNr) {
  char text[TRV_SSSIZE] = {};
  if (!db->hostElemText || db->hostElemText(textNr, text, TRV_SSSIZE - 1, db->hostHandle) != 0) return -1;
  size_t length = static_cast<unsigned char>(text[0]);
  int before = db->elemTexts.count();
  int nr = db->elemTexts.intern(std::string_view(text + 1, length));
  if (nr < before) trace(2, "%s", traces::kTextExists);
  return nr;
}

}  // namespace

Status HostLoader::load(tvbHandle* db, tvbSymbol* sym, tvfHandle_t target) {
  const char* name = sym->name.c_str();
  char lengthPrefixed[TRV_SSSIZE];
  size_t length = std::min<size_t>(sym->name.size(), 255);
  lengthPrefixed[0] = static_cast<char>(length);
  std::memcpy(lengthPrefixed + 1, name, length);

  void* host = db->hostHandle;
  int symNr = 0, count = 0;
  if (!db->hostFindSymbol || db->hostFindSymbol(lengthPrefixed, &symNr, host) != 0)
    return Status::error(msg::kHostFindSymbol, name);
  if (!db->hostDataReadRawStart || db->hostDataReadRawStart(symNr, &count, host) != 0)
    return Status::error(msg::kHostReadStart, name);

  RecordTarget out(sym, target);
  const int labelCount = db->labels.count();
  const int valueCount = valueCountOf(sym->type);
  for (int r = 0; r < count; ++r) {
    int key[GLOBAL_MAX_INDEX_DIM] = {};
    double values[5] = {};
    int dimFirst = 0;
    if (!db->hostDataReadRaw || db->hostDataReadRaw(key, values, &dimFirst, host) != 0)
      return Status::error(msg::kHostRead, name);
    // Keys index the label table; a number outside it would leave a record no operation could show.
    for (int i = 0; i < sym->dim; ++i)
      if (key[i] < 1 || key[i] > labelCount) return Status::error(msg::kHostBadLabel, name, key[i], labelCount);
    if (sym->type != TRV_DT_SET) {
      for (int i = 0; i < valueCount; ++i) values[i] = fromHost(values[i]);
    } else if (!out.streaming() && values[0] != 0) {
      double v = values[0];
      int nr = hostElementText(db, v >= -2147483648.0 && v <= 2147483647.0 ? static_cast<int>(v) : -1);
      if (nr < 0) return Status::reportedElsewhere();
      values[0] = nr;
    }
    out.put(key, values);
  }
  if (!db->hostDataReadDone || db->hostDataReadDone(host) != 0) return Status::error(msg::kHostReadDone, name);
  return Status();
}

}  // namespace tvb::exchange
