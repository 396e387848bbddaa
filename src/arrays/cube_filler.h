// Fills a reader's cube, whose cells that no record reaches must end up 0. Instead of clearing every cell before
// placing the records, it zeroes the cells between the highest one written so far and the next one beyond it,
// and the rest when done: each cell is written about once, a whole pass over the caller's memory fewer. Records
// may come in any cell order; one below the highest overwrites a cell that is already 0.
//
// Whatever happens, the cube is all set when the filler goes, so a read refused after the point where the cube
// counts as cleared leaves it cleared.
#pragma once

#include <algorithm>
#include <cstdint>

namespace tvb::arrays {

template <class Cell>
class CubeFiller {
 public:
  CubeFiller(void* cube, int64_t cells) : cube_(static_cast<Cell*>(cube)), cells_(cells) {}
  ~CubeFiller() { finish(); }
  CubeFiller(const CubeFiller&) = delete;
  CubeFiller& operator=(const CubeFiller&) = delete;

  void put(int64_t cell, Cell value) {
    if (cell >= high_) {
      for (int64_t gap = high_; gap < cell; ++gap) cube_[gap] = Cell{};  // usually none: records fill in order
      high_ = cell + 1;
    }
    cube_[cell] = value;
  }

  // Zeroes the cells beyond the highest one written.
  void finish() {
    std::fill(cube_ + high_, cube_ + cells_, Cell{});
    high_ = cells_;
  }

 private:
  Cell* cube_;
  int64_t cells_;
  int64_t high_ = 0;  // every cell below is final: written or zeroed
};

}  // namespace tvb::arrays
