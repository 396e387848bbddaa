// DictionarySearch: the columns (of a variable) or rows (of an equation) of one dictionary symbol, in index
// order. The search is closed when the object goes, so that every return of its user closes it.
#pragma once

#include <new>

#include "loaders/dctmcc.h"
#include "tvbcclib.h"

namespace tvb::model {

class DictionarySearch {
 public:
  // Starts the search over every entry of symbol symNr (no key position restricted). REQUIRES: symNr is a
  // symbol of dct. The dictionary makes a search even for a symbol without entries, so no search is its
  // shortage of memory (std::bad_alloc), not an empty symbol.
  DictionarySearch(dctHandle_t dct, int symNr) : dct_(dct) {
    const int anyLabel[GLOBAL_MAX_INDEX_DIM] = {};
    search_ = dct::ops.dctFindFirstRowCol(dct_, symNr, anyLabel, &current_);
    if (!search_) throw std::bad_alloc();
  }
  ~DictionarySearch() {
    if (search_) dct::ops.dctFindClose(dct_, search_);
  }
  DictionarySearch(const DictionarySearch&) = delete;
  DictionarySearch& operator=(const DictionarySearch&) = delete;

  // The index of the current entry; below 0 once there is none.
  int current() const { return current_; }
  void next() {
    if (!search_ || dct::ops.dctFindNextRowCol(dct_, search_, &current_) == 0) current_ = -1;
  }

 private:
  dctHandle_t dct_;
  void* search_ = nullptr;
  int current_ = -1;
};

}  // namespace tvb::model
