// Prints the contents of an open TVF file: its labels, texts, symbols with their domains, and records.
#ifndef TVF_TOOLS_TVFDUMP_TVF_DUMP_H
#define TVF_TOOLS_TVFDUMP_TVF_DUMP_H

#include <cstdio>
#include <string>

#include "tvf.h"

namespace tvfdump {

// Everything: labels, texts, the symbol list and every symbol's records.
// Both return false with the library's text in *error when the file turns out to be damaged.
bool DumpAll(tvfHandle_t pt, FILE *out, std::string *error);

// One symbol (by name, any letter case) with its records.
bool DumpSymbol(tvfHandle_t pt, const std::string &name, FILE *out, std::string *error);

}  // namespace tvfdump

#endif
