#include "tvf_symbols.h"

#include <climits>

#include "value_text.h"

namespace tvftools {

const char *TypeName(int type) {
  static const char *const kNames[] = {"set", "parameter", "variable", "equation", "alias"};
  return type >= 0 && type <= kAlias ? kNames[type] : "?";
}

std::vector<std::string> ValueFields(int type) {
  if (type == 0 || type == kAlias) return {"text"};
  if (type == 1) return {"value"};
  return {"level", "marginal", "lower", "upper", "scale"};
}

SymbolInfo ReadSymbolInfo(tvfHandle_t pt, int number) {
  SymbolInfo s;
  char name[TVF_STRING_SIZE], text[TVF_STRING_SIZE];
  CtvfSymbolInfo(pt, number, name, &s.dim, &s.type);
  CtvfSymbolInfoX(pt, number, &s.records, &s.subtype, text);
  s.name = name;
  s.text = text;
  char buffers[TVF_MAX_DIM][TVF_STRING_SIZE];
  char *names[TVF_MAX_DIM];
  for (int d = 0; d < TVF_MAX_DIM; ++d) names[d] = buffers[d];
  s.domain_kind = CtvfSymbolGetDomainX(pt, number, names);
  for (int d = 0; d < s.dim; ++d) s.domain.push_back(names[d]);
  return s;
}

bool OpenForReading(tvfHandle_t *pt, const std::string &file, std::string *error) {
  int err = 0;
  if (CtvfOpenRead(*pt, file.c_str(), &err) == 0) {
    char text[TVF_STRING_SIZE];
    CtvfErrorStr(*pt, err, text);
    *error = text;
    return false;
  }
  double specials[TVF_SPECIAL_VALUE_COUNT];
  tvfGetSpecialValues(*pt, specials);
  MarkerSpecialValues(specials);
  tvfSetReadSpecialValues(*pt, specials);
  return true;
}

bool FindLabel(tvfHandle_t pt, int number, std::string *label) {
  char buffer[TVF_STRING_SIZE];
  int mapping;
  if (!CtvfUMUelGet(pt, number, buffer, &mapping)) return false;
  *label = buffer;
  return true;
}

bool ElementText(tvfHandle_t pt, double value, std::string *text) {
  char buffer[TVF_STRING_SIZE];
  int node;
  // Only a whole number in int range names a text.
  if (!(value >= 1 && value <= INT_MAX && value == static_cast<double>(static_cast<int>(value)))) return false;
  if (!CtvfGetElemText(pt, static_cast<int>(value), buffer, &node)) return false;
  *text = buffer;
  return true;
}

namespace {

bool LastError(tvfHandle_t pt, std::string *error) {
  int number = tvfGetLastError(pt);
  if (number == 0) return true;
  char text[TVF_STRING_SIZE];
  CtvfErrorStr(pt, number, text);
  *error = text;
  return false;
}

}  // namespace

bool ReadRecords(tvfHandle_t pt, int number, const std::string &name,
                 const std::function<void(const int *key, const double *values)> &visit, std::string *error) {
  int count = 0;
  if (!tvfDataReadRawStart(pt, number, &count)) return LastError(pt, error);
  int key[TVF_MAX_DIM];
  double values[TVF_VALUE_COUNT];
  int dim_first;
  for (int r = 0; r < count; ++r) {
    if (!tvfDataReadRaw(pt, key, values, &dim_first)) {
      tvfDataReadDone(pt);
      if (LastError(pt, error)) *error = "the records of symbol '" + name + "' end early";
      return false;
    }
    visit(key, values);
  }
  tvfDataReadDone(pt);
  return true;
}

}  // namespace tvftools
