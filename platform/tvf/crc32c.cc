#include "crc32c.h"

#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <nmmintrin.h>
#endif

namespace tvf {
namespace {

constexpr uint32_t kPolynomial = 0x82f63b78;  // reflected Castagnoli polynomial

// Slicing-by-8 tables: table[k][b] is the CRC of byte b followed by k zero bytes.
constexpr std::array<std::array<uint32_t, 256>, 8> MakeTables() {
  std::array<std::array<uint32_t, 256>, 8> t{};
  for (uint32_t b = 0; b < 256; ++b) {
    uint32_t c = b;
    for (int i = 0; i < 8; ++i) c = (c >> 1) ^ ((c & 1) ? kPolynomial : 0);
    t[0][b] = c;
  }
  for (int k = 1; k < 8; ++k) {
    for (int b = 0; b < 256; ++b) t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xff];
  }
  return t;
}

constexpr auto kTables = MakeTables();

#if defined(__x86_64__)
__attribute__((target("sse4.2"))) uint32_t ExtendHardware(uint32_t crc, const unsigned char *p, size_t n) {
  uint64_t c = ~crc;
  while (n >= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    c = _mm_crc32_u64(c, word);
    p += 8;
    n -= 8;
  }
  auto c32 = static_cast<uint32_t>(c);
  while (n > 0) {
    c32 = _mm_crc32_u8(c32, *p++);
    --n;
  }
  return ~c32;
}

bool HasHardwareCrc() {
  static const bool has = [] {
    __builtin_cpu_init();  // needed when called before the runtime's own initialisation has run
    return __builtin_cpu_supports("sse4.2") != 0;
  }();
  return has;
}
#endif

}  // namespace

uint32_t Crc32cExtendPortable(uint32_t crc, const void *data, size_t size) {
  const auto *p = static_cast<const unsigned char *>(data);
  uint32_t c = ~crc;
  while (size >= 8) {
    uint32_t lo;
    uint32_t hi;
    std::memcpy(&lo, p, 4);  // the format and this loop assume a little-endian machine
    std::memcpy(&hi, p + 4, 4);
    lo ^= c;
    c = kTables[7][lo & 0xff] ^ kTables[6][(lo >> 8) & 0xff] ^ kTables[5][(lo >> 16) & 0xff] ^ kTables[4][lo >> 24] ^
        kTables[3][hi & 0xff] ^ kTables[2][(hi >> 8) & 0xff] ^ kTables[1][(hi >> 16) & 0xff] ^ kTables[0][hi >> 24];
    p += 8;
    size -= 8;
  }
  while (size > 0) {
    c = (c >> 8) ^ kTables[0][(c ^ *p++) & 0xff];
    --size;
  }
  return ~c;
}

uint32_t Crc32cExtend(uint32_t crc, const void *data, size_t size) {
#if defined(__x86_64__)
  if (HasHardwareCrc()) return ExtendHardware(crc, static_cast<const unsigned char *>(data), size);
#endif
  return Crc32cExtendPortable(crc, data, size);
}

}  // namespace tvf
