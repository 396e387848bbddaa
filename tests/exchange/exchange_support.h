// Helpers of the data-exchange tests: a scratch directory for files, a database that frees itself, and a
// readable dump of a database (symbols, domains, records with bit-exact values and element texts) so that
// two databases can be compared record by record.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tvbcclib.h"
#include "tvf.h"

namespace exchange_test {

// A fresh directory under the system's temporary directory, removed with its files afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

 private:
  std::string dir_;
};

// A database for one test.
class Database {
 public:
  Database();
  ~Database() { tvbfree(&db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  operator tvbHandle*() const { return db_; }
  tvbHandle* get() const { return db_; }

  std::string lastError() const;
  tvbSymbol* symbol(const char* name) const;  // found by name, or null
  tvbSymbol* add(const char* name, int dim, int type, int userInfo = 0, const char* text = "");
  // Adds (or replaces) a record by labels with the caller's values; for a set, text is its element text.
  void record(tvbSymbol* sym, const std::vector<const char*>& labels, const std::vector<double>& values,
              const char* text = "");

 private:
  tvbHandle* db_ = nullptr;
};

// Writes a TVF file through the TVF library's own interface, for files that a database would not write
// (texts held twice, unusual subtypes). Keys are the file's label numbers.
class TvfFileWriter {
 public:
  TvfFileWriter(const std::string& path, const std::vector<std::string>& labels,
                const std::vector<std::string>& texts = {});
  ~TvfFileWriter();
  TvfFileWriter(const TvfFileWriter&) = delete;
  TvfFileWriter& operator=(const TvfFileWriter&) = delete;

  struct Record {
    std::vector<int> key;
    std::vector<double> values;
  };
  void alias(const char* name, const char* set);
  // relaxedDomain: names stored unchecked; empty for none.
  void symbol(const char* name, int dim, int type, int subtype, const std::vector<Record>& records,
              const std::vector<const char*>& relaxedDomain = {}, const char* text = "");
  // Finishes the file; the test fails when the library logged an error.
  void close();

 private:
  tvfHandle_t pt_ = nullptr;
  int symbols_ = 0;
  bool closed_ = false;
};

// One line per record: labels joined by '.', the values as bit patterns (special values by name), and the
// element text of a set record.
std::vector<std::string> recordLines(tvbHandle* db, tvbSymbol* sym);

// A symbol's description: name, type, subtype, dimension, text and domain names.
std::string describe(tvbHandle* db, tvbSymbol* sym);

// Every symbol reachable by index, described and with its records.
std::vector<std::string> dump(tvbHandle* db);

// The first use of a symbol after the file was closed fails with this text exactly when the symbol had
// never been read from the file.
std::string neverLoadedMessage(const std::string& name);

// True when symbol name's first use fails because it was never read (the file must be closed).
bool wasNeverLoaded(tvbHandle* db, const char* name);

// Spoils a byte of the first record block of a TVF file (it follows the 64-byte header), so that the first
// symbol written cannot be read while the file still opens.
void damageFirstRecordBlock(const std::string& path);

}  // namespace exchange_test
