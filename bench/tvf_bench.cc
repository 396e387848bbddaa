// The TVF file library on 2,000,000 records (2,000 x 1,000 labels): a parameter, the same parameter with
// values rounded to cents, and a variable with five values. Each is written and read back (open and read
// all records) through the library's C interface, beside two baselines in the same run: raw fwrite/fread
// of packed rows and an on-disk SQLite table. Prints ns and bytes per record and the ratios against the
// targets, then the block codecs (lz4, zstd) measured end to end and on the library's own record chunks.
// Usage: tvf_bench [directory for the files] (default: the current directory).
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "compression.h"
#include "record_codec.h"
#include "special_values.h"
#include "tvf.h"

namespace {

constexpr int kRows = 2000, kCols = 1000;
constexpr long kRecords = long(kRows) * kCols;

using bench::sink;
inline double Seconds(const std::function<void()> &work) { return bench::seconds(work); }
inline double Best(const std::function<void()> &work, int runs = 3) { return bench::bestSeconds(work, runs); }

long FileSize(const std::string &path) {
  FILE *f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return -1;
  std::fseek(f, 0, SEEK_END);
  long size = std::ftell(f);
  std::fclose(f);
  return size;
}

struct Workload {
  const char *name;
  int type;                    // 1 parameter, 2 variable
  int value_count;             // 1 or 5
  std::vector<double> values;  // value_count per record, records in key order
};

Workload MakeParameter(bool rounded) {
  Workload w{rounded ? "parameter, values in cents" : "parameter, random values", 1, 1, {}};
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> u(0, 1000);
  w.values.resize(kRecords);
  for (double &v : w.values) v = rounded ? std::round(u(rng) * 100) / 100 : u(rng);
  return w;
}

Workload MakeVariable() {
  Workload w{"variable, five values", 2, 5, {}};
  std::mt19937_64 rng(2);
  std::uniform_real_distribution<double> u(0, 1000);
  w.values.resize(kRecords * 5);
  for (long r = 0; r < kRecords; ++r) {
    double *v = &w.values[static_cast<size_t>(r) * 5];
    v[0] = u(rng);                                   // level
    v[1] = r % 3 == 0 ? u(rng) : 0.0;                // marginal
    v[2] = 0.0;                                      // lower
    v[3] = std::numeric_limits<double>::infinity();  // upper
    v[4] = 1.0;                                      // scale
  }
  return w;
}

// ---- TVF through its C interface

void TvfWrite(const Workload &w, const std::string &path, int codec) {
  tvfHandle_t pt;
  XCreate(&pt);
  tvfSetCompression(pt, codec);
  int err = 0;
  if (!CtvfOpenWrite(pt, path.c_str(), "tvf_bench", &err)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
  tvfUELRegisterRawStart(pt);
  for (int i = 0; i < kRows; ++i) CtvfUELRegisterRaw(pt, ("i" + std::to_string(i)).c_str());
  for (int j = 0; j < kCols; ++j) CtvfUELRegisterRaw(pt, ("j" + std::to_string(j)).c_str());
  tvfUELRegisterDone(pt);
  CtvfDataWriteRawStart(pt, "x", "benchmark symbol", 2, w.type, 0);
  int key[20] = {};
  double values[5] = {};
  const double *v = w.values.data();
  for (int i = 0; i < kRows; ++i) {
    key[0] = i + 1;
    for (int j = 0; j < kCols; ++j) {
      key[1] = kRows + j + 1;
      std::memcpy(values, v, sizeof(double) * static_cast<size_t>(w.value_count));
      v += w.value_count;
      tvfDataWriteRaw(pt, key, values);
    }
  }
  tvfDataWriteDone(pt);
  if (tvfErrorCount(pt) != 0 || !tvfClose(pt)) {
    std::fprintf(stderr, "writing %s failed\n", path.c_str());
    std::exit(1);
  }
  XFree(&pt);
}

void TvfRead(const std::string &path) {
  tvfHandle_t pt;
  XCreate(&pt);
  int err = 0;
  if (!CtvfOpenRead(pt, path.c_str(), &err)) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    std::exit(1);
  }
  int count = 0;
  tvfDataReadRawStart(pt, 1, &count);
  int key[20];
  double values[5];
  int first;
  double sum = 0;
  long keys = 0;
  for (int r = 0; r < count; ++r) {
    tvfDataReadRaw(pt, key, values, &first);
    sum += values[0];
    keys += key[1];
  }
  tvfDataReadDone(pt);
  tvfClose(pt);
  XFree(&pt);
  if (count != kRecords) {
    std::fprintf(stderr, "read %d records of %s\n", count, path.c_str());
    std::exit(1);
  }
  sink = sum + static_cast<double>(keys);
}

// The floor under reading a file through a call per record: the file's own bytes read into a fresh buffer,
// and one call into the library per record (one that does nothing but answer).
void ReadFloor(const std::string &path) {
  tvfHandle_t pt;
  XCreate(&pt);
  std::vector<char> buffer(static_cast<size_t>(FileSize(path)));
  FILE *f = std::fopen(path.c_str(), "rb");
  size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
  std::fclose(f);
  long answers = 0;
  for (long r = 0; r < kRecords; ++r) answers += tvfErrorCount(pt);
  XFree(&pt);
  sink = static_cast<double>(answers + static_cast<long>(got));
}

// ---- raw packed rows: two int32 labels and the values

void RawWrite(const Workload &w, const std::string &path) {
  const size_t row = 8 + 8 * static_cast<size_t>(w.value_count);
  std::vector<char> buffer(row * kRecords);
  char *p = buffer.data();
  const double *v = w.values.data();
  for (int i = 0; i < kRows; ++i) {
    for (int j = 0; j < kCols; ++j) {
      int key[2] = {i + 1, kRows + j + 1};
      std::memcpy(p, key, 8);
      std::memcpy(p + 8, v, row - 8);
      p += row;
      v += w.value_count;
    }
  }
  FILE *f = std::fopen(path.c_str(), "wb");
  std::fwrite(buffer.data(), 1, buffer.size(), f);
  std::fclose(f);
}

void RawRead(const Workload &w, const std::string &path) {
  const size_t row = 8 + 8 * static_cast<size_t>(w.value_count);
  std::vector<char> buffer(row * kRecords);
  FILE *f = std::fopen(path.c_str(), "rb");
  size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
  std::fclose(f);
  double sum = 0;
  long keys = 0;
  for (size_t r = 0; r < got / row; ++r) {
    int key[2];
    double value;
    std::memcpy(key, &buffer[r * row], 8);
    std::memcpy(&value, &buffer[r * row + 8], 8);
    sum += value;
    keys += key[1];
  }
  sink = sum + static_cast<double>(keys);
}

// ---- an on-disk SQLite table

void Check(int rc, sqlite3 *db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

void SqliteWrite(const Workload &w, const std::string &path) {
  unlink(path.c_str());
  sqlite3 *db;
  Check(sqlite3_open(path.c_str(), &db), db);
  // No syncing, as the other writers do not sync either.
  Check(sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr), db);
  std::string create = "CREATE TABLE x(i INTEGER, j INTEGER";
  for (int k = 0; k < w.value_count; ++k) create += ", v" + std::to_string(k) + " REAL";
  create += ", PRIMARY KEY(i, j)) WITHOUT ROWID";
  Check(sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr), db);
  Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
  std::string insert = "INSERT INTO x VALUES (?, ?";
  for (int k = 0; k < w.value_count; ++k) insert += ", ?";
  insert += ")";
  sqlite3_stmt *stmt;
  Check(sqlite3_prepare_v2(db, insert.c_str(), -1, &stmt, nullptr), db);
  const double *v = w.values.data();
  for (int i = 0; i < kRows; ++i) {
    for (int j = 0; j < kCols; ++j) {
      sqlite3_bind_int(stmt, 1, i + 1);
      sqlite3_bind_int(stmt, 2, kRows + j + 1);
      for (int k = 0; k < w.value_count; ++k) sqlite3_bind_double(stmt, 3 + k, v[k]);
      v += w.value_count;
      Check(sqlite3_step(stmt), db);
      sqlite3_reset(stmt);
    }
  }
  sqlite3_finalize(stmt);
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  sqlite3_close(db);
}

void SqliteRead(const std::string &path) {
  sqlite3 *db;
  Check(sqlite3_open(path.c_str(), &db), db);
  sqlite3_stmt *stmt;
  Check(sqlite3_prepare_v2(db, "SELECT * FROM x ORDER BY i, j", -1, &stmt, nullptr), db);
  double sum = 0;
  long keys = 0;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    keys += sqlite3_column_int(stmt, 1);
    sum += sqlite3_column_double(stmt, 2);
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  sink = sum + static_cast<double>(keys);
}

// ---- codecs on the library's own record chunks

struct CodecFigures {
  double ratio, compress_mbs, decompress_mbs;
};

std::vector<std::string> Chunks(const Workload &w) {
  tvf::SpecialValues specials;
  tvf::RecordEncoder encoder(2, w.value_count, &specials);
  std::vector<std::string> chunks;
  std::string chunk;
  const double *v = w.values.data();
  for (int i = 0; i < kRows; ++i) {
    for (int j = 0; j < kCols; ++j) {
      int32_t key[2] = {i + 1, kRows + j + 1};
      char record[tvf::kMaxRecordSize];
      chunk.append(record, static_cast<size_t>(encoder.Encode(key, v, record) - record));
      v += w.value_count;
      if (chunk.size() >= 128 * 1024) {
        chunks.push_back(chunk);
        chunk.clear();
        encoder.Reset();
      }
    }
  }
  if (!chunk.empty()) chunks.push_back(chunk);
  return chunks;
}

CodecFigures MeasureCodec(const std::vector<std::string> &chunks, tvf::Codec codec) {
  size_t raw = 0, stored = 0;
  std::vector<std::string> compressed(chunks.size());
  std::vector<bool> kept(chunks.size());
  double c = Best([&] {
    raw = stored = 0;
    for (size_t i = 0; i < chunks.size(); ++i) {
      kept[i] = tvf::Compress(codec, chunks[i].data(), chunks[i].size(), &compressed[i]);
      raw += chunks[i].size();
      stored += kept[i] ? compressed[i].size() : chunks[i].size();
    }
  });
  std::vector<char> out(256 * 1024);
  size_t decompressed = 0;
  double d = Best([&] {
    decompressed = 0;
    for (size_t i = 0; i < chunks.size(); ++i) {
      if (!kept[i]) continue;
      tvf::Decompress(codec, compressed[i].data(), compressed[i].size(), out.data(), chunks[i].size());
      decompressed += chunks[i].size();
    }
  });
  return {double(raw) / double(stored), raw / c / 1e6, decompressed > 0 ? decompressed / d / 1e6 : 0.0};
}

int failures = 0;

void Report(const char *what, double ours, double theirs, const char *baseline, double target, bool at_most) {
  double ratio = at_most ? ours / theirs : theirs / ours;
  bool met = at_most ? ratio <= target : ratio >= target;
  if (!met) ++failures;
  std::printf("  %-28s %9.1f ns  %-8s %9.1f ns  %7.2fx  (target %s %.0fx) %s\n", what, ours * 1e9 / kRecords, baseline,
              theirs * 1e9 / kRecords, ratio, at_most ? "<=" : ">=", target, met ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char **argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  const std::string tvf_path = dir + "/tvf_bench.tvf", raw_path = dir + "/tvf_bench.raw",
                    sql_path = dir + "/tvf_bench.sqlite";
  std::printf("TVF file library: %ld records (%d x %d labels), 2-dim keys, files in %s\n", kRecords, kRows, kCols,
              dir.c_str());
  std::printf("  %-28s %12s  %-8s %12s  %8s\n", "", "TVF", "baseline", "", "ratio");

  std::vector<Workload> workloads;
  workloads.push_back(MakeParameter(false));
  workloads.push_back(MakeParameter(true));
  workloads.push_back(MakeVariable());
  for (const Workload &w : workloads) {
    std::printf("\n%s\n", w.name);
    double tvf_write = Best([&] { TvfWrite(w, tvf_path, 0); });
    double tvf_read = Best([&] { TvfRead(tvf_path); });
    long tvf_size = FileSize(tvf_path);
    double raw_write = Best([&] { RawWrite(w, raw_path); });
    double raw_read = Best([&] { RawRead(w, raw_path); });
    long raw_size = FileSize(raw_path);
    double sql_write = Seconds([&] { SqliteWrite(w, sql_path); });
    double sql_read = Seconds([&] { SqliteRead(sql_path); });
    long sql_size = FileSize(sql_path);
    std::printf("  %-28s %9.1f ns  %-8s %9.1f ns\n", "write", tvf_write * 1e9 / kRecords, "raw",
                raw_write * 1e9 / kRecords);
    Report("open, tvfDataReadRaw all", tvf_read, raw_read, "fread", 3, true);
    const double floor = Best([&] { ReadFloor(tvf_path); });
    std::printf("  %-28s %9.1f ns  (%.2fx fread of packed rows): the file's bytes and a call per record\n",
                "floor of a read per record", floor * 1e9 / kRecords, floor / raw_read);
    Report("write + read vs raw", tvf_write + tvf_read, raw_write + raw_read, "raw", 4, true);
    Report("write + read vs SQLite", tvf_write + tvf_read, sql_write + sql_read, "SQLite", 50, false);
    std::printf("  %-28s %9.2f B   raw %.2f B, SQLite %.2f B", "file size per record", double(tvf_size) / kRecords,
                double(raw_size) / kRecords, double(sql_size) / kRecords);
    if (w.type == 1 && w.values.size() == kRecords && std::string(w.name).find("random") != std::string::npos) {
      bool met = double(tvf_size) / kRecords <= 11;
      if (!met) ++failures;
      std::printf("  (target <= 11 B) %s", met ? "ok" : "MISSED");
    }
    std::printf("\n");
    for (int codec : {1, 2}) {
      double cw = Best([&] { TvfWrite(w, tvf_path, codec); });
      double cr = Best([&] { TvfRead(tvf_path); });
      std::printf("  %-28s write %6.1f ns, read %6.1f ns, %5.2f B per record (%.2fx the uncompressed time)\n",
                  codec == 1 ? "with lz4 chunks" : "with zstd-1 chunks", cw * 1e9 / kRecords, cr * 1e9 / kRecords,
                  double(FileSize(tvf_path)) / kRecords, (cw + cr) / (tvf_write + tvf_read));
    }
    std::vector<std::string> chunks = Chunks(w);
    for (tvf::Codec codec : {tvf::Codec::kLz4, tvf::Codec::kZstd}) {
      CodecFigures f = MeasureCodec(chunks, codec);
      std::printf("  %-28s ratio %5.2fx, compress %6.0f MB/s, ",
                  codec == tvf::Codec::kLz4 ? "chunks alone, lz4" : "chunks alone, zstd-1", f.ratio, f.compress_mbs);
      if (f.decompress_mbs > 0) {
        std::printf("decompress %6.0f MB/s\n", f.decompress_mbs);
      } else {
        std::printf("no chunk worth compressing (kept raw)\n");
      }
    }
  }
  unlink(tvf_path.c_str());
  unlink(raw_path.c_str());
  unlink(sql_path.c_str());
  std::printf("\n%s\n", failures ? "some targets missed" : "all targets met");
  return 0;
}
