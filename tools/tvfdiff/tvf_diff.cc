#include "tvf_diff.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "tvf_symbols.h"
#include "value_text.h"

namespace tvfdiff {
namespace {

using tvftools::SymbolInfo;

std::string Lower(std::string text) {
  for (char &c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Labels of both files numbered alike: the same label (in any letter case) has the same number in both.
class SharedLabels {
 public:
  // The shared numbers of a file's labels, index = the file's label number.
  std::vector<int> Of(tvfHandle_t pt) {
    int symbols = 0, labels = 0;
    tvfSystemInfo(pt, &symbols, &labels);
    std::vector<int> shared(static_cast<size_t>(labels) + 1, 0);
    for (int n = 1; n <= labels; ++n) {
      std::string label;
      tvftools::FindLabel(pt, n, &label);
      auto [at, added] = numbers_.try_emplace(Lower(label), static_cast<int>(texts_.size()));
      if (added) texts_.push_back(label);
      shared[static_cast<size_t>(n)] = at->second;
    }
    return shared;
  }
  const std::string &Text(int shared) const { return texts_[static_cast<size_t>(shared)]; }

 private:
  std::unordered_map<std::string, int> numbers_;
  std::vector<std::string> texts_;
};

struct Record {
  std::vector<int> key;  // shared label numbers
  double values[TVF_VALUE_COUNT];
  std::string text;  // a set record's element text
};

bool ReadAll(const File &f, int number, const SymbolInfo &s, const std::vector<int> &shared,
             std::vector<Record> *records, std::string *error) {
  const bool ok = tvftools::ReadRecords(
      f.pt, number, s.name,
      [&](const int *key, const double *values) {
        Record r;
        for (int d = 0; d < s.dim; ++d) {
          const size_t n = static_cast<size_t>(key[d]);
          r.key.push_back(n < shared.size() ? shared[n] : -key[d]);
        }
        std::memcpy(r.values, values, sizeof r.values);
        if (s.type == 0) tvftools::ElementText(f.pt, values[0], &r.text);
        records->push_back(std::move(r));
      },
      error);
  std::sort(records->begin(), records->end(), [](const Record &x, const Record &y) { return x.key < y.key; });
  return ok;
}

std::string Heading(const SymbolInfo &s) {
  std::string line = std::string(tvftools::TypeName(s.type)) + " " + s.name;
  if (s.type == tvftools::kAlias || s.dim == 0) return line;
  line += "(";
  for (int d = 0; d < s.dim; ++d) line += (d > 0 ? "," : "") + s.domain[static_cast<size_t>(d)];
  return line + ")";
}

class Report {
 public:
  Report(const File &a, const File &b, const SharedLabels &labels, FILE *out) : a_(a), b_(b), labels_(labels), out_(out) {}

  void Line(const std::string &text) {
    std::fprintf(out_, "%s\n", text.c_str());
    ++differences_;
  }

  std::string Key(const std::string &symbol, const std::vector<int> &key) const {
    std::string text = symbol + "(";
    for (size_t d = 0; d < key.size(); ++d) text += (d > 0 ? "," : "") + ("'" + labels_.Text(key[d]) + "'");
    return text + ")";
  }

  // "<what>: <in a> in A, <in b> in B"
  void Both(const std::string &what, const std::string &in_a, const std::string &in_b) {
    Line(what + ": " + in_a + " in " + a_.name + ", " + in_b + " in " + b_.name);
  }

  long differences() const { return differences_; }
  const File &a() const { return a_; }
  const File &b() const { return b_; }

 private:
  const File &a_, &b_;
  const SharedLabels &labels_;
  FILE *out_;
  long differences_ = 0;
};

std::string Values(int type, const Record &r) {
  if (type == 0) return "\"" + r.text + "\"";
  if (type == 1) return tvftools::ValueText(r.values[0]);
  std::string text = "(";
  for (int v = 0; v < TVF_VALUE_COUNT; ++v) text += (v > 0 ? ", " : "") + tvftools::ValueText(r.values[v]);
  return text + ")";
}

void CompareRecords(const std::string &name, int type, const std::vector<Record> &in_a,
                    const std::vector<Record> &in_b, double tolerance, Report *report) {
  const std::vector<std::string> fields = tvftools::ValueFields(type);
  size_t i = 0, j = 0;
  while (i < in_a.size() || j < in_b.size()) {
    if (j == in_b.size() || (i < in_a.size() && in_a[i].key < in_b[j].key)) {
      report->Line(report->Key(name, in_a[i].key) + ": only in " + report->a().name + " " + Values(type, in_a[i]));
      ++i;
    } else if (i == in_a.size() || in_b[j].key < in_a[i].key) {
      report->Line(report->Key(name, in_b[j].key) + ": only in " + report->b().name + " " + Values(type, in_b[j]));
      ++j;
    } else {
      const Record &x = in_a[i++], &y = in_b[j++];
      if (type == 0) {
        if (x.text != y.text) report->Both(report->Key(name, x.key) + " text", Values(0, x), Values(0, y));
        continue;
      }
      for (size_t v = 0; v < fields.size(); ++v) {
        if (Agree(x.values[v], y.values[v], tolerance)) continue;
        const std::string what = report->Key(name, x.key) + (type == 1 ? "" : " " + fields[v]);
        report->Both(what, tvftools::ValueText(x.values[v]), tvftools::ValueText(y.values[v]));
      }
    }
  }
}

std::string AliasTarget(tvfHandle_t pt, const SymbolInfo &s) {
  if (s.subtype == 0) return "*";
  return tvftools::ReadSymbolInfo(pt, s.subtype).name;
}

}  // namespace

bool Agree(double a, double b, double tolerance) {
  uint64_t bits_a, bits_b;
  std::memcpy(&bits_a, &a, sizeof a);
  std::memcpy(&bits_b, &b, sizeof b);
  if (bits_a == bits_b || a == b) return true;
  if (std::isnan(a) || std::isnan(b) || !(tolerance > 0)) return false;  // special values are NaN markers
  return std::fabs(a - b) <= tolerance * std::max({1.0, std::fabs(a), std::fabs(b)});
}

long Compare(const File &a, const File &b, double tolerance, FILE *out, std::string *error) {
  SharedLabels labels;
  const std::vector<int> shared_a = labels.Of(a.pt), shared_b = labels.Of(b.pt);
  Report report(a, b, labels, out);
  int symbols_a = 0, symbols_b = 0, unused;
  tvfSystemInfo(a.pt, &symbols_a, &unused);
  tvfSystemInfo(b.pt, &symbols_b, &unused);
  for (int k = 1; k <= symbols_a; ++k) {
    const SymbolInfo s = tvftools::ReadSymbolInfo(a.pt, k);
    int number = 0;
    if (!CtvfFindSymbol(b.pt, s.name.c_str(), &number) || number == 0) {
      report.Line("only in " + a.name + ": " + Heading(s));
      continue;
    }
    const SymbolInfo t = tvftools::ReadSymbolInfo(b.pt, number);
    if (s.type != t.type || s.dim != t.dim) {
      report.Both(s.name, Heading(s), Heading(t));
      continue;
    }
    if (s.type == tvftools::kAlias) {
      const std::string target_a = AliasTarget(a.pt, s), target_b = AliasTarget(b.pt, t);
      if (Lower(target_a) != Lower(target_b)) report.Both(s.name, "alias of " + target_a, "alias of " + target_b);
      continue;
    }
    if (Heading(s) != Heading(t)) report.Both(s.name + " domain", Heading(s), Heading(t));
    if (s.text != t.text) report.Both(s.name + " text", "\"" + s.text + "\"", "\"" + t.text + "\"");
    if (s.subtype != t.subtype) report.Both(s.name + " subtype", std::to_string(s.subtype), std::to_string(t.subtype));
    std::vector<Record> records_a, records_b;
    if (!ReadAll(a, k, s, shared_a, &records_a, error) || !ReadAll(b, number, t, shared_b, &records_b, error)) {
      return -1;
    }
    CompareRecords(s.name, s.type, records_a, records_b, tolerance, &report);
  }
  for (int k = 1; k <= symbols_b; ++k) {
    const SymbolInfo t = tvftools::ReadSymbolInfo(b.pt, k);
    int number = 0;
    if (!CtvfFindSymbol(a.pt, t.name.c_str(), &number) || number == 0) report.Line("only in " + b.name + ": " + Heading(t));
  }
  return report.differences();
}

}  // namespace tvfdiff
