// Reading a TVF file: opening checks that the file is whole and ours (magic, version, header checksum,
// length, directory checksum and contents) and loads the catalog; records are then read one symbol at a
// time, in key order, without touching the other symbols' blocks. Errors go to the object's error log.
#ifndef TVF_FILE_READER_H
#define TVF_FILE_READER_H

#include <cstdint>
#include <memory>

#include "block_reader.h"
#include "byte_source.h"
#include "catalog.h"
#include "error_log.h"
#include "special_values.h"

namespace tvf {

class FileReader {
 public:
  FileReader(Catalog *catalog, ErrorLog *errors, const SpecialValues *specials)
      : catalog_(catalog), errors_(errors), specials_(specials) {}

  // Opens the file; on failure returns the number of the logged error, else 0.
  int Open(std::unique_ptr<ByteSource> source);

  // Starts reading symbol `number` (1-based; 0 is the Universe, whose records are the labels; an alias
  // reads as its set). False with a logged error when the number is out of range or the block is damaged.
  bool StartRead(int number, int *record_count);
  // One record; false at the end (no error) or on damage (logged error; reading stops).
  bool ReadRecord(int32_t *key, double *values, int *first_changed) {
    if (universe_) return ReadLabelRecord(key, values, first_changed);
    ReadStatus status = block_.Next(*specials_, key, values, first_changed);
    if (status != ReadStatus::kRecord) return status == ReadStatus::kEnd ? false : LogBlockProblem(status);
    ZeroUnusedValues(values);
    return true;
  }
  // The common case of ReadRecord, for the read entry's path without its frame: a record of the chunk
  // already open. kOk when that does not apply, with nothing consumed; else what the block reader
  // returned, a failure to be logged with ReadFailed() inside the frame.
  ReadStatus ReadInOpenChunk(int32_t *key, double *values, int *first_changed) {
    if (!reading_ || universe_ || !block_.InOpenChunk()) return ReadStatus::kOk;
    ReadStatus status = block_.Next(*specials_, key, values, first_changed);
    if (status == ReadStatus::kRecord) ZeroUnusedValues(values);
    return status;
  }
  bool ReadFailed(ReadStatus status) { return status == ReadStatus::kEnd ? false : LogBlockProblem(status); }
  void EndRead() { reading_ = false; }
  bool reading() const { return reading_; }

 private:
  bool LogBlockProblem(ReadStatus status);
  // The values past the symbol's own, zeroed with a fixed count of stores: a loop of variable length
  // becomes a call of memset per record.
  // A symbol has one value or all of them.
  void ZeroUnusedValues(double *values) const {
    static_assert(kMaxValues == 5);
    if (value_count_ == 1) values[1] = values[2] = values[3] = values[4] = 0.0;
  }
  bool ReadLabelRecord(int32_t *key, double *values, int *first_changed);

  Catalog *catalog_;
  ErrorLog *errors_;
  const SpecialValues *specials_;
  std::unique_ptr<ByteSource> source_;

  bool reading_ = false;
  int symbol_ = -1;        // 0-based symbol whose records are read (the set for an alias)
  bool universe_ = false;  // reading the labels as records
  int universe_next_ = 0;
  int value_count_ = 1;
  BlockReader block_;
};

}  // namespace tvf

#endif
