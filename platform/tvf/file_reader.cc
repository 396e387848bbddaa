#include "file_reader.h"

#include <climits>
#include <string>

#include "crc32c.h"
#include "directory_codec.h"
#include "file_format.h"

namespace tvf {

int FileReader::Open(std::unique_ptr<ByteSource> source) {
  source_ = std::move(source);
  const uint64_t size = source_->Size();
  std::string reason;
  if (size < kHeaderSize) return errors_->Log({.code = ErrorCode::kTooShort, .a = static_cast<int64_t>(size)});

  char raw_header[kHeaderSize];
  if (!source_->ReadAt(0, kHeaderSize, raw_header, &reason)) {
    return errors_->LogWithText({.code = ErrorCode::kReadFailed}, reason);
  }
  FileHeader h;
  switch (DecodeFileHeader(raw_header, &h)) {
    case HeaderStatus::kBadMagic:
      return errors_->Log({.code = ErrorCode::kNotTvf});
    case HeaderStatus::kBadChecksum:
      return errors_->Log({.code = ErrorCode::kHeaderDamaged});
    case HeaderStatus::kOk:
      break;
  }
  if (h.version > kFormatVersion || h.version == 0) {
    return errors_->Log({.code = ErrorCode::kVersionTooNew, .a = h.version});
  }
  if (!(h.flags & kFlagComplete)) return errors_->Log({.code = ErrorCode::kIncomplete});
  if (size < h.file_length) {
    return errors_->Log({.code = ErrorCode::kTruncated,
                         .a = static_cast<int64_t>(size),
                         .b = static_cast<int64_t>(std::min<uint64_t>(h.file_length, INT64_MAX))});
  }
  if (size > h.file_length) {
    return errors_->Log(
        {.code = ErrorCode::kTooLong, .a = static_cast<int64_t>(size), .b = static_cast<int64_t>(h.file_length)});
  }
  // The directory ends the file.
  if (h.directory_offset < kHeaderSize || h.directory_offset > size ||
      h.directory_length != size - h.directory_offset) {
    return errors_->LogWithText({.code = ErrorCode::kDirectoryMalformed},
                                "the header places the directory outside the file");
  }
  std::string directory(static_cast<size_t>(h.directory_length), '\0');
  if (!source_->ReadAt(h.directory_offset, directory.size(), directory.data(), &reason)) {
    return errors_->LogWithText({.code = ErrorCode::kReadFailed}, reason);
  }
  if (Crc32c(directory.data(), directory.size()) != h.directory_crc) {
    return errors_->Log({.code = ErrorCode::kDirectoryDamaged});
  }
  catalog_->format_version = h.version;
  const char *problem = nullptr;
  if (!DecodeDirectory(directory.data(), directory.size(), kHeaderSize, h.directory_offset, catalog_, &problem)) {
    return errors_->LogWithText({.code = ErrorCode::kDirectoryMalformed}, problem);
  }
  if (static_cast<uint64_t>(catalog_->labels.size()) != h.label_count ||
      static_cast<uint64_t>(catalog_->texts.size()) != h.text_count || catalog_->symbols.size() != h.symbol_count) {
    return errors_->LogWithText({.code = ErrorCode::kDirectoryMalformed}, "its counts differ from the header's");
  }
  return 0;
}

bool FileReader::StartRead(int number, int *record_count) {
  reading_ = false;
  *record_count = 0;
  const int count = static_cast<int>(catalog_->symbols.size());
  if (number < 0 || number > count) {
    errors_->Log({.code = ErrorCode::kBadSymbolNumber, .a = number, .b = count});
    return false;
  }
  int index = number - 1;
  if (index >= 0 && catalog_->symbols[static_cast<size_t>(index)].type == kAlias) {
    index = catalog_->symbols[static_cast<size_t>(index)].user_info - 1;
  }
  universe_ = index < 0;
  if (universe_) {
    symbol_ = -1;
    universe_next_ = 1;
    value_count_ = 1;
    *record_count = catalog_->labels.size();
    reading_ = true;
    return true;
  }
  symbol_ = index;
  const SymbolEntry &symbol = catalog_->symbols[static_cast<size_t>(index)];
  value_count_ = ValueCountOfType(symbol.type);
  ReadStatus status = block_.Start(source_.get(), symbol, static_cast<uint32_t>(catalog_->labels.size()));
  if (status != ReadStatus::kOk) return LogBlockProblem(status);
  *record_count = static_cast<int>(symbol.record_count);
  reading_ = true;
  return true;
}

bool FileReader::ReadLabelRecord(int32_t *key, double *values, int *first_changed) {
  if (universe_next_ > catalog_->labels.size()) return false;
  key[0] = universe_next_++;
  *first_changed = 0;
  for (int v = 0; v < kMaxValues; ++v) values[v] = 0.0;
  return true;
}

bool FileReader::LogBlockProblem(ReadStatus status) {
  reading_ = false;
  switch (status) {
    case ReadStatus::kDamaged:
      errors_->Log({.code = ErrorCode::kBlockDamaged, .symbol = symbol_});
      break;
    case ReadStatus::kLabelOutOfRange:
      errors_->Log({.code = ErrorCode::kLabelOutOfRange,
                    .symbol = symbol_,
                    .a = block_.bad_label(),
                    .b = catalog_->labels.size()});
      break;
    case ReadStatus::kIoError:
      errors_->LogWithText({.code = ErrorCode::kReadFailed}, block_.io_error());
      break;
    default:
      errors_->LogWithText({.code = ErrorCode::kBlockMalformed, .symbol = symbol_}, block_.problem());
      break;
  }
  return false;
}

}  // namespace tvf
