// Registering labels and reading them by number.
#include <cstring>
#include <string_view>

#include "api/operations.h"
#include "core/argument_checks.h"
#include "core/database_core.h"
#include "core/frame.h"
#include "core/messages.h"

int tvbMergeUel(tvbHandle* ptvb, const char* label, int* uelNr) {
  TVB_ASSERT(ptvb != NULL);
  if (tvb::failed(ptvb, tvb::checkGiven(uelNr, "tvbMergeUel", "uelNr"))) return 0;
  return tvb::guarded(ptvb, "tvbMergeUel", [&] {
    std::string_view normalised;
    TVB_RETURN_IF_FAILED(tvb::checkLabel(label, normalised));
    *uelNr = tvb::coreOf(ptvb).labels.findOrAdd(normalised);
    return tvb::Status();
  });
}

int tvbGetUelByIndex(tvbHandle* ptvb, int uelNr, char* label) {
  TVB_ASSERT(ptvb != NULL);
  const tvb::LabelTable& labels = tvb::coreOf(ptvb).labels;
  if (uelNr < 1 || uelNr > labels.count())
    return tvb::finish(ptvb, tvb::Status::error(tvb::msg::kUelOutOfRange, uelNr, labels.count()));
  if (!label) return tvb::finish(ptvb, tvb::nullArgument("tvbGetUelByIndex", "label"));
  std::string_view text = labels.view(uelNr);
  std::memcpy(label, text.data(), text.size() + 1);
  return 1;
}
