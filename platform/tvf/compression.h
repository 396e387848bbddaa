// Block compression of record chunks. The reader understands every codec; the writer uses the one chosen
// with tvfSetCompression and keeps a chunk uncompressed when compression does not pay.
//
// Measured with bench/tvf_bench on the record chunks of 2,000,000 records (this 2-core machine, busy; MB/s
// of uncompressed chunk bytes; time = write + read through the C interface, relative to no compression):
//   workload                        codec    ratio  compress  decompress  file B/record  time
//   parameter, random values        none      -        -         -          10.01        1.00x
//                                   lz4      1.00x   1690      (kept raw)   10.01        1.27x
//                                   zstd-1   1.16x    780      1510          8.65        1.73x
//   parameter, values in cents      lz4      2.13x    570      5090          4.71        1.50x
//                                   zstd-1   3.05x    300      1340          3.29        2.03x
//   variable, five values           lz4      1.22x    800      4790         12.01        1.40x
//                                   zstd-1   1.47x    240      1440         10.02        2.24x
// Random doubles barely compress, and either codec costs more time than it saves in bytes written to the
// page cache. So files are written uncompressed by default (the speed targets hold there); when size
// matters, zstd at level 1 is the codec to choose: it saves clearly more than lz4 (3.3 against 4.7 bytes a
// record on rounded values) for about a third more time. lz4 stays readable and selectable for the case
// where read time matters most.
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
