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

  tvbHandle* db = nullptr;
};
