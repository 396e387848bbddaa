// A database per test, and short helpers over the public C interface.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tvbcclib.h"

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char msg[TRV_SSSIZE];
    ASSERT_EQ(1, tvbcreate(&db, msg, sizeof msg)) << msg;
  }
  void TearDown() override { tvbfree(&db); }

  std::string lastError() {
    char msg[TRV_SSSIZE];
    c__tvbgetlasterror(db, msg);
    return msg;
  }

  tvbSymbol* addSymbol(const char* name, int dim, int type, int userInfo = 0) {
    tvbSymbol* sym = nullptr;
    EXPECT_EQ(1, c__tvbaddsymbol(db, name, dim, type, userInfo, "", &sym)) << lastError();
    return sym;
  }

  // Adds a record by labels and returns its handle (to be freed by the caller), or null.
  tvbRecordHandle* add(tvbSymbol* sym, std::vector<const char*> labels) {
    tvbRecordHandle* rec = nullptr;
    c__tvbaddrecord(db, sym, labels.data(), &rec);
    return rec;
  }
  void addAndFree(tvbSymbol* sym, std::vector<const char*> labels) {
    tvbRecordHandle* rec = add(sym, labels);
    ASSERT_NE(nullptr, rec) << lastError();
    c__tvbfreesymboliterator(db, rec);
  }
  tvbSymbol* symbol(const char* name) {
    tvbSymbol* sym = nullptr;
    EXPECT_EQ(1, c__tvbfindsymbol(db, name, &sym)) << lastError();
    return sym;
  }
  tvbRecordHandle* find(tvbSymbol* sym, std::vector<const char*> labels) {
    tvbRecordHandle* rec = nullptr;
    c__tvbfindrecord(db, sym, labels.data(), &rec);
    return rec;
  }

  // The labels of the record under rec, joined with '.'.
  std::string keyOf(tvbRecordHandle* rec, int dim) {
    char buffers[GLOBAL_MAX_INDEX_DIM][TRV_SSSIZE];
    char* labels[GLOBAL_MAX_INDEX_DIM];
    for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) labels[i] = buffers[i];
    if (!c__tvbgetkeys(db, rec, dim, labels)) return "<" + lastError() + ">";
    std::string key;
    for (int i = 0; i < dim; ++i) key += (i ? "." : "") + std::string(labels[i]);
    return key;
  }

  // Every key of sym in walking order.
  std::vector<std::string> keys(tvbSymbol* sym) {
    std::vector<std::string> result;
    int dim = 0;
    c__tvbsymboldim(db, sym, &dim);
    tvbRecordHandle* rec = nullptr;
    if (!c__tvbfindfirstrecord(db, sym, &rec)) return result;
    do result.push_back(keyOf(rec, dim));
    while (c__tvbrecordmovenext(db, rec));
    c__tvbfreesymboliterator(db, rec);
    return result;
  }

  int intInfo(tvbSymbol* sym, int key) {
    int value = -1;
    double unused;
    char text[TRV_SSSIZE];
    EXPECT_EQ(1, c__tvbsymbolinfo(db, sym, key, &value, &unused, text)) << lastError();
    return value;
  }

  // The last error after a call that must fail (rc 0); "<no failure>" when it did not fail.
  std::string errorOf(int rc) { return rc == 0 ? lastError() : "<no failure>"; }
  // The level of the record under rec; -1 when there is none or it cannot be read.
  double level(tvbRecordHandle* rec) {
    double value = -1;
    if (rec) c__tvbgetlevel(db, rec, &value);
    return value;
  }
  // The element text of the record under rec, or <the last error>.
  std::string elemText(tvbRecordHandle* rec) {
    char text[TRV_SSSIZE];
    return c__tvbgetelemtext(db, rec, text) ? text : "<" + lastError() + ">";
  }
  // The Universe ("*") of this database, or of another one.
  tvbSymbol* universe(tvbHandle* of = nullptr) {
    tvbSymbol* sym = nullptr;
    EXPECT_EQ(1, c__tvbfindsymbol(of ? of : db, "*", &sym));
    return sym;
  }
  // Registers label (if new) and returns its number; 0 when it is refused.
  int uel(const char* label, tvbHandle* of = nullptr) {
    int nr = 0;
    c__tvbmergeuel(of ? of : db, label, &nr);
    return nr;
  }
  // The database's symbol or label count (TRV_INFO_...), of this database or another one.
  int dbInfo(int key, tvbHandle* of = nullptr) {
    int value = -1;
    double unused;
    char text[TRV_SSSIZE];
    EXPECT_EQ(1, c__tvbinfo(of ? of : db, key, &value, &unused, text)) << lastError();
    return value;
  }

  tvbHandle* db = nullptr;
};
