#include "csv_dump.h"

#include <vector>

#include "tvf_symbols.h"
#include "value_text.h"

namespace tvfdump {
namespace {

std::string Field(const std::string &text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void Row(FILE *out, const std::vector<std::string> &fields) {
  std::string line;
  for (size_t f = 0; f < fields.size(); ++f) line += (f > 0 ? "," : "") + Field(fields[f]);
  std::fprintf(out, "%s\n", line.c_str());
}

std::string LabelOrNumber(tvfHandle_t pt, int number) {
  std::string label;
  return tvftools::FindLabel(pt, number, &label) ? label : "#" + std::to_string(number);
}

}  // namespace

bool DumpCsv(tvfHandle_t pt, const std::string &name, FILE *out, std::string *error) {
  int number = -1;
  if (!CtvfFindSymbol(pt, name.c_str(), &number)) {
    *error = "no symbol '" + name + "' in the file";
    return false;
  }
  tvftools::SymbolInfo s = tvftools::ReadSymbolInfo(pt, number);
  if (s.type == tvftools::kAlias && s.subtype == 0) {  // an alias of the Universe: the labels
    Row(out, {"*", "text"});
    int symbols = 0, labels = 0;
    tvfSystemInfo(pt, &symbols, &labels);
    for (int n = 1; n <= labels; ++n) Row(out, {LabelOrNumber(pt, n), ""});
    return true;
  }
  if (s.type == tvftools::kAlias) s = tvftools::ReadSymbolInfo(pt, s.subtype);
  const std::vector<std::string> fields = tvftools::ValueFields(s.type);
  std::vector<std::string> header = s.domain;
  header.insert(header.end(), fields.begin(), fields.end());
  Row(out, header);
  return tvftools::ReadRecords(
      pt, number, s.name,
      [&](const int *key, const double *values) {
        std::vector<std::string> row;
        for (int d = 0; d < s.dim; ++d) row.push_back(LabelOrNumber(pt, key[d]));
        if (s.type == 0) {
          std::string text;
          row.push_back(tvftools::ElementText(pt, values[0], &text) ? text : "");
        } else {
          for (size_t v = 0; v < fields.size(); ++v) row.push_back(tvftools::ValueText(values[v]));
        }
        Row(out, row);
      },
      error);
}

}  // namespace tvfdump
