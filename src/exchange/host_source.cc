#include "exchange/host_source.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/special_values.h"
#include "core/trace.h"
#include "exchange/messages.h"

namespace tvb::exchange {
namespace {

// A host program hands special values in the default representation, whatever the database's caller uses.
double fromHost(double v) {
  for (int i = 0; i < kSpecialValueCount; ++i)
    if (v == kDefaultSpecialValues[i]) return kInternalSpecialValues[i];
  return v;
}

}  // namespace

int HostSource::elementText(int textNr) {
  char text[TRV_SSSIZE] = {};
  if (!host_.elemText || host_.elemText(textNr, text, TRV_SSSIZE - 1, host_.hostHandle) != 0) return -1;
  size_t length = static_cast<unsigned char>(text[0]);
  int before = texts_.count();
  int nr = texts_.intern(std::string_view(text + 1, length));
  if (nr < before) trace(2, "%s", traces::kTextExists);
  return nr;
}

Status HostSource::read(const tvbSymbol& sym, RecordSink& sink) {
  const char* name = sym.name.c_str();
  char lengthPrefixed[TRV_SSSIZE];
  size_t length = std::min<size_t>(sym.name.size(), 255);
  lengthPrefixed[0] = static_cast<char>(length);
  std::memcpy(lengthPrefixed + 1, name, length);

  void* host = host_.hostHandle;
  int symNr = 0, count = 0;
  if (!host_.findSymbol || host_.findSymbol(lengthPrefixed, &symNr, host) != 0)
    return Status::error(msg::kHostFindSymbol, name);
  if (!host_.dataReadRawStart || host_.dataReadRawStart(symNr, &count, host) != 0)
    return Status::error(msg::kHostReadStart, name);

  const int labelCount = labels_.count();
  const int valueCount = valueCountOf(sym.type);
  const bool mapTexts = sink.wantsDatabaseTextNumbers();
  for (int r = 0; r < count; ++r) {
    int key[GLOBAL_MAX_INDEX_DIM] = {};
    double values[5] = {};
    int dimFirst = 0;
    if (!host_.dataReadRaw || host_.dataReadRaw(key, values, &dimFirst, host) != 0)
      return Status::error(msg::kHostRead, name);
    // Keys index the label table; a number outside it would leave a record no operation could show.
    for (int i = 0; i < sym.dim; ++i)
      if (key[i] < 1 || key[i] > labelCount) return Status::error(msg::kHostBadLabel, name, key[i], labelCount);
    if (sym.type != TRV_DT_SET) {
      for (int i = 0; i < valueCount; ++i) values[i] = fromHost(values[i]);
    } else if (mapTexts && values[0] != 0) {
      double v = values[0];
      int nr = elementText(v >= -2147483648.0 && v <= 2147483647.0 ? static_cast<int>(v) : -1);
      if (nr < 0) return Status::reportedElsewhere();  // the host's failure carries no message of ours
      values[0] = nr;
    }
    sink.put(key, values);
  }
  if (!host_.dataReadDone || host_.dataReadDone(host) != 0) return Status::error(msg::kHostReadDone, name);
  return Status();
}

}  // namespace tvb::exchange
