// Block compression of record chunks. The reader understands every codec; the writer uses the one chosen
// with tvfSetCompression and keeps a chunk uncompressed when compression does not pay.
//
// Measured by bench/tvf_bench on the record chunks of the benchmark workloads (2,000,000 records; this
// 2-core machine; MB/s of uncompressed chunk bytes):
//   workload                      codec    ratio   compress    decompress
//   parameter, random values      lz4      1.00x   (kept raw)  -
//                                 zstd-1   1.18x     330         830
//   parameter, rounded values     lz4      2.3x       560        2900
//                                 zstd-1   4.0x       400        1300
// Records with random doubles barely compress; the time a codec adds on reading is a large share of the
// uncompressed read time. So files are written uncompressed by default; zstd (level 1) is the codec to
// choose when size matters (it beats lz4 by far on size), lz4 when the read time matters.
#ifndef TVF_COMPRESSION_H
#define TVF_COMPRESSION_H

#include <cstddef>
#include <string>

namespace tvf {

enum class Codec : unsigned char { kNone = 0, kLz4 = 1, kZstd = 2 };

inline bool IsKnownCodec(int c) { return c >= 0 && c <= 2; }

// Compresses [src, src + size) into *out with `codec` (not kNone). False when the codec failed or the
// result would not save at least an eighth of the input; the chunk is then stored uncompressed.
bool Compress(Codec codec, const char *src, size_t size, std::string *out);

// Decompresses [src, src + size) into exactly raw_size bytes at dst. False when the input is damaged or
// does not produce exactly raw_size bytes.
bool Decompress(Codec codec, const char *src, size_t size, char *dst, size_t raw_size);

}  // namespace tvf

#endif
