#include "block_writer.h"

namespace tvf {

static_assert(kChunkTargetSize + kMaxRecordSize <= kMaxChunkRawSize, "the reader must accept every chunk written");

void BlockWriter::Begin(int dim, int value_count) {
  if (chunk_ == nullptr) chunk_.reset(new char[kChunkTargetSize + kMaxRecordSize]);
  encoder_ = RecordEncoder(dim, value_count, specials_);
  end_ = chunk_.get();
  in_chunk_ = 0;
  block_offset_ = out_->offset();
  records_ = 0;
  chunks_ = 0;
}

void BlockWriter::Finish() {
  if (in_chunk_ > 0) EmitChunk();
}

void BlockWriter::EmitChunk() {
  const char *data = chunk_.get();
  const size_t size = static_cast<size_t>(end_ - data);
  ChunkHeader h;
  h.raw_size = static_cast<uint32_t>(size);
  h.record_count = in_chunk_;
  const char *payload = data;
  h.stored_size = h.raw_size;
  if (codec_ != Codec::kNone && Compress(codec_, data, size, &compressed_)) {
    h.codec = static_cast<uint8_t>(codec_);
    payload = compressed_.data();
    h.stored_size = static_cast<uint32_t>(compressed_.size());
  }
  char header[kChunkHeaderSize];
  EncodeChunkHeader(h, header);
  h.crc = ChunkChecksum(header, payload, h.stored_size);
  EncodeChunkHeader(h, header);
  out_->Append(header, sizeof header);
  out_->Append(payload, h.stored_size);
  records_ += in_chunk_;
  ++chunks_;
  encoder_.Reset();
  end_ = chunk_.get();
  in_chunk_ = 0;
}

}  // namespace tvf
