// Registering labels and reading them by number.
#include <cstring>
#include <string>

#include "api/operations.h"
#include "core/database.h"
#include "core/frame.h"
#include "core/messages.h"

int tvbMergeUel(tvbHandle* ptvb, const char* label, int* uelNr) {
  TVB_ASSERT(ptvb != NULL);
  return tvb::guarded(ptvb, "tvbMergeUel", [&] {
    std::string_view normalised;
    if (!tvb::checkLabel(label, normalised, ptvb->lastError)) return 0;
    *uelNr = ptvb->labels.findOrAdd(normalised);
    return 1;
  });
}

int tvbGetUelByIndex(tvbHandle* ptvb, int uelNr, char* label) {
  TVB_ASSERT(ptvb != NULL);
  if (uelNr < 1 || uelNr > ptvb->labels.count()) {
    tvb::setError(ptvb, tvb::msg::kUelOutOfRange, uelNr, ptvb->labels.count());
    return 0;
  }
  std::string_view text = ptvb->labels.view(uelNr);
  std::memcpy(label, text.data(), text.size() + 1);
  return 1;
}
