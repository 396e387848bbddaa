// A database with helpers for array transfers: sets with records in a given order, symbols over domain sets,
// and the contents of a symbol as key -> level.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/database_fixture.h"

class ArrayTest : public DatabaseTest {
 protected:
  // Registers labels in this order, so that their numbers (and the store order) are known.
  void labels(std::vector<const char*> texts) {
    int nr;
    for (const char* text : texts) ASSERT_EQ(1, c__tvbmergeuel(db, text, &nr));
  }

  tvbSymbol* set(const char* name, std::vector<const char*> elements) {
    tvbSymbol* s = addSymbol(name, 1, TRV_DT_SET);
    for (const char* e : elements) addAndFree(s, {e});
    return s;
  }

  // A symbol whose domain at each position is the given set.
  tvbSymbol* over(const char* name, int type, std::vector<tvbSymbol*> domains, int userInfo = 0) {
    std::vector<const char*> names(domains.size(), "");
    tvbSymbol* sym = nullptr;
    EXPECT_EQ(1, c__tvbaddsymbolx(db, name, static_cast<int>(domains.size()), type, userInfo, "", domains.data(),
                                  names.data(), &sym))
        << lastError();
    return sym;
  }

  void put(tvbSymbol* sym, std::vector<const char*> key, double level) {
    tvbRecordHandle* rec = add(sym, key);
    ASSERT_NE(nullptr, rec) << lastError();
    c__tvbsetlevel(db, rec, level);
    c__tvbfreesymboliterator(db, rec);
  }

  // Every record as "label.label" -> its first value (a set record: its element-text number).
  std::map<std::string, double> contents(tvbSymbol* sym) {
    std::map<std::string, double> result;
    int dim = 0, type = 0;
    c__tvbsymboldim(db, sym, &dim);
    c__tvbsymboltype(db, sym, &type);
    tvbRecordHandle* rec = nullptr;
    if (!c__tvbfindfirstrecord(db, sym, &rec)) return result;
    do {
      int uels[GLOBAL_MAX_INDEX_DIM];
      double values[5];
      c__tvbgetrecordraw(db, rec, dim, uels, values);
      result[keyOf(rec, dim)] = values[0];
    } while (c__tvbrecordmovenext(db, rec));
    c__tvbfreesymboliterator(db, rec);
    return result;
  }

  int recordCount(tvbSymbol* sym) { return intInfo(sym, TRV_SYMINFO_RECORD_COUNT); }
};
