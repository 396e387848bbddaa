// The layout of a TVF file, version 1 (all integers little-endian):
//
//   header     64 bytes: magic, version, flags, file length, directory offset/length/checksum, counts,
//              header checksum
//   blocks     per symbol with records, one block: a sequence of chunks, each a 20-byte chunk header
//              (stored size, raw size, record count, codec, checksum) and its payload (records, possibly
//              compressed); see record_format.h for the records
//   directory  producer, label table, text table, symbol directory (see directory_codec.h); it ends the file
//
// The header is written last, so a file that its writer did not finish is recognised as such. Every byte
// of the file is covered by a CRC-32C: the header's own, the directory's (in the header), each chunk's.
#ifndef TVF_FILE_FORMAT_H
#define TVF_FILE_FORMAT_H

#include <cstddef>
#include <cstdint>

namespace tvf {

inline constexpr char kMagic[8] = {'\x89', 'T', 'V', 'F', '\r', '\n', '\x1a', '\n'};
inline constexpr uint32_t kFormatVersion = 1;
inline constexpr uint32_t kFlagComplete = 1;

inline constexpr size_t kHeaderSize = 64;
inline constexpr size_t kChunkHeaderSize = 20;

// Limits that the writer keeps and the reader enforces.
inline constexpr int kMaxDim = 20;
inline constexpr size_t kMaxLabelLength = 63;
inline constexpr size_t kMaxNameLength = 63;
inline constexpr size_t kMaxTextLength = 255;
inline constexpr size_t kChunkTargetSize = 128 * 1024;   // the writer closes a chunk past this raw size
inline constexpr size_t kMaxChunkRawSize = 1024 * 1024;  // the reader refuses larger chunks

struct FileHeader {
  uint32_t version = kFormatVersion;
  uint32_t flags = 0;
  uint64_t file_length = 0;
  uint64_t directory_offset = 0;
  uint64_t directory_length = 0;
  uint32_t directory_crc = 0;
  uint32_t label_count = 0;
  uint32_t text_count = 0;
  uint32_t symbol_count = 0;
};

// Writes the header with its magic and checksum into out[kHeaderSize].
void EncodeFileHeader(const FileHeader &header, char *out);

enum class HeaderStatus { kOk, kBadMagic, kBadChecksum };

// Parses in[kHeaderSize]; checks magic and checksum only (version and flags are the caller's to judge).
HeaderStatus DecodeFileHeader(const char *in, FileHeader *header);

struct ChunkHeader {
  uint32_t stored_size = 0;
  uint32_t raw_size = 0;
  uint32_t record_count = 0;
  uint8_t codec = 0;
  uint32_t crc = 0;  // over the first 16 header bytes and the stored payload
};

void EncodeChunkHeader(const ChunkHeader &header, char *out);
void DecodeChunkHeader(const char *in, ChunkHeader *header);

// The checksum of a chunk: header bytes 0..15 (as encoded, crc field excluded) and the payload.
uint32_t ChunkChecksum(const char *encoded_header, const char *payload, size_t payload_size);

}  // namespace tvf

#endif
