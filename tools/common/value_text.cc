#include "value_text.h"

#include <charconv>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace tvftools {
namespace {

constexpr uint64_t kMarkerBase = 0x7ff0dead00000000ULL;  // + 1..5 for UNDF, NA, PINF, MINF, EPS
constexpr const char *kNames[5] = {"UNDF", "NA", "+INF", "-INF", "EPS"};

uint64_t Bits(double v) {
  uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

}  // namespace

void MarkerSpecialValues(double *values) {
  for (int i = 0; i < 5; ++i) {
    uint64_t b = kMarkerBase + static_cast<uint64_t>(i) + 1;
    std::memcpy(&values[i], &b, sizeof b);
  }
}

std::string ValueText(double v) {
  const uint64_t bits = Bits(v);
  if (bits > kMarkerBase && bits <= kMarkerBase + 5) return kNames[bits - kMarkerBase - 1];
  if (v != v) {
    char text[48];
    std::snprintf(text, sizeof text, "nan(0x%016" PRIx64 ")", bits);
    return text;
  }
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, v);
  return std::string(text, result.ptr);
}

}  // namespace tvftools
