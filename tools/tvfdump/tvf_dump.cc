#include "tvf_dump.h"

#include <climits>
#include <string>
#include <vector>

#include "value_text.h"

namespace tvfdump {
namespace {

const char *TypeName(int type) {
  static const char *const kNames[] = {"set", "parameter", "variable", "equation", "alias"};
  return type >= 0 && type <= 4 ? kNames[type] : "?";
}

struct SymbolInfo {
  std::string name;
  std::string text;
  int dim = 0;
  int type = 0;
  int records = 0;
  int subtype = 0;
  int domain_kind = 0;
  std::vector<std::string> domain;
};

SymbolInfo Info(tvfHandle_t pt, int number) {
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

std::string Label(tvfHandle_t pt, int number) {
  char label[TVF_STRING_SIZE];
  int mapping;
  if (!CtvfUMUelGet(pt, number, label, &mapping)) return "#" + std::to_string(number);
  return std::string("'") + label + "'";
}

std::string Quoted(const std::string &s) { return "\"" + s + "\""; }

std::string Heading(const SymbolInfo &s, tvfHandle_t pt) {
  std::string line = std::string(TypeName(s.type)) + " " + s.name;
  if (s.type == 4) {
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

bool LastError(tvfHandle_t pt, std::string *error) {
  int number = tvfGetLastError(pt);
  if (number == 0) return true;
  char text[TVF_STRING_SIZE];
  CtvfErrorStr(pt, number, text);
  *error = text;
  return false;
}

bool Records(tvfHandle_t pt, int number, const SymbolInfo &s, FILE *out, std::string *error) {
  std::fprintf(out, "%s\n", Heading(s, pt).c_str());
  if (s.type == 4) return true;
  int count = 0;
  if (!tvfDataReadRawStart(pt, number, &count)) return LastError(pt, error);
  int key[TVF_MAX_DIM];
  double values[TVF_VALUE_COUNT];
  int dim_first;
  static const char *const kFields[] = {"level", "marginal", "lower", "upper", "scale"};
  for (int r = 0; r < count; ++r) {
    if (!tvfDataReadRaw(pt, key, values, &dim_first)) {
      tvfDataReadDone(pt);
      if (LastError(pt, error)) *error = "the records of symbol '" + s.name + "' end early";
      return false;
    }
    std::string line = " ";
    for (int d = 0; d < s.dim; ++d) line += (d > 0 ? "." : " ") + Label(pt, key[d]);
    if (s.type == 0) {
      char text[TVF_STRING_SIZE];
      int node;
      // A damaged file may hold anything here: only a whole number in int range names a text.
      const double number = values[0];
      if (number >= 1 && number <= INT_MAX && number == static_cast<double>(static_cast<int>(number)) &&
          CtvfGetElemText(pt, static_cast<int>(number), text, &node)) {
        line += " " + Quoted(text);
      }
    } else if (s.type == 1) {
      line += " " + ValueText(values[0]);
    } else {
      for (int v = 0; v < TVF_VALUE_COUNT; ++v) line += std::string("  ") + kFields[v] + " " + ValueText(values[v]);
    }
    std::fprintf(out, "%s\n", line.c_str());
  }
  tvfDataReadDone(pt);
  return true;
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
    infos.push_back(Info(pt, k));
    std::fprintf(out, "  %d %s\n", k, Heading(infos.back(), pt).c_str());
  }
  for (int k = 1; k <= symbols; ++k) {
    if (infos[static_cast<size_t>(k) - 1].type == 4) continue;
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
  return Records(pt, number, Info(pt, number), out, error);
}

}  // namespace tvfdump
