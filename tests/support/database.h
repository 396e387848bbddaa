// A database that frees itself, with short helpers over the public C interface; for tests that need more than
// the one database of their fixture.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tvbcclib.h"

namespace tvbtest {

class Database {
 public:
  // With a directory, the external libraries are looked for there.
  explicit Database(const char* directory = nullptr) {
    char msg[TRV_SSSIZE];
    EXPECT_EQ(1, directory ? tvbcreated(&db_, directory, msg, sizeof msg) : tvbcreate(&db_, msg, sizeof msg)) << msg;
  }
  ~Database() { tvbfree(&db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  operator tvbHandle*() const { return db_; }

  std::string lastError() const {
    char msg[TRV_SSSIZE];
    c__tvbgetlasterror(db_, msg);
    return msg;
  }
  // Found by name, or null.
  tvbSymbol* symbol(const char* name) const {
    tvbSymbol* sym = nullptr;
    c__tvbfindsymbol(db_, name, &sym);
    return sym;
  }
  tvbSymbol* add(const char* name, int dim, int type, int userInfo = 0, const char* text = "") {
    tvbSymbol* sym = nullptr;
    EXPECT_EQ(1, c__tvbaddsymbol(db_, name, dim, type, userInfo, text, &sym)) << lastError();
    return sym;
  }
  // Adds (or replaces) a record by labels with the caller's values; for a set, text is its element text.
  void record(tvbSymbol* sym, const std::vector<const char*>& labels, const std::vector<double>& values,
              const char* text = "") {
    int uels[GLOBAL_MAX_INDEX_DIM] = {};
    for (size_t i = 0; i < labels.size(); ++i) ASSERT_EQ(1, c__tvbmergeuel(db_, labels[i], &uels[i])) << lastError();
    double block[5] = {};
    for (size_t i = 0; i < values.size() && i < 5; ++i) block[i] = values[i];
    ASSERT_EQ(1, c__tvbaddrecordraw(db_, sym, uels, block, text)) << lastError();
  }
  // Sets the level of the record with these labels, which must exist.
  void setLevel(tvbSymbol* sym, const std::vector<const char*>& labels, double level) {
    tvbRecordHandle* rec = nullptr;
    ASSERT_EQ(1, c__tvbfindrecord(db_, sym, labels.data(), &rec)) << lastError();
    c__tvbsetlevel(db_, rec, level);
    c__tvbfreesymboliterator(db_, rec);
  }
  // The level of the record with these labels; NaN when it cannot be found.
  double level(tvbSymbol* sym, const std::vector<const char*>& labels) const {
    tvbRecordHandle* rec = nullptr;
    double value = NAN;
    if (c__tvbfindrecord(db_, sym, labels.data(), &rec)) c__tvbgetlevel(db_, rec, &value);
    if (rec) c__tvbfreesymboliterator(db_, rec);
    return value;
  }

 private:
  tvbHandle* db_ = nullptr;
};

}  // namespace tvbtest
