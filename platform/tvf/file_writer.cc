#include "file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>

#include "coding.h"
#include "crc32c.h"
#include "directory_codec.h"
#include "file_format.h"
#include "record_codec.h"

namespace tvf {
namespace {

// Buffered bytes are written once this many have gathered.
constexpr size_t kFlushSize = 1 << 20;

bool IsValidSymbolName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  if (!std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

bool WriteAll(int fd, const char *data, size_t size, uint64_t offset, bool positioned) {
  while (size > 0) {
    ssize_t n = positioned ? ::pwrite(fd, data, size, static_cast<off_t>(offset)) : ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

}  // namespace

FileWriter::~FileWriter() {
  if (fd_ >= 0) ::close(fd_);
}

int FileWriter::Open(const char *path, std::string_view producer) {
  catalog_->Clear();
  catalog_->file_name = path;
  catalog_->format_version = kFormatVersion;
  catalog_->producer = std::string(producer.substr(0, kMaxTextLength));
  do {
    fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) return errors_->LogWithText({.code = ErrorCode::kCannotCreate}, std::strerror(errno));
  // A placeholder header without the complete flag: the real one is written when the file is closed.
  char header[kHeaderSize];
  EncodeFileHeader(FileHeader{}, header);
  Append(header, sizeof header);
  if (!Flush()) return errors_->last_number();
  chunk_.reset(new char[kChunkTargetSize + kMaxRecordSize]);
  return 0;
}

void FileWriter::Append(const char *data, size_t size) {
  out_.append(data, size);
  offset_ += size;
  if (out_.size() >= kFlushSize) Flush();
}

bool FileWriter::Flush() {
  if (io_failed_) return false;
  if (!out_.empty() && !WriteAll(fd_, out_.data(), out_.size(), 0, false)) {
    io_failed_ = true;
    errors_->LogWithText({.code = ErrorCode::kWriteFailed}, std::strerror(errno));
    return false;
  }
  out_.clear();
  return true;
}

bool FileWriter::Busy(const char *operation) {
  if (symbol_ >= 0) {
    errors_->LogWithText({.code = ErrorCode::kSymbolInProgress, .symbol = symbol_}, operation);
    return true;
  }
  if (registering_) {
    errors_->LogWithText({.code = ErrorCode::kRegistering}, operation);
    return true;
  }
  return false;
}

bool FileWriter::StartLabels() {
  if (symbol_ >= 0) {
    errors_->LogWithText({.code = ErrorCode::kSymbolInProgress, .symbol = symbol_}, "tvfUELRegisterRawStart");
    return false;
  }
  registering_ = true;
  return true;
}

bool FileWriter::AddLabel(std::string_view label) {
  if (!registering_) {
    errors_->LogWithText({.code = ErrorCode::kNotRegistering}, "tvfUELRegisterRaw");
    return false;
  }
  if (label.size() > kMaxLabelLength) {
    errors_->LogWithText({.code = ErrorCode::kLabelTooLong}, label);
    return false;
  }
  if (int earlier = label_index_.Find(catalog_->labels, label); earlier != 0) {
    errors_->LogWithText({.code = ErrorCode::kDuplicateLabel, .b = earlier}, label);
    return false;
  }
  if (catalog_->labels.size() == INT_MAX) {
    errors_->Log({.code = ErrorCode::kTooManyLabels});
    return false;
  }
  catalog_->labels.Add(label);
  label_index_.Insert(catalog_->labels, catalog_->labels.size());
  return true;
}

bool FileWriter::EndLabels() {
  if (!registering_) {
    errors_->LogWithText({.code = ErrorCode::kNotRegistering}, "tvfUELRegisterDone");
    return false;
  }
  registering_ = false;
  return true;
}

bool FileWriter::AddText(std::string_view text, int *number) {
  *number = 0;
  if (text.size() > kMaxTextLength) {
    errors_->Log({.code = ErrorCode::kTextTooLong, .a = static_cast<int64_t>(text.size())});
    return false;
  }
  catalog_->texts.emplace_back(text);
  *number = static_cast<int>(catalog_->texts.size());
  return true;
}

bool FileWriter::CheckNewName(std::string_view name) {
  if (!IsValidSymbolName(name)) {
    errors_->LogWithText({.code = ErrorCode::kBadSymbolName}, name.substr(0, 255));
    return false;
  }
  if (catalog_->FindSymbol(name) >= 0) {
    errors_->LogWithText({.code = ErrorCode::kDuplicateSymbol}, name);
    return false;
  }
  return true;
}

bool FileWriter::AddAlias(std::string_view alias, std::string_view set) {
  if (Busy("tvfAddAlias") || !CheckNewName(alias)) return false;
  SymbolEntry entry;
  entry.name = std::string(alias);
  entry.type = kAlias;
  entry.dim = 1;
  entry.user_info = 0;  // the Universe
  if (set != "*") {
    int target = catalog_->FindSymbol(set);
    if (target < 0) {
      errors_->LogWithTexts({.code = ErrorCode::kUnknownAliasTarget}, alias, set.substr(0, 255));
      return false;
    }
    // An alias of an alias stands for the same set.
    const SymbolEntry *t = &catalog_->symbols[static_cast<size_t>(target)];
    if (t->type == kAlias) {
      target = t->user_info - 1;
      t = target >= 0 ? &catalog_->symbols[static_cast<size_t>(target)] : nullptr;
    }
    if (t != nullptr && t->type != kSet) {
      errors_->LogWithTexts({.code = ErrorCode::kAliasTargetNotSet}, alias, set);
      return false;
    }
    entry.user_info = target + 1;
    entry.dim = t != nullptr ? t->dim : 1;
  }
  catalog_->AddSymbol(std::move(entry));
  return true;
}

bool FileWriter::StartSymbol(std::string_view name, std::string_view text, int dim, int type, int user_info) {
  if (Busy("tvfDataWriteRawStart") || !CheckNewName(name)) return false;
  if (dim < 0 || dim > kMaxDim) {
    errors_->LogWithText({.code = ErrorCode::kBadDimension, .b = dim}, name);
    return false;
  }
  if (type < kSet || type > kEquation) {
    errors_->LogWithText({.code = ErrorCode::kBadType, .b = type}, name);
    return false;
  }
  if (text.size() > kMaxTextLength) {
    errors_->LogWithText({.code = ErrorCode::kSymbolTextTooLong}, name);
    return false;
  }
  SymbolEntry entry;
  entry.name = std::string(name);
  entry.text = std::string(text);
  entry.dim = dim;
  entry.type = type;
  entry.user_info = user_info;
  catalog_->AddSymbol(std::move(entry));
  symbol_ = static_cast<int>(catalog_->symbols.size()) - 1;
  dim_ = dim;
  value_count_ = ValueCountOfType(type);
  count_ = 0;
  sorted_ = true;
  keys_.clear();
  values_.clear();
  domains_.End();
  return true;
}

bool FileWriter::SetCheckedDomain(const char *const *names) {
  if (symbol_ < 0) {
    errors_->LogWithText({.code = ErrorCode::kNoSymbolStarted}, "tvfSymbolSetDomain");
    return false;
  }
  if (count_ > 0) {
    errors_->Log({.code = ErrorCode::kDomainTooLate, .symbol = symbol_});
    return false;
  }
  std::vector<int> sets(static_cast<size_t>(dim_), -1);
  bool ok = true;
  for (int i = 0; i < dim_; ++i) {
    const std::string_view name = names[i];
    if (name == "*") continue;
    const ErrorEntry where{.code = ErrorCode::kDomainUnknown, .position = static_cast<uint8_t>(i), .symbol = symbol_};
    int set = catalog_->FindSymbol(name);
    if (set < 0 || set == symbol_) {
      errors_->LogWithText(where, name.substr(0, 255));
      ok = false;
      continue;
    }
    const SymbolEntry *s = &catalog_->symbols[static_cast<size_t>(set)];
    if (s->type == kAlias) {
      set = s->user_info - 1;
      if (set < 0) continue;  // an alias of the Universe allows any label
      s = &catalog_->symbols[static_cast<size_t>(set)];
    }
    if (s->type != kSet || s->dim != 1) {
      ErrorEntry e = where;
      e.code = ErrorCode::kDomainNotOneDim;
      errors_->LogWithText(e, name);
      ok = false;
      continue;
    }
    sets[static_cast<size_t>(i)] = set;
  }
  if (!ok) return false;
  SymbolEntry &entry = catalog_->symbols[static_cast<size_t>(symbol_)];
  entry.domain_kind = DomainKind::kChecked;
  entry.domain_names.assign(names, names + dim_);
  domains_.Begin(sets, catalog_->labels.size());
  return true;
}

bool FileWriter::SetRelaxedDomain(int number, const char *const *names) {
  const int count = static_cast<int>(catalog_->symbols.size());
  if (number < 1 || number > count) {
    errors_->Log({.code = ErrorCode::kBadSymbolNumber, .a = number, .b = count});
    return false;
  }
  const int index = number - 1;
  SymbolEntry &entry = catalog_->symbols[static_cast<size_t>(index)];
  if (entry.type == kAlias) {
    errors_->Log({.code = ErrorCode::kAliasHasNoDomain, .symbol = index});
    return false;
  }
  for (int i = 0; i < entry.dim; ++i) {
    if (std::strlen(names[i]) > kMaxTextLength) {
      errors_->Log({.code = ErrorCode::kDomainNameTooLong, .position = static_cast<uint8_t>(i), .symbol = index});
      return false;
    }
  }
  entry.domain_kind = DomainKind::kRelaxed;
  entry.domain_names.assign(names, names + entry.dim);
  if (index == symbol_) domains_.End();
  return true;
}

int FileWriter::CompareWithLast(const int32_t *key) const {
  const int32_t *last = keys_.data() + keys_.size() - static_cast<size_t>(dim_);
  for (int i = 0; i < dim_; ++i) {
    if (key[i] != last[i]) return key[i] < last[i] ? -1 : 1;
  }
  return 0;
}

bool FileWriter::AddRecord(const int32_t *key, const double *values) {
  if (symbol_ < 0) {
    errors_->LogWithText({.code = ErrorCode::kNoSymbolStarted}, "tvfDataWriteRaw");
    return false;
  }
  const int label_count = catalog_->labels.size();
  for (int i = 0; i < dim_; ++i) {
    if (key[i] < 1 || key[i] > label_count) {
      errors_->Log({.code = ErrorCode::kLabelOutOfRange, .symbol = symbol_, .a = key[i], .b = label_count});
      return false;
    }
  }
  if (count_ > 0 && sorted_) {
    int order = CompareWithLast(key);
    if (order == 0) {
      errors_->LogKey({.code = ErrorCode::kDuplicateKey, .symbol = symbol_}, key, dim_);
      return false;
    }
    if (order < 0) sorted_ = false;
  }
  if (count_ == INT_MAX) {
    errors_->Log({.code = ErrorCode::kTooManyRecords, .symbol = symbol_});
    return false;
  }
  keys_.insert(keys_.end(), key, key + dim_);
  values_.insert(values_.end(), values, values + value_count_);
  ++count_;
  if (domains_.active()) {
    int position = domains_.FirstViolation(key);
    if (position >= 0) {
      errors_->Log({.code = ErrorCode::kDomainViolation,
                    .position = static_cast<uint8_t>(position),
                    .symbol = symbol_,
                    .a = key[position]});
      return false;  // kept all the same: the error already fails the write
    }
  }
  return true;
}

bool FileWriter::FinishSymbol() {
  if (symbol_ < 0) {
    errors_->LogWithText({.code = ErrorCode::kNoSymbolStarted}, "tvfDataWriteDone");
    return false;
  }
  const size_t dim = static_cast<size_t>(dim_);
  std::vector<uint32_t> order;
  if (!sorted_) {
    // Stable, so that of records with the same key the first one written is kept.
    order.resize(static_cast<size_t>(count_));
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
    const int32_t *keys = keys_.data();
    std::stable_sort(order.begin(), order.end(), [keys, dim](uint32_t a, uint32_t b) {
      return std::lexicographical_compare(keys + a * dim, keys + a * dim + dim, keys + b * dim, keys + b * dim + dim);
    });
    size_t kept = 0;
    for (size_t i = 0; i < order.size(); ++i) {
      if (kept > 0 && std::equal(keys + order[i] * dim, keys + order[i] * dim + dim, keys + order[kept - 1] * dim)) {
        errors_->LogKey({.code = ErrorCode::kDuplicateKey, .symbol = symbol_}, keys + order[i] * dim, dim_);
        continue;
      }
      order[kept++] = order[i];
    }
    order.resize(kept);
  }
  WriteRecords(sorted_ ? nullptr : &order);

  SymbolEntry &entry = catalog_->symbols[static_cast<size_t>(symbol_)];
  if (entry.type == kSet && dim_ == 1) {
    std::vector<int32_t> members;
    if (sorted_) {
      members = keys_;
    } else {
      members.reserve(order.size());
      for (uint32_t r : order) members.push_back(keys_[r]);
    }
    domains_.RememberSet(symbol_, std::move(members));
  }
  symbol_ = -1;
  domains_.End();
  keys_.clear();
  values_.clear();
  // Give back the memory of a large symbol rather than hold it until the file is closed.
  if (keys_.capacity() > (1u << 20)) {
    keys_.shrink_to_fit();
    values_.shrink_to_fit();
  }
  return !io_failed_;
}

void FileWriter::WriteRecords(const std::vector<uint32_t> *order) {
  SymbolEntry &entry = catalog_->symbols[static_cast<size_t>(symbol_)];
  const size_t records = order != nullptr ? order->size() : static_cast<size_t>(count_);
  entry.record_count = records;
  entry.block_offset = records > 0 ? offset_ : 0;
  entry.block_length = 0;
  entry.chunk_count = 0;
  if (records == 0) return;

  const size_t dim = static_cast<size_t>(dim_);
  const size_t nv = static_cast<size_t>(value_count_);
  RecordEncoder encoder(dim_, value_count_, specials_);
  char *const begin = chunk_.get();
  char *p = begin;
  uint32_t in_chunk = 0;
  const uint64_t block_start = offset_;
  uint32_t chunks = 0;
  for (size_t i = 0; i < records; ++i) {
    const size_t r = order != nullptr ? (*order)[i] : i;
    p = encoder.Encode(keys_.data() + r * dim, values_.data() + r * nv, p);
    ++in_chunk;
    if (static_cast<size_t>(p - begin) >= kChunkTargetSize) {
      EmitChunk(begin, static_cast<size_t>(p - begin), in_chunk);
      ++chunks;
      encoder.Reset();
      p = begin;
      in_chunk = 0;
    }
  }
  if (in_chunk > 0) {
    EmitChunk(begin, static_cast<size_t>(p - begin), in_chunk);
    ++chunks;
  }
  entry.block_length = offset_ - block_start;
  entry.chunk_count = chunks;
}

void FileWriter::EmitChunk(const char *data, size_t size, uint32_t records) {
  ChunkHeader h;
  h.raw_size = static_cast<uint32_t>(size);
  h.record_count = records;
  const char *payload = data;
  if (codec_ != Codec::kNone && Compress(codec_, data, size, &compressed_)) {
    h.codec = static_cast<uint8_t>(codec_);
    payload = compressed_.data();
    h.stored_size = static_cast<uint32_t>(compressed_.size());
  } else {
    h.stored_size = h.raw_size;
  }
  char header[kChunkHeaderSize];
  EncodeChunkHeader(h, header);
  h.crc = ChunkChecksum(header, payload, h.stored_size);
  EncodeChunkHeader(h, header);
  Append(header, sizeof header);
  Append(payload, h.stored_size);
}

bool FileWriter::Close() {
  if (symbol_ >= 0) FinishSymbol();
  registering_ = false;
  const uint64_t directory_offset = offset_;
  std::string directory;
  EncodeDirectory(*catalog_, &directory);
  Append(directory.data(), directory.size());
  bool ok = Flush();

  FileHeader h;
  h.flags = kFlagComplete;
  h.file_length = offset_;
  h.directory_offset = directory_offset;
  h.directory_length = directory.size();
  h.directory_crc = Crc32c(directory.data(), directory.size());
  h.label_count = static_cast<uint32_t>(catalog_->labels.size());
  h.text_count = static_cast<uint32_t>(catalog_->texts.size());
  h.symbol_count = static_cast<uint32_t>(catalog_->symbols.size());
  char header[kHeaderSize];
  EncodeFileHeader(h, header);
  if (ok && !WriteAll(fd_, header, sizeof header, 0, true)) {
    errors_->LogWithText({.code = ErrorCode::kWriteFailed}, std::strerror(errno));
    ok = false;
  }
  if (::close(fd_) != 0 && ok) {
    errors_->LogWithText({.code = ErrorCode::kWriteFailed}, std::strerror(errno));
    ok = false;
  }
  fd_ = -1;
  return ok;
}

}  // namespace tvf
