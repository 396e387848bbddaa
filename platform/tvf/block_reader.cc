#include "block_reader.h"

#include <algorithm>
#include <cstring>

#include "catalog.h"
#include "compression.h"

namespace tvf {

ReadStatus BlockReader::Fail(ReadStatus status, const char *problem) {
  failed_ = status;
  problem_ = problem;
  return status;
}

ReadStatus BlockReader::Start(const ByteSource *source, const SymbolEntry &symbol, uint32_t label_count) {
  source_ = source;
  block_offset_ = symbol.block_offset;
  block_length_ = symbol.block_length;
  block_read_ = 0;
  expected_records_ = symbol.record_count;
  records_seen_ = 0;
  expected_chunks_ = symbol.chunk_count;
  chunks_seen_ = 0;
  dim_ = symbol.dim;
  value_count_ = ValueCountOfType(symbol.type);
  label_count_ = label_count;
  window_begin_ = window_end_ = 0;
  chunk_records_left_ = 0;
  have_floor_ = false;
  verified_ = false;
  failed_ = ReadStatus::kOk;
  problem_ = "";
  if (expected_records_ == 0) return ReadStatus::kOk;

  size_t capacity = static_cast<size_t>(std::min<uint64_t>(kWindowSize, block_length_));
  if (capacity > window_capacity_) {
    window_.reset(new char[capacity]);
    window_capacity_ = capacity;
  }
  ReadStatus status = Refill();
  if (status != ReadStatus::kOk) return status;
  if (block_read_ == block_length_) {
    status = VerifyWholeBlock();
    if (status != ReadStatus::kOk) return status;
  }
  return OpenNextChunk();
}

ReadStatus BlockReader::Refill() {
  size_t leftover = window_end_ - window_begin_;
  if (leftover > 0 && window_begin_ > 0) std::memmove(window_.get(), window_.get() + window_begin_, leftover);
  window_begin_ = 0;
  window_end_ = leftover;
  size_t room = std::min(window_capacity_, static_cast<size_t>(block_length_)) - leftover;
  size_t n = static_cast<size_t>(std::min<uint64_t>(room, block_length_ - block_read_));
  if (n == 0) return ReadStatus::kOk;
  if (!source_->ReadAt(block_offset_ + block_read_, n, window_.get() + window_end_, &io_error_)) {
    return Fail(ReadStatus::kIoError, "");
  }
  block_read_ += n;
  window_end_ += n;
  return ReadStatus::kOk;
}

ReadStatus BlockReader::CheckChunkHeader(const char *at, size_t available, ChunkHeader *h) {
  if (available < kChunkHeaderSize) return Fail(ReadStatus::kMalformed, "a chunk header is cut off");
  DecodeChunkHeader(at, h);
  if (at[13] != 0 || at[14] != 0 || at[15] != 0 || !IsKnownCodec(h->codec)) {
    // Reserved bytes and the codec are covered by the checksum: tell damage from a newer writer.
    if (ChunkChecksum(at, at + kChunkHeaderSize, std::min<size_t>(h->stored_size, available - kChunkHeaderSize)) !=
        h->crc) {
      return Fail(ReadStatus::kDamaged, "");
    }
    return Fail(ReadStatus::kMalformed, "a chunk uses an unknown coding");
  }
  if (h->stored_size > available - kChunkHeaderSize) {
    // The size itself may be the damaged part.
    return Fail(ReadStatus::kDamaged, "");
  }
  if (ChunkChecksum(at, at + kChunkHeaderSize, h->stored_size) != h->crc) return Fail(ReadStatus::kDamaged, "");
  bool sizes_ok = h->raw_size >= 1 && h->raw_size <= kMaxChunkRawSize && h->record_count >= 1 &&
                  h->record_count <= h->raw_size && h->stored_size >= 1 &&
                  (h->codec != static_cast<uint8_t>(Codec::kNone) || h->stored_size == h->raw_size);
  if (!sizes_ok) return Fail(ReadStatus::kMalformed, "a chunk header has impossible sizes");
  return ReadStatus::kOk;
}

ReadStatus BlockReader::VerifyWholeBlock() {
  const char *at = window_.get() + window_begin_;
  size_t left = window_end_ - window_begin_;
  uint64_t records = 0;
  for (uint32_t i = 0; i < expected_chunks_; ++i) {
    ChunkHeader h;
    ReadStatus status = CheckChunkHeader(at, left, &h);
    if (status != ReadStatus::kOk) return status;
    records += h.record_count;
    at += kChunkHeaderSize + h.stored_size;
    left -= kChunkHeaderSize + h.stored_size;
  }
  if (left != 0) return Fail(ReadStatus::kMalformed, "the block has bytes after its last chunk");
  if (records != expected_records_) {
    return Fail(ReadStatus::kMalformed, "the chunks hold another number of records than the directory says");
  }
  verified_ = true;
  return ReadStatus::kOk;
}

ReadStatus BlockReader::OpenNextChunk() {
  if (chunks_seen_ == expected_chunks_) {
    if (records_seen_ != expected_records_) {
      return Fail(ReadStatus::kMalformed, "the chunks hold another number of records than the directory says");
    }
    if (window_end_ != window_begin_ || block_read_ != block_length_) {
      return Fail(ReadStatus::kMalformed, "the block has bytes after its last chunk");
    }
    return ReadStatus::kEnd;
  }
  if (window_end_ - window_begin_ < kChunkHeaderSize + kMaxChunkRawSize && block_read_ < block_length_) {
    ReadStatus status = Refill();
    if (status != ReadStatus::kOk) return status;
  }
  const char *at = window_.get() + window_begin_;
  size_t available = window_end_ - window_begin_;
  ChunkHeader h;
  if (verified_) {
    DecodeChunkHeader(at, &h);
  } else {
    ReadStatus status = CheckChunkHeader(at, available, &h);
    if (status != ReadStatus::kOk) return status;
  }
  const char *payload = at + kChunkHeaderSize;
  const char *records = payload;
  if (h.codec != static_cast<uint8_t>(Codec::kNone)) {
    if (h.raw_size > chunk_capacity_) {
      chunk_.reset(new char[h.raw_size]);
      chunk_capacity_ = h.raw_size;
    }
    if (!Decompress(static_cast<Codec>(h.codec), payload, h.stored_size, chunk_.get(), h.raw_size)) {
      return Fail(ReadStatus::kMalformed, "a chunk does not decompress to its stated size");
    }
    records = chunk_.get();
  }
  window_begin_ += kChunkHeaderSize + h.stored_size;
  ++chunks_seen_;
  records_seen_ += h.record_count;
  if (records_seen_ > expected_records_) {
    return Fail(ReadStatus::kMalformed, "the chunks hold another number of records than the directory says");
  }
  decoder_.Reset(records, h.raw_size, dim_, value_count_, label_count_, have_floor_ ? floor_ : nullptr);
  chunk_records_left_ = h.record_count;
  return ReadStatus::kOk;
}

ReadStatus BlockReader::NextInNewChunk(const SpecialValues &specials, int32_t *key, double *values,
                                       int *first_changed) {
  if (failed_ != ReadStatus::kOk) return failed_;
  if (records_seen_ == 0 && expected_records_ == 0) return ReadStatus::kEnd;
  while (chunk_records_left_ == 0) {
    if (!decoder_.AtEnd()) return Fail(ReadStatus::kMalformed, "a chunk has bytes after its last record");
    std::memcpy(floor_, decoder_.last_key(), sizeof floor_);
    have_floor_ = true;
    ReadStatus status = OpenNextChunk();
    if (status == ReadStatus::kEnd) {
      failed_ = ReadStatus::kEnd;  // further calls keep answering the end
      return status;
    }
    if (status != ReadStatus::kOk) return status;
  }
  return Next(specials, key, values, first_changed);
}

ReadStatus BlockReader::DecodeFailed(DecodeStatus status) {
  switch (status) {
    case DecodeStatus::kLabelOutOfRange:
      return Fail(ReadStatus::kLabelOutOfRange, "");
    case DecodeStatus::kOutOfOrder:
      return Fail(ReadStatus::kMalformed, "records are not in ascending key order");
    case DecodeStatus::kOk:
    case DecodeStatus::kMalformed:
      break;
  }
  return Fail(ReadStatus::kMalformed, "a record is cut off or badly coded");
}

}  // namespace tvf
