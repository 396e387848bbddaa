// Codes one symbol's records, handed in strictly ascending key order, into chunks appended to the output
// file: each chunk is closed past the target size, compressed when that pays, and given its checksum.
#ifndef TVF_BLOCK_WRITER_H
#define TVF_BLOCK_WRITER_H

#include <cstdint>
#include <memory>
#include <string>

#include "compression.h"
#include "file_format.h"
#include "output_file.h"
#include "record_codec.h"

namespace tvf {

class BlockWriter {
 public:
  BlockWriter(OutputFile *out, const SpecialValues *specials, Codec codec)
      : out_(out), specials_(specials), codec_(codec), encoder_(0, 1, specials) {}

  void Begin(int dim, int value_count);
  // REQUIRES: key greater than the previous key of this block; labels >= 1.
  void Add(const int32_t *key, const double *values) {
    end_ = encoder_.Encode(key, values, end_);
    ++in_chunk_;
    if (static_cast<size_t>(end_ - chunk_.get()) >= kChunkTargetSize) EmitChunk();
  }
  // Closes the last chunk.
  void Finish();

  uint64_t block_offset() const { return block_offset_; }
  uint64_t block_length() const { return out_->offset() - block_offset_; }
  uint64_t record_count() const { return records_; }
  uint32_t chunk_count() const { return chunks_; }

 private:
  void EmitChunk();

  OutputFile *out_;
  const SpecialValues *specials_;
  Codec codec_;
  RecordEncoder encoder_;
  std::unique_ptr<char[]> chunk_;
  char *end_ = nullptr;
  uint32_t in_chunk_ = 0;
  uint64_t block_offset_ = 0;
  uint64_t records_ = 0;
  uint32_t chunks_ = 0;
  std::string compressed_;
};

}  // namespace tvf

#endif
