// A database with sets and symbols over them (the array tests' helpers), and helpers for violation handles.
#pragma once

#include <string>
#include <vector>

#include "arrays/array_fixture.h"

class DomainTest : public ArrayTest {
 protected:
  // The labels of the record under a violation handle, joined with '.', or "<message>" when it has none.
  std::string violationKey(tvbDVHandle* dv) {
    tvbRecordHandle* rec = nullptr;
    if (!c__tvbgetdvsymbolrecord(db, dv, &rec)) return "<" + lastError() + ">";
    tvbSymbol* sym = nullptr;
    c__tvbgetdvsymbol(db, dv, &sym);
    int dim = 0;
    c__tvbsymboldim(db, sym, &dim);
    std::string key = keyOf(rec, dim);
    c__tvbfreesymboliterator(db, rec);
    return key;
  }

  std::vector<int> indicator(tvbDVHandle* dv, int dim) {
    std::vector<int> marks(dim, -1);
    if (!c__tvbgetdvindicator(db, dv, marks.data())) return {};
    return marks;
  }

  std::string symbolName(tvbDVHandle* dv) {
    tvbSymbol* sym = nullptr;
    if (!c__tvbgetdvsymbol(db, dv, &sym)) return "<" + lastError() + ">";
    char name[TRV_SSSIZE];
    int unused;
    double unusedDouble;
    c__tvbsymbolinfo(db, sym, TRV_SYMINFO_NAME, &unused, &unusedDouble, name);
    return name;
  }

  // Every violation of sym from a single-symbol check, as keys; the handle is released at the end.
  std::vector<std::string> violations(tvbSymbol* sym) {
    std::vector<std::string> found;
    tvbDVHandle* dv = nullptr;
    EXPECT_EQ(1, c__tvbgetfirstdvinsymbol(db, sym, &dv)) << lastError();
    int moved = dv != nullptr;
    while (moved) {
      found.push_back(violationKey(dv));
      EXPECT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved));
    }
    c__tvbfreedvhandle(db, dv);
    return found;
  }
};
