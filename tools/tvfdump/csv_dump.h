// One symbol of an open TVF file as CSV: a header row (the domain names, then the value fields), then one row per
// record, its labels then its values, special values by name (UNDF, NA, +INF, -INF, EPS). Fields that hold a
// comma, a double quote or a line break are quoted, with double quotes doubled.
#ifndef TVF_TOOLS_TVFDUMP_CSV_DUMP_H
#define TVF_TOOLS_TVFDUMP_CSV_DUMP_H

#include <cstdio>
#include <string>

#include "tvf.h"

namespace tvfdump {

// The symbol named `name` (any letter case; an alias gives its set's records); false with the reason in *error.
bool DumpCsv(tvfHandle_t pt, const std::string &name, FILE *out, std::string *error);

}  // namespace tvfdump

#endif
