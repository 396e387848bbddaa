// A table of short strings numbered from 1 (labels, element texts), their bytes in one arena: about the size
// of the strings themselves plus 4 bytes each, so that a table read from a file stays proportional to it.
#ifndef TVF_STRING_TABLE_H
#define TVF_STRING_TABLE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tvf {

class StringTable {
 public:
  int size() const { return static_cast<int>(ends_.size()); }
  // REQUIRES: 1 <= nr <= size()
  std::string_view Get(int nr) const {
    size_t begin = nr == 1 ? 0 : ends_[static_cast<size_t>(nr) - 2];
    return std::string_view(arena_).substr(begin, ends_[static_cast<size_t>(nr) - 1] - begin);
  }
  // False (nothing added) when the table is full: 2^31 - 1 strings or 4 GiB of bytes.
  bool Add(std::string_view s) {
    if (ends_.size() >= 0x7fffffff || arena_.size() + s.size() > UINT32_MAX) return false;
    // All or nothing when memory runs out: room for the end first, then the bytes.
    if (ends_.size() == ends_.capacity()) ends_.reserve(ends_.empty() ? 16 : ends_.size() * 2);
    arena_.append(s);
    ends_.push_back(static_cast<uint32_t>(arena_.size()));
    return true;
  }
  void Reserve(size_t count, size_t bytes) {
    ends_.reserve(count);
    arena_.reserve(bytes);
  }
  void Clear() {
    arena_.clear();
    ends_.clear();
  }

 private:
  std::string arena_;
  std::vector<uint32_t> ends_;
};

}  // namespace tvf

#endif
