// Streams the records of one symbol's block: reads the block in windows of whole chunks, checks each
// chunk's header and checksum before its payload is used, decompresses, and decodes record by record.
// A block that fits one window (most do) is checked whole when reading starts, so its damage is reported
// before the first record is handed out. Memory: one window (at most 4 MiB, never more than the block) and
// one decompressed chunk (at most 1 MiB, allocated only after the checksum has been checked).
#ifndef TVF_BLOCK_READER_H
#define TVF_BLOCK_READER_H

#include <cstdint>
#include <memory>
#include <string>

#include "byte_source.h"
#include "file_format.h"
#include "record_codec.h"

namespace tvf {

struct SymbolEntry;

enum class ReadStatus { kOk, kRecord, kEnd, kDamaged, kMalformed, kLabelOutOfRange, kIoError };

class BlockReader {
 public:
  // Starts reading `symbol` (not an alias) of a file with label_count labels; kOk when reading can begin.
  ReadStatus Start(const ByteSource *source, const SymbolEntry &symbol, uint32_t label_count);

  ReadStatus Next(const SpecialValues &specials, int32_t *key, double *values, int *first_changed) {
    // The common case inline: another record of the open chunk.
    if (chunk_records_left_ > 0 && failed_ == ReadStatus::kOk) {
      DecodeStatus status = decoder_.Next(specials, key, values, first_changed, &bad_label_);
      if (status == DecodeStatus::kOk) {
        --chunk_records_left_;
        return ReadStatus::kRecord;
      }
      return DecodeFailed(status);
    }
    return NextInNewChunk(specials, key, values, first_changed);
  }

  // Whether Next() reads from the chunk already open, which touches nothing but the decoder.
  bool InOpenChunk() const { return chunk_records_left_ > 0 && failed_ == ReadStatus::kOk; }

  // The problem behind kMalformed, the label behind kLabelOutOfRange, the reason behind kIoError.
  const char *problem() const { return problem_; }
  int64_t bad_label() const { return bad_label_; }
  const std::string &io_error() const { return io_error_; }

 private:
  static constexpr size_t kWindowSize = 4 * 1024 * 1024;

  ReadStatus Fail(ReadStatus status, const char *problem);
  ReadStatus DecodeFailed(DecodeStatus status);
  ReadStatus NextInNewChunk(const SpecialValues &specials, int32_t *key, double *values, int *first_changed);
  ReadStatus Refill();
  // Checks every chunk in the window when it holds the whole block.
  ReadStatus VerifyWholeBlock();
  ReadStatus CheckChunkHeader(const char *at, size_t available, ChunkHeader *header);
  ReadStatus OpenNextChunk();

  const ByteSource *source_ = nullptr;
  uint64_t block_offset_ = 0;
  uint64_t block_length_ = 0;
  uint64_t block_read_ = 0;  // bytes of the block read into the window so far
  uint64_t expected_records_ = 0;
  uint64_t records_seen_ = 0;  // records of the chunks opened so far
  uint32_t expected_chunks_ = 0;
  uint32_t chunks_seen_ = 0;
  int dim_ = 0;
  int value_count_ = 1;
  uint32_t label_count_ = 0;

  std::unique_ptr<char[]> window_;
  size_t window_capacity_ = 0;
  size_t window_begin_ = 0;  // first unconsumed byte
  size_t window_end_ = 0;

  std::unique_ptr<char[]> chunk_;  // decompressed payload
  size_t chunk_capacity_ = 0;
  uint32_t chunk_records_left_ = 0;
  bool have_floor_ = false;
  int32_t floor_[20] = {};
  RecordDecoder decoder_;

  bool verified_ = false;                // every chunk's checksum already checked
  ReadStatus failed_ = ReadStatus::kOk;  // sticky once something went wrong
  const char *problem_ = "";
  int64_t bad_label_ = 0;
  std::string io_error_;
};

}  // namespace tvf

#endif
