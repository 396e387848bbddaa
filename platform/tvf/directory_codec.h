// The directory section of a TVF file: producer, label table, text table and symbol directory.
//
//   producer        short string (1-byte length, then the bytes)
//   labels          u32 count, then per label a short string of at most 63 bytes
//   texts           u32 count, then per text a short string
//   symbols         u32 count, then per symbol: name (short string), u8 dim, u8 type, u32 subtype,
//                   text (short string), u8 domain kind, dim domain names (short strings) unless the kind
//                   is 0, u64 record count, u64 block offset, u64 block length, u32 chunk count
//
// Decoding validates everything the reader later relies on, so that the reader can trust the catalog.
#ifndef TVF_DIRECTORY_CODEC_H
#define TVF_DIRECTORY_CODEC_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalog.h"

namespace tvf {

// Appends the directory of `catalog` to *out.
void EncodeDirectory(const Catalog &catalog, std::string *out);

// Parses [data, data + size) into *catalog (whose file_name is kept). Blocks must lie in
// [first_block_offset, blocks_end). On failure returns false and sets *problem to a short description.
bool DecodeDirectory(const char *data, size_t size, uint64_t first_block_offset, uint64_t blocks_end, Catalog *catalog,
                     const char **problem);

}  // namespace tvf

#endif
