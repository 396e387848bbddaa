// A database with helpers for array transfers: sets with records in a given order, symbols over domain sets,
// reads into junk-filled cubes shown as text, and the contents of a symbol as key -> first value.
#pragma once

#include <algorithm>
#include <charconv>
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

  // Reads sym into a cube of Cell (int for a set) filled with junk (-99.5, or -1): dense without domains, sparse
  // over domains, squeezed with squeeze sets too. The outcome as text: the cells (shortest exact form) or, when
  // the read was refused, the last error; then " dropped n" for a read over domains.
  template <class Cell = double>
  std::string read(tvbSymbol* sym, std::vector<int> extents, std::vector<tvbSymbol*> domains = {},
                   std::vector<tvbSymbol*> squeeze = {}, int field = 0) {
    std::vector<Cell> cube(cells(extents), Cell(sizeof(Cell) == sizeof(int) ? -1 : -99.5));
    int dropped = 7, rc;
    if (domains.empty()) {
      rc = c__tvbdensesymboltodensearray(db, cube.data(), extents.data(), sym, field);
    } else if (squeeze.empty()) {
      rc = c__tvbsparsesymboltodensearray(db, cube.data(), extents.data(), sym, domains.data(), field, &dropped);
    } else {
      rc = c__tvbsparsesymboltosqzdarray(db, cube.data(), extents.data(), sym, squeeze.data(), domains.data(), field,
                                         &dropped);
    }
    std::string text = rc ? "" : lastError();
    for (size_t k = 0; k < cube.size() && rc; ++k) {
      char cell[32];
      text += (k ? " " : "") + std::string(cell, std::to_chars(cell, cell + sizeof cell, cube[k]).ptr);
    }
    return domains.empty() ? text : text + " dropped " + std::to_string(dropped);
  }

  // Writes a cube of Cell (int for a set; zeros past the cells given) over domains, through slices when given:
  // "" when the write succeeded, else the last error.
  template <class Cell = double>
  std::string write(tvbSymbol* sym, std::vector<tvbSymbol*> domains, std::vector<int> extents,
                    std::vector<Cell> cube = {}, std::vector<tvbSymbol*> slices = {}) {
    cube.resize(std::max(cube.size(), cells(extents)));
    const int rc = slices.empty() ? c__tvbdensearraytosymbol(db, sym, domains.data(), cube.data(), extents.data())
                                  : c__tvbdensearrayslicestosymbol(db, sym, slices.data(), domains.data(), cube.data(),
                                                                   extents.data());
    return rc ? "" : lastError();
  }

  // Room for a cube of these extents (taken as positive), at least one cell.
  static size_t cells(const std::vector<int>& extents) {
    size_t count = 1;
    for (int extent : extents) count *= static_cast<size_t>(extent < 0 ? -extent : extent);
    return count ? count : 1;
  }

  // Every record as "label.label" -> its first value (a set record: its element-text number).
  std::map<std::string, double> contents(tvbSymbol* sym) {
    std::map<std::string, double> result;
    int dim = 0;
    c__tvbsymboldim(db, sym, &dim);
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
