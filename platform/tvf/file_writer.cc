#include "file_writer.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <exception>

#include "block_reader.h"
#include "byte_source.h"
#include "crc32c.h"
#include "directory_codec.h"
#include "file_format.h"
#include "record_codec.h"

namespace tvf {
namespace {

bool IsValidSymbolName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  if (!std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

// Grows v geometrically so that `extra` more elements fit without another allocation.
template <typename T>
void MakeRoom(std::vector<T> *v, size_t extra) {
  if (v->capacity() - v->size() < extra) v->reserve(std::max(v->capacity() * 2, v->size() + extra));
}

std::string JoinNames(const char *const *names, int dim) {
  std::string joined;
  for (int i = 0; i < dim; ++i) {
    joined.append(names[i]);
    joined.push_back('\0');
  }
  return joined;
}

}  // namespace

int FileWriter::Open(const char *path, std::string_view producer) {
  catalog_->Clear();
  catalog_->file_name = path;
  catalog_->format_version = kFormatVersion;
  catalog_->producer = std::string(producer.substr(0, kMaxTextLength));
  if (!out_.Create(path)) return errors_->LogWithText({.code = ErrorCode::kCannotCreate}, out_.reason());
  // A placeholder header without the complete flag: the real one is written when the file is closed.
  char header[kHeaderSize];
  EncodeFileHeader(FileHeader{}, header);
  out_.Append(header, sizeof header);
  out_.Flush();
  if (IoFailed()) return errors_->last_number();
  return 0;
}

// Logs the first failure of the output file; true when it has failed.
bool FileWriter::IoFailed() {
  if (!out_.failed()) return false;
  if (!io_error_logged_) {
    io_error_logged_ = true;
    errors_->LogWithText({.code = ErrorCode::kWriteFailed}, out_.reason());
  }
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
  label_index_.MakeRoom(catalog_->labels);
  if (!catalog_->labels.Add(label)) {
    errors_->Log({.code = ErrorCode::kTooManyLabels});
    return false;
  }
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
  if (!catalog_->texts.Add(text)) {
    errors_->Log({.code = ErrorCode::kTooManyTexts});
    return false;
  }
  *number = catalog_->texts.size();
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
  block_.Begin(dim, ValueCountOfType(type));  // may allocate: before anything changes
  catalog_->AddSymbol(std::move(entry));
  symbol_ = static_cast<int>(catalog_->symbols.size()) - 1;
  dim_ = dim;
  value_count_ = ValueCountOfType(type);
  count_ = 0;
  streaming_ = true;
  broken_ = false;
  keeps_members_ = type == kSet && dim == 1;
  keys_.clear();
  values_.clear();
  set_members_.clear();
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
  std::string joined = JoinNames(names, dim_);
  domains_.Begin(sets, catalog_->labels.size());
  SymbolEntry &entry = catalog_->symbols[static_cast<size_t>(symbol_)];
  entry.domain_names = std::move(joined);
  entry.domain_kind = DomainKind::kChecked;
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
  entry.domain_names = JoinNames(names, entry.dim);
  entry.domain_kind = DomainKind::kRelaxed;
  if (index == symbol_) domains_.End();
  return true;
}

bool FileWriter::AddRecord(const int32_t *key, const double *values) {
  if (symbol_ < 0) {
    errors_->LogWithText({.code = ErrorCode::kNoSymbolStarted}, "tvfDataWriteRaw");
    return false;
  }
  if (broken_) return false;  // its failure is logged already
  const int label_count = catalog_->labels.size();
  for (int i = 0; i < dim_; ++i) {
    if (key[i] < 1 || key[i] > label_count) {
      errors_->Log({.code = ErrorCode::kLabelOutOfRange, .symbol = symbol_, .a = key[i], .b = label_count});
      return false;
    }
  }
  if (count_ == INT_MAX) {
    errors_->Log({.code = ErrorCode::kTooManyRecords, .symbol = symbol_});
    return false;
  }
  bool ok = true;
  if (domains_.active()) {
    int position = domains_.FirstViolation(key);
    if (position >= 0) {
      // The record is written all the same: the error already fails the write.
      errors_->Log({.code = ErrorCode::kDomainViolation,
                    .position = static_cast<uint8_t>(position),
                    .symbol = symbol_,
                    .a = key[position]});
      ok = false;
    }
  }
  if (streaming_) {
    int order = 1;
    if (count_ > 0) {
      int i = 0;
      while (i < dim_ && key[i] == last_key_[i]) ++i;
      order = i == dim_ ? 0 : (key[i] > last_key_[i] ? 1 : -1);
    }
    if (order == 0) {
      errors_->LogKey({.code = ErrorCode::kDuplicateKey, .symbol = symbol_}, key, dim_);
      return false;
    }
    if (order > 0) {
      if (keeps_members_) MakeRoom(&set_members_, 1);
      Guard([&] { block_.Add(key, values); });
      for (int i = 0; i < dim_; ++i) last_key_[i] = key[i];
      if (keeps_members_) set_members_.push_back(key[0]);
      ++count_;
      return ok;
    }
    if (!Guard([&] { return StartCollecting(); })) return false;
  }
  // Room for both first, so that keys and values stay paired when memory runs out.
  MakeRoom(&keys_, static_cast<size_t>(dim_));
  MakeRoom(&values_, static_cast<size_t>(value_count_));
  keys_.insert(keys_.end(), key, key + dim_);
  values_.insert(values_.end(), values, values + value_count_);
  ++count_;
  return ok;
}

bool FileWriter::StartCollecting() {
  // Everything written of the symbol so far comes back through the reader's own decoding, with the values
  // the writer was given (its special values mapped back to themselves).
  block_.Finish();
  SymbolEntry written;
  written.dim = dim_;
  written.type = catalog_->symbols[static_cast<size_t>(symbol_)].type;
  written.record_count = block_.record_count();
  written.block_offset = 0;
  written.block_length = block_.block_length();
  written.chunk_count = block_.chunk_count();
  const uint64_t block_offset = block_.block_offset();
  std::string bytes;
  if (!out_.ReadBack(block_offset, &bytes) || !out_.Rewind(block_offset)) {
    IoFailed();
    return false;
  }
  std::unique_ptr<ByteSource> source = MakeMemorySource(bytes.data(), bytes.size());
  bytes = std::string();
  SpecialValues same = *specials_;
  double specials[kSpecialArraySize];
  same.GetForWriting(specials);
  same.SetForReading(specials);
  BlockReader reader;
  keys_.reserve(static_cast<size_t>(count_ + 1) * static_cast<size_t>(dim_));
  values_.reserve(static_cast<size_t>(count_ + 1) * static_cast<size_t>(value_count_));
  if (reader.Start(source.get(), written, static_cast<uint32_t>(catalog_->labels.size())) != ReadStatus::kOk) {
    return false;  // cannot happen: the bytes were just written
  }
  int32_t key[kMaxDim];
  double values[kMaxValues];
  int first_changed;
  while (reader.Next(same, key, values, &first_changed) == ReadStatus::kRecord) {
    keys_.insert(keys_.end(), key, key + dim_);
    values_.insert(values_.end(), values, values + value_count_);
  }
  streaming_ = false;
  set_members_.clear();
  block_.Begin(dim_, value_count_);
  return true;
}

bool FileWriter::FinishSymbol() {
  if (symbol_ < 0) {
    errors_->LogWithText({.code = ErrorCode::kNoSymbolStarted}, "tvfDataWriteDone");
    return false;
  }
  const int symbol = symbol_;
  std::exception_ptr failure;  // passed on once the symbol is closed
  if (!broken_) {
    try {
      if (!streaming_) WriteCollected();
      block_.Finish();
    } catch (...) {
      broken_ = true;
      failure = std::current_exception();
    }
  }
  // The symbol ends here whatever happens below; one whose records could not all be written (the error is
  // logged) is written without records, so that the file stays readable.
  symbol_ = -1;
  domains_.End();
  keys_ = {};
  values_ = {};
  SymbolEntry &entry = catalog_->symbols[static_cast<size_t>(symbol)];
  if (!broken_) {
    entry.record_count = block_.record_count();
    entry.block_offset = entry.record_count > 0 ? block_.block_offset() : 0;
    entry.block_length = block_.block_length();
    entry.chunk_count = block_.chunk_count();
  }
  std::vector<int32_t> members = std::move(set_members_);
  set_members_ = {};
  if (failure) std::rethrow_exception(failure);
  if (keeps_members_ && !broken_) domains_.RememberSet(symbol, std::move(members));
  return !broken_ && !IoFailed();
}

void FileWriter::WriteCollected() {
  const size_t dim = static_cast<size_t>(dim_);
  const size_t nv = static_cast<size_t>(value_count_);
  const int32_t *keys = keys_.data();
  std::vector<uint32_t> order(static_cast<size_t>(count_));
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
  // Ties broken by arrival, so that of records with the same key the first one written is kept (std::sort,
  // unlike std::stable_sort, needs no memory of its own).
  std::sort(order.begin(), order.end(), [keys, dim](uint32_t a, uint32_t b) {
    for (size_t i = 0; i < dim; ++i) {
      if (keys[a * dim + i] != keys[b * dim + i]) return keys[a * dim + i] < keys[b * dim + i];
    }
    return a < b;
  });
  const int32_t *previous = nullptr;
  for (uint32_t r : order) {
    const int32_t *key = keys + r * dim;
    if (previous != nullptr && std::equal(key, key + dim, previous)) {
      errors_->LogKey({.code = ErrorCode::kDuplicateKey, .symbol = symbol_}, key, dim_);
      continue;
    }
    if (keeps_members_) set_members_.push_back(key[0]);
    block_.Add(key, values_.data() + r * nv);
    previous = key;
  }
}

bool FileWriter::Close() {
  if (symbol_ >= 0) FinishSymbol();
  registering_ = false;
  // Only a file that holds everything it was given replaces the one of its name. An I/O failure not logged
  // yet is logged first, so that it counts.
  IoFailed();
  if (const int errors = errors_->Count() - excused_errors_; errors > 0) {
    out_.Discard();
    if (!io_error_logged_) errors_->Log({.code = ErrorCode::kLeftAsItWas, .a = errors});
    return false;
  }
  const uint64_t directory_offset = out_.offset();
  std::string directory;
  EncodeDirectory(*catalog_, &directory);
  out_.Append(directory.data(), directory.size());

  FileHeader h;
  h.flags = kFlagComplete;
  h.file_length = out_.offset();
  h.directory_offset = directory_offset;
  h.directory_length = directory.size();
  h.directory_crc = Crc32c(directory.data(), directory.size());
  h.label_count = static_cast<uint32_t>(catalog_->labels.size());
  h.text_count = static_cast<uint32_t>(catalog_->texts.size());
  h.symbol_count = static_cast<uint32_t>(catalog_->symbols.size());
  char header[kHeaderSize];
  EncodeFileHeader(h, header);
  // The header goes last: until it is there, the file reads as unfinished.
  if (out_.Flush() && out_.WriteAt(0, header, sizeof header) && out_.Commit()) return true;
  IoFailed();
  out_.Discard();
  return false;
}

}  // namespace tvf
