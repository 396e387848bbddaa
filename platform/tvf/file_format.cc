#include "file_format.h"

#include <cstring>

#include "coding.h"
#include "crc32c.h"

namespace tvf {

void EncodeFileHeader(const FileHeader &h, char *out) {
  std::memset(out, 0, kHeaderSize);
  std::memcpy(out, kMagic, sizeof kMagic);
  EncodeFixed32(out + 8, h.version);
  EncodeFixed32(out + 12, h.flags);
  EncodeFixed64(out + 16, h.file_length);
  EncodeFixed64(out + 24, h.directory_offset);
  EncodeFixed64(out + 32, h.directory_length);
  EncodeFixed32(out + 40, h.directory_crc);
  EncodeFixed32(out + 44, h.label_count);
  EncodeFixed32(out + 48, h.text_count);
  EncodeFixed32(out + 52, h.symbol_count);
  EncodeFixed32(out + 60, Crc32c(out, 60));
}

HeaderStatus DecodeFileHeader(const char *in, FileHeader *h) {
  if (std::memcmp(in, kMagic, sizeof kMagic) != 0) return HeaderStatus::kBadMagic;
  if (DecodeFixed32(in + 60) != Crc32c(in, 60)) return HeaderStatus::kBadChecksum;
  h->version = DecodeFixed32(in + 8);
  h->flags = DecodeFixed32(in + 12);
  h->file_length = DecodeFixed64(in + 16);
  h->directory_offset = DecodeFixed64(in + 24);
  h->directory_length = DecodeFixed64(in + 32);
  h->directory_crc = DecodeFixed32(in + 40);
  h->label_count = DecodeFixed32(in + 44);
  h->text_count = DecodeFixed32(in + 48);
  h->symbol_count = DecodeFixed32(in + 52);
  return HeaderStatus::kOk;
}

void EncodeChunkHeader(const ChunkHeader &h, char *out) {
  EncodeFixed32(out, h.stored_size);
  EncodeFixed32(out + 4, h.raw_size);
  EncodeFixed32(out + 8, h.record_count);
  out[12] = static_cast<char>(h.codec);
  out[13] = out[14] = out[15] = 0;
  EncodeFixed32(out + 16, h.crc);
}

void DecodeChunkHeader(const char *in, ChunkHeader *h) {
  h->stored_size = DecodeFixed32(in);
  h->raw_size = DecodeFixed32(in + 4);
  h->record_count = DecodeFixed32(in + 8);
  h->codec = static_cast<uint8_t>(in[12]);
  h->crc = DecodeFixed32(in + 16);
}

uint32_t ChunkChecksum(const char *encoded_header, const char *payload, size_t payload_size) {
  return Crc32cExtend(Crc32c(encoded_header, 16), payload, payload_size);
}

}  // namespace tvf
