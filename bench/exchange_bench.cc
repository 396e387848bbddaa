// The database layer over the TVF library, on 2,000,000 records (2,000 x 1,000 labels): a parameter and a
// variable with five values. In one run, best of three each:
//   write  tvbWriteTVF of a database holding the records, beside the library's own raw write of the same
//          labels and records (tvfDataWriteRaw per record);
//   load   tvbInitFromTVF and every record read into the database (the symbol loaded on demand), the
//          database then freed, beside the library's own raw read (tvfDataReadRaw per record);
//   copy   a database read from a file and written again before any use (records streamed from file to
//          file), beside a raw read followed by a raw write.
// The target (DESIGN.md): the database layer at most 1.5x the raw time. Lines for information only: the
// load with the heap's freed memory handed back to the system before each run ("first touch"), so that the
// store's memory is touched for the first time: page faults for memory that keeps the records, which a raw
// read that keeps nothing does not have (the 2 MB chunks that large stores keep for reuse are not handed
// back: they are the library's, and stay warm); and the load followed by a walk over every record through the C
// interface (tvbFindFirstRecord, tvbRecordMoveNext, tvbGetRecordRaw), whose own target is in the
// record-store benchmark.
// Usage: exchange_bench [directory for the files] (default: the system's temporary directory).
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "tvbcclib.h"
#include "tvf.h"

namespace {

constexpr int kRows = 2000, kCols = 1000;
constexpr long kRecords = long(kRows) * kCols;
constexpr double kTarget = 1.5;

using bench::seconds;
using bench::sink;
double best(const std::function<void()>& work) { return bench::bestSeconds(work); }

[[noreturn]] void die(const char* what, const std::string& detail) {
  std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
  std::exit(1);
}

struct Workload {
  const char* name;
  int type;
  int valueCount;
  std::vector<double> values;  // valueCount per record, records in key order
};

Workload makeParameter() {
  Workload w{"parameter", TRV_DT_PAR, 1, {}};
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> u(0, 1000);
  w.values.resize(kRecords);
  for (double& v : w.values) v = u(rng);
  return w;
}

Workload makeVariable() {
  Workload w{"variable, five values", TRV_DT_VAR, 5, {}};
  std::mt19937_64 rng(2);
  std::uniform_real_distribution<double> u(0, 1000);
  w.values.resize(kRecords * 5);
  for (long r = 0; r < kRecords; ++r) {
    double* v = &w.values[static_cast<size_t>(r) * 5];
    v[0] = u(rng);
    v[1] = r % 3 == 0 ? u(rng) : 0.0;
    v[2] = 0.0;
    v[3] = std::numeric_limits<double>::infinity();
    v[4] = 1.0;
  }
  return w;
}

std::vector<std::string> labels() {
  std::vector<std::string> result;
  for (int i = 0; i < kRows; ++i) result.push_back("i" + std::to_string(i));
  for (int j = 0; j < kCols; ++j) result.push_back("j" + std::to_string(j));
  return result;
}

// ---- the TVF library on its own


// Hands every record of the workload, in key order, to put: a key of 20 label numbers (the first two used,
// rows then columns after them) and its values.
template <class Put>
void forEachRecord(const Workload& w, Put put) {
  int key[20] = {};
  double values[5] = {};
  const double* v = w.values.data();
  for (int i = 0; i < kRows; ++i) {
    key[0] = i + 1;
    for (int j = 0; j < kCols; ++j) {
      key[1] = kRows + j + 1;
      std::memcpy(values, v, sizeof(double) * static_cast<size_t>(w.valueCount));
      v += w.valueCount;
      put(key, values);
    }
  }
}

void rawWrite(const Workload& w, const std::string& path) {
  tvfHandle_t pt = nullptr;
  XCreate(&pt);
  int err = 0;
  if (!CtvfOpenWrite(pt, path.c_str(), "", &err)) die("cannot write", path);
  tvfUELRegisterRawStart(pt);
  for (const std::string& label : labels()) CtvfUELRegisterRaw(pt, label.c_str());
  tvfUELRegisterDone(pt);
  CtvfDataWriteRawStart(pt, "x", "", 2, w.type, 0);
  forEachRecord(w, [&](const int* key, const double* values) { tvfDataWriteRaw(pt, key, values); });
  tvfDataWriteDone(pt);
  if (tvfErrorCount(pt) != 0 || !tvfClose(pt)) die("writing failed", path);
  XFree(&pt);
}

void rawRead(const std::string& path) {
  tvfHandle_t pt = nullptr;
  XCreate(&pt);
  int err = 0;
  if (!CtvfOpenRead(pt, path.c_str(), &err)) die("cannot read", path);
  int count = 0, key[20], first = 0;
  double values[5], sum = 0;
  tvfDataReadRawStart(pt, 1, &count);
  for (int r = 0; r < count; ++r) {
    tvfDataReadRaw(pt, key, values, &first);
    sum += values[0] + key[1];
  }
  tvfDataReadDone(pt);
  tvfClose(pt);
  XFree(&pt);
  if (count != kRecords) die("records missing", path);
  sink = sum;
}

// ---- through the database

std::string lastError(tvbHandle* db) {
  char msg[TRV_SSSIZE];
  c__tvbgetlasterror(db, msg);
  return msg;
}

tvbHandle* newDatabase() {
  tvbHandle* db = nullptr;
  char msg[TRV_SSSIZE];
  if (!tvbcreate(&db, msg, sizeof msg)) die("cannot create a database", msg);
  return db;
}

// The database of the write: the labels in the same order, the records added in key order.
tvbHandle* databaseOf(const Workload& w) {
  tvbHandle* db = newDatabase();
  int uel = 0;
  for (const std::string& label : labels()) c__tvbmergeuel(db, label.c_str(), &uel);
  tvbSymbol* x = nullptr;
  if (!c__tvbaddsymbol(db, "x", 2, w.type, 0, "", &x)) die("cannot add the symbol", lastError(db));
  forEachRecord(w, [&](const int* key, const double* values) { c__tvbaddrecordraw(db, x, key, values, ""); });
  return db;
}

void databaseWrite(tvbHandle* db, const std::string& path) {
  if (!c__tvbwritetvf(db, path.c_str(), 0)) die("tvbWriteTVF failed", lastError(db));
}

void databaseLoadAndWalk(const std::string& path) {
  tvbHandle* db = newDatabase();
  if (!c__tvbinitfromtvf(db, path.c_str())) die("tvbInitFromTVF failed", lastError(db));
  tvbSymbol* x = nullptr;
  tvbRecordHandle* rec = nullptr;
  if (!c__tvbfindsymbol(db, "x", &x) || !c__tvbfindfirstrecord(db, x, &rec)) die("cannot walk", lastError(db));
  int uels[2];
  double values[5], sum = 0;
  long count = 0;
  do {
    c__tvbgetrecordraw(db, rec, 2, uels, values);
    sum += values[0] + uels[1];
    ++count;
  } while (c__tvbrecordmovenext(db, rec));
  c__tvbfreesymboliterator(db, rec);
  tvbfree(&db);
  if (count != kRecords) die("records missing", path);
  sink = sum;
}

// Reading every record into the database, without walking it: the on-demand load of the symbol.
void databaseLoad(const std::string& path) {
  tvbHandle* db = newDatabase();
  if (!c__tvbinitfromtvf(db, path.c_str())) die("tvbInitFromTVF failed", lastError(db));
  tvbSymbol* x = nullptr;
  int count = 0;
  double unused;
  char text[TRV_SSSIZE];
  if (!c__tvbfindsymbol(db, "x", &x) || !c__tvbsymbolinfo(db, x, TRV_SYMINFO_RECORD_COUNT, &count, &unused, text))
    die("cannot load", lastError(db));
  tvbfree(&db);
  if (count != kRecords) die("records missing", path);
}

void databaseCopy(const std::string& from, const std::string& to) {
  tvbHandle* db = newDatabase();
  if (!c__tvbinitfromtvf(db, from.c_str())) die("tvbInitFromTVF failed", lastError(db));
  databaseWrite(db, to);
  tvbfree(&db);
}

int missed = 0;

void report(const char* what, double ours, const char* baseline, double theirs, bool hasTarget = true) {
  double ratio = ours / theirs;
  bool met = ratio <= kTarget;
  if (hasTarget && !met) ++missed;
  std::printf("  %-22s %7.1f ns   %-22s %7.1f ns   %5.2fx", what, ours * 1e9 / kRecords, baseline,
              theirs * 1e9 / kRecords, ratio);
  if (hasTarget) std::printf("  (target <= %.1fx) %s", kTarget, met ? "ok" : "MISSED");
  std::printf("\n");
}

// Freed memory goes back to the system only when asked (malloc_trim), so that runs can choose.
void keepFreedMemory() {
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
}

}  // namespace

int main(int argc, char** argv) {
  keepFreedMemory();
  const char* tmp = std::getenv("TMPDIR");
  const std::string dir = argc > 1 ? argv[1] : (tmp && *tmp ? tmp : "/tmp");
  const std::string pid = std::to_string(getpid());
  const std::string rawPath = dir + "/exchange_bench_raw_" + pid + ".tvf";
  const std::string dbPath = dir + "/exchange_bench_db_" + pid + ".tvf";
  const std::string copyPath = dir + "/exchange_bench_copy_" + pid + ".tvf";
  std::printf("Database layer over the TVF library: %ld records (%d x %d labels), files in %s, best of 3\n", kRecords,
              kRows, kCols, dir.c_str());
  std::printf("  %-22s %10s   %-22s %10s   %6s\n", "", "tvbcclib", "baseline", "", "ratio");

  for (const Workload& w : {makeParameter(), makeVariable()}) {
    std::printf("\n%s\n", w.name);
    tvbHandle* db = databaseOf(w);
    double rawWriteTime = best([&] { rawWrite(w, rawPath); });
    double dbWriteTime = best([&] { databaseWrite(db, dbPath); });
    tvbfree(&db);
    double rawReadTime = best([&] { rawRead(rawPath); });
    double loadTime = best([&] { databaseLoad(dbPath); });
    double firstTouchLoadTime = best([&] {
      malloc_trim(0);
      databaseLoad(dbPath);
    });
    double walkTime = best([&] { databaseLoadAndWalk(dbPath); });
    double copyTime = best([&] { databaseCopy(dbPath, copyPath); });
    report("write", dbWriteTime, "raw write", rawWriteTime);
    report("load", loadTime, "raw read", rawReadTime);
    report("load, first touch", firstTouchLoadTime, "raw read", rawReadTime, false);
    report("copy before any use", copyTime, "raw read + raw write", rawReadTime + rawWriteTime);
    report("load and walk", walkTime, "raw read", rawReadTime, false);
    malloc_trim(0);
  }
  unlink(rawPath.c_str());
  unlink(dbPath.c_str());
  unlink(copyPath.c_str());
  std::printf("\n%s\n", missed ? "some targets MISSED" : "all targets met");
  return 0;
}
