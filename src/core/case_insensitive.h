// Case-insensitive matching of labels and symbol names: the 32-bit FNV-1a hash of the lower-cased bytes,
// and equality of equal-length strings whose bytes agree after conversion to upper case.
#pragma once

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tvb {

// std::tolower and std::toupper of every byte, taken once when the library is loaded (the default locale),
// so that hashing and comparing labels costs a table look-up per byte instead of a library call.
struct CaseTables {
  unsigned char lower[256];
  unsigned char upper[256];
  CaseTables() {
    for (int c = 0; c < 256; ++c) {
      lower[c] = static_cast<unsigned char>(std::tolower(c));
      upper[c] = static_cast<unsigned char>(std::toupper(c));
    }
  }
};
inline const CaseTables kCaseTables;

inline uint32_t caseInsensitiveHash(std::string_view s) {
  uint32_t h = 2166136261u;
  for (unsigned char c : s) {
    h ^= kCaseTables.lower[c];
    h *= 16777619u;
  }
  return h;
}

inline bool caseInsensitiveEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x != y && kCaseTables.upper[x] != kCaseTables.upper[y]) return false;
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
