// Array transfer and domain checking on a two-dimensional parameter of 2,000,000 records (2,000 x 1,000 labels)
// over its domain sets, through the public C interface, each beside client loops that get the same result with
// the record operations, in one run:
//   - reading the parameter into a dense cube over its domains (tvbSparseSymbolToDenseArray), against a walk
//     with record handles (find first, move next, get the key numbers and the level) and against
//     tvbFindRecord per cell;
//   - writing the cube back (tvbDenseArrayToSymbol), against tvbAddRecordRaw per cell after clearing, and
//     tvbFindRecord with tvbSetLevel per cell;
//   - checking the whole database for domain violations (tvbCheckDBDV), against a client walk that tests each
//     key against membership tables built from the domain sets.
// Prints ns per record, the ratios, and the target of the design notes (dense read over domains >= 5x a client
// loop over record handles). Times are the best of three runs: the machine may be busy.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench_timing.h"
#include "tvbcclib.h"

namespace {

constexpr int kRows = 2000, kCols = 1000;
constexpr long kRecords = long(kRows) * kCols;

using bench::bestSeconds;
using bench::seconds;
using bench::sink;

void require(bool ok, tvbHandle* db, const char* what) {
  if (ok) return;
  char msg[TRV_SSSIZE] = "";
  c__tvbgetlasterror(db, msg);
  std::fprintf(stderr, "%s failed: %s\n", what, msg);
  std::exit(1);
}

// The database: sets i (2,000 labels) and j (1,000 labels) and p(i,j) with every combination.
struct Workload {
  tvbHandle* db = nullptr;
  tvbSymbol *i = nullptr, *j = nullptr, *p = nullptr;
  std::vector<std::string> rowLabels, colLabels;

  Workload() {
    char msg[TRV_SSSIZE];
    tvbcreate(&db, msg, sizeof msg);
    for (int r = 0; r < kRows; ++r) rowLabels.push_back("i" + std::to_string(r));
    for (int c = 0; c < kCols; ++c) colLabels.push_back("j" + std::to_string(c));
    require(c__tvbaddsymbol(db, "i", 1, TRV_DT_SET, 0, "", &i), db, "add i");
    require(c__tvbaddsymbol(db, "j", 1, TRV_DT_SET, 0, "", &j), db, "add j");
    double none[5] = {};
    int uel;
    for (auto& label : rowLabels) {
      c__tvbmergeuel(db, label.c_str(), &uel);
      c__tvbaddrecordraw(db, i, &uel, none, "");
    }
    for (auto& label : colLabels) {
      c__tvbmergeuel(db, label.c_str(), &uel);
      c__tvbaddrecordraw(db, j, &uel, none, "");
    }
    tvbSymbol* domains[2] = {i, j};
    const char* names[2] = {"", ""};
    require(c__tvbaddsymbolx(db, "p", 2, TRV_DT_PAR, 0, "", domains, names, &p), db, "add p");
    fill();
  }
  ~Workload() { tvbfree(&db); }

  static double valueOf(long cell) { return 1.0 + cell % 977; }

  void fill() {
    double values[5] = {};
    int key[2];
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) {
        key[0] = r + 1;
        key[1] = kRows + c + 1;
        values[0] = valueOf(long(r) * kCols + c);
        c__tvbaddrecordraw(db, p, key, values, "");
      }
  }

  // Position along a domain by label number: what a client builds from the domain sets to place records.
  std::vector<int> positionsOf(tvbSymbol* set) {
    std::vector<int> positions(kRows + kCols + 1, -1);
    tvbRecordHandle* rec;
    c__tvbfindfirstrecord(db, set, &rec);
    int position = 0, uel;
    double value[5];
    do {
      c__tvbgetrecordraw(db, rec, 1, &uel, value);
      positions[uel] = position++;
    } while (c__tvbrecordmovenext(db, rec));
    c__tvbfreesymboliterator(db, rec);
    return positions;
  }
};

// ---- reading the parameter into the dense cube over i x j

void readByArray(Workload& w, std::vector<double>& cube) {
  int extents[2] = {kRows, kCols};
  tvbSymbol* domains[2] = {w.i, w.j};
  int dropped;
  require(c__tvbsparsesymboltodensearray(w.db, cube.data(), extents, w.p, domains, 0, &dropped), w.db, "read");
}

void readByHandles(Workload& w, std::vector<double>& cube) {
  std::vector<int> rows = w.positionsOf(w.i), cols = w.positionsOf(w.j);
  std::fill(cube.begin(), cube.end(), 0.0);
  tvbRecordHandle* rec;
  c__tvbfindfirstrecord(w.db, w.p, &rec);
  int key[2];
  double values[5], level;
  do {
    c__tvbgetrecordraw(w.db, rec, 2, key, values);
    c__tvbgetlevel(w.db, rec, &level);
    if (rows[key[0]] >= 0 && cols[key[1]] >= 0) cube[long(rows[key[0]]) * kCols + cols[key[1]]] = level;
  } while (c__tvbrecordmovenext(w.db, rec));
  c__tvbfreesymboliterator(w.db, rec);
}

void readByFindRecord(Workload& w, std::vector<double>& cube) {
  const char* labels[2];
  tvbRecordHandle* rec;
  double level;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      labels[0] = w.rowLabels[r].c_str();
      labels[1] = w.colLabels[c].c_str();
      double value = 0;
      if (c__tvbfindrecord(w.db, w.p, labels, &rec)) {
        c__tvbgetlevel(w.db, rec, &level);
        value = level;
        c__tvbfreesymboliterator(w.db, rec);
      }
      cube[long(r) * kCols + c] = value;
    }
}

// ---- writing the cube back

void writeByArray(Workload& w, std::vector<double>& cube) {
  int extents[2] = {kRows, kCols};
  tvbSymbol* domains[2] = {w.i, w.j};
  require(c__tvbdensearraytosymbol(w.db, w.p, domains, cube.data(), extents), w.db, "write");
}

void writeByAddRecordRaw(Workload& w, std::vector<double>& cube) {
  c__tvbclearsymbol(w.db, w.p);
  double values[5] = {};
  int key[2];
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      key[0] = r + 1;  // the client knows the domains' label numbers by position here
      key[1] = kRows + c + 1;
      values[0] = cube[long(r) * kCols + c];
      c__tvbaddrecordraw(w.db, w.p, key, values, "");
    }
}

void writeByFindRecord(Workload& w, std::vector<double>& cube) {
  const char* labels[2];
  tvbRecordHandle* rec;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) {
      labels[0] = w.rowLabels[r].c_str();
      labels[1] = w.colLabels[c].c_str();
      if (c__tvbfindrecord(w.db, w.p, labels, &rec)) {
        c__tvbsetlevel(w.db, rec, cube[long(r) * kCols + c]);
        c__tvbfreesymboliterator(w.db, rec);
      }
    }
}

// ---- domain check of the whole database

int checkByLibrary(Workload& w) {
  int has = -1;
  require(c__tvbcheckdbdv(w.db, &has), w.db, "check");
  return has;
}

int checkByHandles(Workload& w) {
  std::vector<int> rows = w.positionsOf(w.i), cols = w.positionsOf(w.j);
  tvbRecordHandle* rec;
  c__tvbfindfirstrecord(w.db, w.p, &rec);
  int key[2], violations = 0;
  double values[5];
  do {
    c__tvbgetrecordraw(w.db, rec, 2, key, values);
    violations += rows[key[0]] < 0 || cols[key[1]] < 0;
  } while (c__tvbrecordmovenext(w.db, rec));
  c__tvbfreesymboliterator(w.db, rec);
  return violations > 0;
}

int failures = 0;

void row(const char* what, double ours, double baseline, const char* baselineName, double target) {
  const double ratio = baseline / ours;
  std::printf("%-36s %8.1f ns  %-28s %8.1f ns  %7.2fx", what, ours * 1e9 / kRecords, baselineName,
              baseline * 1e9 / kRecords, ratio);
  if (target > 0) {
    const bool met = ratio >= target;
    failures += !met;
    std::printf("  (target >= %.0fx) %s", target, met ? "met" : "MISSED");
  }
  std::printf("\n");
}

bool same(const std::vector<double>& a, const std::vector<double>& b) { return a == b; }

}  // namespace

int main() {
  Workload w;
  std::printf("array transfer: parameter p(i,j) of %ld records (%d x %d labels), dense cube over i x j\n\n", kRecords,
              kRows, kCols);
  std::vector<double> expected(kRecords), cube(kRecords), other(kRecords);
  for (long cell = 0; cell < kRecords; ++cell) expected[cell] = Workload::valueOf(cell);

  const double arrayRead = bestSeconds([&] { readByArray(w, cube); });
  const double handleRead = bestSeconds([&] { readByHandles(w, other); });
  if (!same(cube, expected) || !same(other, expected)) std::printf("warning: read cubes differ\n");
  const double findRead = bestSeconds([&] { readByFindRecord(w, other); });
  if (!same(other, expected)) std::printf("warning: find-record cube differs\n");
  int extents[2] = {kRows, kCols};
  const double denseRead =
      bestSeconds([&] { require(c__tvbdensesymboltodensearray(w.db, cube.data(), extents, w.p, 0), w.db, "dense"); });

  const double arrayWrite = bestSeconds([&] { writeByArray(w, expected); });
  const double rawWrite = bestSeconds([&] { writeByAddRecordRaw(w, expected); });
  const double findWrite = bestSeconds([&] { writeByFindRecord(w, expected); });
  readByArray(w, cube);
  if (!same(cube, expected)) std::printf("warning: written symbol differs\n");

  int found = -1, clientFound = -1;
  const double libraryCheck = bestSeconds([&] { found = checkByLibrary(w); });
  const double clientCheck = bestSeconds([&] { clientFound = checkByHandles(w); });
  if (found != 0 || clientFound != 0) std::printf("warning: violations found where there are none\n");

  std::printf("%-36s %11s  %-28s %11s  %8s\n", "workload", "tvbcclib", "client loop", "", "ratio");
  row("read over domains (sparse->dense)", arrayRead, handleRead, "handles: next, raw, level", 5);
  row("read over domains (sparse->dense)", arrayRead, findRead, "tvbFindRecord per cell", 5);
  row("read in store order (dense->dense)", denseRead, handleRead, "handles: next, raw, level", 0);
  row("write back (tvbDenseArrayToSymbol)", arrayWrite, rawWrite, "clear, tvbAddRecordRaw/cell", 0);
  row("write back (tvbDenseArrayToSymbol)", arrayWrite, findWrite, "tvbFindRecord+SetLevel/cell", 0);
  row("domain check (tvbCheckDBDV)", libraryCheck, clientCheck, "handles + membership tables", 0);
  std::printf("\n%s\n", failures ? "some targets missed" : "all targets met");
  return 0;
}
