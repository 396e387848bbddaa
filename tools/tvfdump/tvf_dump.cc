#include "tvf_dump.h"

#include <string>
#include <vector>

#include "tvf_symbols.h"
#include "value_text.h"

namespace tvfdump {
namespace {

using tvftools::SymbolInfo;

std::string Label(tvfHandle_t pt, int number) {
  std::string label;
  return tvftools::FindLabel(pt, number, &label) ? "'" + label + "'" : "#" + std::to_string(number);
}

std::string Quoted(const std::string &s) { return "\"" + s + "\""; }

std::string Heading(const SymbolInfo &s, tvfHandle_t pt) {
  std::string line = std::string(tvftools::TypeName(s.type)) + " " + s.name;
  if (s.type == tvftools::kAlias) {
    char target[TVF_STRING_SIZE];
    int dim, type;
    CtvfSymbolInfo(pt, s.subtype, target, &dim, &type);
    return line + " alias of " + target;
  }
  if (s.dim > 0) {
    line += "(";
    for (int d = 0; d < s.dim; ++d) line += (d > 0 ? "," : "") + s.domain[static_cast<size_t>(d)];
    line += ")";
  }
  static const char *const kKinds[] = {"", "no domain", "domain as given", "domain checked"};
  line += ", " + std::to_string(s.records) + (s.records == 1 ? " record" : " records");
  if (s.domain_kind >= 2 && s.domain_kind <= 3) line += std::string(", ") + kKinds[s.domain_kind];
  if (s.subtype != 0) line += ", subtype " + std::to_string(s.subtype);
  if (!s.text.empty()) line += " " + Quoted(s.text);
  return line;
}

bool Records(tvfHandle_t pt, int number, const SymbolInfo &s, FILE *out, std::string *error) {
  std::fprintf(out, "%s\n", Heading(s, pt).c_str());
  if (s.type == tvftools::kAlias) return true;
  const std::vector<std::string> fields = tvftools::ValueFields(s.type);
  return tvftools::ReadRecords(
      pt, number, s.name,
      [&](const int *key, const double *values) {
        std::string line = " ";
        for (int d = 0; d < s.dim; ++d) line += (d > 0 ? "." : " ") + Label(pt, key[d]);
        std::string text;
        if (s.type == 0) {
          if (tvftools::ElementText(pt, values[0], &text)) line += " " + Quoted(text);
        } else if (s.type == 1) {
          line += " " + tvftools::ValueText(values[0]);
        } else {
          for (size_t v = 0; v < fields.size(); ++v) line += "  " + fields[v] + " " + tvftools::ValueText(values[v]);
        }
        std::fprintf(out, "%s\n", line.c_str());
      },
      error);
}

}  // namespace

bool DumpAll(tvfHandle_t pt, FILE *out, std::string *error) {
  int version = 0;
  char producer[TVF_STRING_SIZE];
  CtvfFileInfo(pt, &version, producer);
  std::fprintf(out, "TVF format version %d, written by %s\n", version, Quoted(producer).c_str());

  int symbols = 0, labels = 0;
  tvfSystemInfo(pt, &symbols, &labels);
  std::fprintf(out, "\nlabels: %d\n", labels);
  for (int i = 1; i <= labels; ++i) std::fprintf(out, "  %d %s\n", i, Label(pt, i).c_str());

  std::vector<std::string> texts;
  char text[TVF_STRING_SIZE];
  int node;
  for (int n = 1; CtvfGetElemText(pt, n, text, &node); ++n) texts.push_back(text);
  std::fprintf(out, "\ntexts: %zu\n", texts.size());
  for (size_t i = 0; i < texts.size(); ++i) std::fprintf(out, "  %zu %s\n", i + 1, Quoted(texts[i]).c_str());

  std::fprintf(out, "\nsymbols: %d\n", symbols);
  std::vector<SymbolInfo> infos;
  for (int k = 1; k <= symbols; ++k) {
    infos.push_back(tvftools::ReadSymbolInfo(pt, k));
    std::fprintf(out, "  %d %s\n", k, Heading(infos.back(), pt).c_str());
  }
  for (int k = 1; k <= symbols; ++k) {
    if (infos[static_cast<size_t>(k) - 1].type == tvftools::kAlias) continue;
    std::fprintf(out, "\n");
    if (!Records(pt, k, infos[static_cast<size_t>(k) - 1], out, error)) return false;
  }
  return true;
}

bool DumpSymbol(tvfHandle_t pt, const std::string &name, FILE *out, std::string *error) {
  int number = -1;
  if (!CtvfFindSymbol(pt, name.c_str(), &number)) {
    *error = "no symbol '" + name + "' in the file";
    return false;
  }
  return Records(pt, number, tvftools::ReadSymbolInfo(pt, number), out, error);
}

}  // namespace tvfdump
