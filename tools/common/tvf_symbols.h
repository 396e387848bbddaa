// What the TVF tools read from a file open for reading: a symbol's attributes, labels and element texts as text,
// and a symbol's records one by one. The file's special values are to be read as markers (value_text.h).
#ifndef TVF_TOOLS_COMMON_TVF_SYMBOLS_H
#define TVF_TOOLS_COMMON_TVF_SYMBOLS_H

#include <functional>
#include <string>
#include <vector>

#include "tvf.h"

namespace tvftools {

constexpr int kAlias = 4;

struct SymbolInfo {
  std::string name;
  std::string text;
  int dim = 0;
  int type = 0;
  int records = 0;
  int subtype = 0;  // of an alias: the number of its set (0: the Universe)
  int domain_kind = 0;
  std::vector<std::string> domain;
};

// "set", "parameter", "variable", "equation", "alias".
const char *TypeName(int type);

// The names of the value fields of a record of that type: "text", "value", or level to scale.
std::vector<std::string> ValueFields(int type);

SymbolInfo ReadSymbolInfo(tvfHandle_t pt, int number);

// Opens `file` into *pt with the special values read as markers; false with the library's text in *error.
bool OpenForReading(tvfHandle_t *pt, const std::string &file, std::string *error);

// Label `number` into *label; false when the file has none of that number.
bool FindLabel(tvfHandle_t pt, int number, std::string *label);

// The element text that a set record's value names; false when it names none (a damaged file may hold anything).
bool ElementText(tvfHandle_t pt, double value, std::string *text);

// Calls visit(key, values) for every record of symbol `number` in the file's order; false with the library's
// text in *error when the records turn out damaged.
bool ReadRecords(tvfHandle_t pt, int number, const std::string &name,
                 const std::function<void(const int *key, const double *values)> &visit, std::string *error);

}  // namespace tvftools

#endif
