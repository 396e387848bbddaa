// Case-insensitive matching of labels and symbol names: the 32-bit FNV-1a hash of the lower-cased bytes,
// and equality of equal-length strings whose bytes agree after conversion to upper case.
#pragma once

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tvb {

inline uint32_t caseInsensitiveHash(std::string_view s) {
  uint32_t h = 2166136261u;
  for (unsigned char c : s) {
    h ^= static_cast<uint32_t>(std::tolower(c));
    h *= 16777619u;
  }
  return h;
}

inline bool caseInsensitiveEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x != y && std::toupper(x) != std::toupper(y)) return false;
  }
  return true;
}

struct CaseInsensitiveHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return caseInsensitiveHash(s); }
};
struct CaseInsensitiveEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return caseInsensitiveEqual(a, b); }
};

}  // namespace tvb
