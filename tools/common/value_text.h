// How the TVF tools show values: special values by name, every other double in its shortest form that reads back
// to the same bits (NaNs with their payload, negative zero with its sign). The reader is told to hand the
// special values back as signalling NaNs with payloads no computation produces, so they can be told apart.
#ifndef TVF_TOOLS_COMMON_VALUE_TEXT_H
#define TVF_TOOLS_COMMON_VALUE_TEXT_H

#include <string>

namespace tvftools {

// The 7-entry array to give tvfSetReadSpecialValues.
void MarkerSpecialValues(double *values);

std::string ValueText(double v);

}  // namespace tvftools

#endif
