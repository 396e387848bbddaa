#include "compression.h"

#include <lz4.h>
#include <zstd.h>

#include <climits>

namespace tvf {
namespace {

// Level 1: the level that keeps writing close to the speed of an uncompressed file.
constexpr int kZstdLevel = 1;

bool WorthKeeping(size_t compressed, size_t raw) { return compressed <= raw - raw / 8; }

}  // namespace

bool Compress(Codec codec, const char *src, size_t size, std::string *out) {
  if (size == 0 || size > static_cast<size_t>(INT_MAX)) return false;
  switch (codec) {
    case Codec::kLz4: {
      out->resize(static_cast<size_t>(LZ4_compressBound(static_cast<int>(size))));
      int n = LZ4_compress_default(src, out->data(), static_cast<int>(size), static_cast<int>(out->size()));
      if (n <= 0 || !WorthKeeping(static_cast<size_t>(n), size)) return false;
      out->resize(static_cast<size_t>(n));
      return true;
    }
    case Codec::kZstd: {
      out->resize(ZSTD_compressBound(size));
      size_t n = ZSTD_compress(out->data(), out->size(), src, size, kZstdLevel);
      if (ZSTD_isError(n) || !WorthKeeping(n, size)) return false;
      out->resize(n);
      return true;
    }
    case Codec::kNone:
      break;
  }
  return false;
}

bool Decompress(Codec codec, const char *src, size_t size, char *dst, size_t raw_size) {
  if (size > static_cast<size_t>(INT_MAX) || raw_size > static_cast<size_t>(INT_MAX)) return false;
  switch (codec) {
    case Codec::kLz4: {
      int n = LZ4_decompress_safe(src, dst, static_cast<int>(size), static_cast<int>(raw_size));
      return n >= 0 && static_cast<size_t>(n) == raw_size;
    }
    case Codec::kZstd: {
      // The frame may claim any content size; ZSTD_decompress never writes beyond raw_size.
      size_t n = ZSTD_decompress(dst, raw_size, src, size);
      return !ZSTD_isError(n) && n == raw_size;
    }
    case Codec::kNone:
      break;
  }
  return false;
}

}  // namespace tvf
