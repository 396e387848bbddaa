// A database with sets and symbols over them (the array tests' helpers), and violation listings: each
// violation as "symbol key marks", the marks being the indicator per position ("p c.x 10").
#pragma once

#include <string>
#include <vector>

#include "arrays/array_fixture.h"

using Violations = std::vector<std::string>;

class DomainTest : public ArrayTest {
 protected:
  // The violation under dv, or "<message>" when the handle has none.
  std::string at(tvbDVHandle* dv) {
    tvbSymbol* sym = nullptr;
    tvbRecordHandle* rec = nullptr;
    if (!c__tvbgetdvsymbol(db, dv, &sym) || !c__tvbgetdvsymbolrecord(db, dv, &rec)) return "<" + lastError() + ">";
    char name[TRV_SSSIZE];
    int dim = 0, marks[GLOBAL_MAX_INDEX_DIM];
    double unused;
    c__tvbsymbolinfo(db, sym, TRV_SYMINFO_NAME, &dim, &unused, name);
    c__tvbsymboldim(db, sym, &dim);
    std::string text = std::string(name) + " " + keyOf(rec, dim) + " ";
    c__tvbfreesymboliterator(db, rec);
    if (!c__tvbgetdvindicator(db, dv, marks)) return text + "<" + lastError() + ">";
    for (int k = 0; k < dim; ++k) text += std::to_string(marks[k]);
    return text;
  }

  // The violations from dv's to the last of its symbol, moving dv past it.
  Violations rest(tvbDVHandle* dv) {
    Violations found;
    for (int moved = dv != nullptr; moved;) {
      found.push_back(at(dv));
      EXPECT_EQ(1, c__tvbmovenextdvinsymbol(db, dv, &moved)) << lastError();
    }
    return found;
  }

  // Every violation of sym from a single-symbol check; the handle is released at the end.
  Violations violations(tvbSymbol* sym) {
    tvbDVHandle* dv = nullptr;
    EXPECT_EQ(1, c__tvbgetfirstdvinsymbol(db, sym, &dv)) << lastError();
    Violations found = rest(dv);
    c__tvbfreedvhandle(db, dv);
    return found;
  }

  // Every violation of a whole-database check, symbol by symbol; the check is closed at the end.
  Violations databaseViolations() {
    tvbDVHandle* dv = nullptr;
    EXPECT_EQ(1, c__tvbgetfirstdbdv(db, &dv)) << lastError();
    Violations found;
    for (int moved = dv != nullptr; moved;) {
      for (const std::string& violation : rest(dv)) found.push_back(violation);
      EXPECT_EQ(1, c__tvbgetfirstdvinnextsymbol(db, dv, &moved)) << lastError();
    }
    c__tvbfreedvhandle(db, dv);
    EXPECT_EQ(1, c__tvbdomaincheckdone(db));
    return found;
  }

  // A check of sym, or of the whole database when sym is null: "violated", "clean" or "refused, flag f".
  std::string check(tvbSymbol* sym = nullptr) {
    int flag = -1;
    if (!(sym ? c__tvbchecksymboldv(db, sym, &flag) : c__tvbcheckdbdv(db, &flag)))
      return "refused, flag " + std::to_string(flag);
    return flag == 1 ? "violated" : flag == 0 ? "clean" : "flag " + std::to_string(flag);
  }

  // A call's result and the last error, as "0 message".
  std::string outcome(int rc) { return std::to_string(rc) + " " + lastError(); }
};
