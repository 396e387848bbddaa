// Compares two TVF files open for reading: which symbols only one has, which symbols differ in kind, domain or
// text, and which records differ, matching symbols by name and records by their labels (both regardless of letter
// case, as the database does). Writes one line per difference.
#ifndef TVF_TOOLS_TVFDIFF_TVF_DIFF_H
#define TVF_TOOLS_TVFDIFF_TVF_DIFF_H

#include <cstdio>
#include <string>

#include "tvf.h"

namespace tvfdiff {

struct File {
  tvfHandle_t pt;
  std::string name;  // as the user gave it, for the report
};

// Two values agree when they have the same bits (special values included), are equal (0 and -0), or, with
// tolerance t > 0, when |a - b| <= t * max(1, |a|, |b|).
bool Agree(double a, double b, double tolerance);

// The number of differences found (0: the files hold the same data); -1 with the library's text in *error when a
// file turns out damaged.
long Compare(const File &a, const File &b, double tolerance, FILE *out, std::string *error);

}  // namespace tvfdiff

#endif
