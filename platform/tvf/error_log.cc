#include "error_log.h"

#include <new>

#include "error_messages.h"

namespace tvf {

void ErrorLog::Clear() {
  entries_.clear();
  stack_.clear();
  strings_.clear();
  keys_.clear();
  lost_ = 0;
  lost_on_stack_ = 0;
  last_number_ = 0;
}

int ErrorLog::Lost() noexcept {
  ++lost_;
  ++lost_on_stack_;
  last_number_ = kLostErrorNumber;
  return kLostErrorNumber;
}

int ErrorLog::Log(const ErrorEntry &entry) noexcept {
  try {
    entries_.push_back(entry);
    try {
      stack_.push_back(static_cast<int32_t>(entries_.size()));
    } catch (const std::bad_alloc &) {
      entries_.pop_back();
      throw;
    }
    last_number_ = static_cast<int>(entries_.size());
    return last_number_;
  } catch (const std::bad_alloc &) {
    return Lost();
  }
}

int ErrorLog::LogWithText(ErrorEntry entry, std::string_view text) noexcept {
  try {
    strings_.emplace_back(text);
  } catch (const std::bad_alloc &) {
    return Lost();
  }
  entry.a = static_cast<int64_t>(strings_.size() - 1);
  return Log(entry);
}

int ErrorLog::LogWithTexts(ErrorEntry entry, std::string_view text, std::string_view text2) noexcept {
  try {
    strings_.reserve(strings_.size() + 2);
    strings_.emplace_back(text);
    strings_.emplace_back(text2);
  } catch (const std::bad_alloc &) {
    return Lost();
  }
  entry.a = static_cast<int64_t>(strings_.size() - 2);
  entry.b = static_cast<int64_t>(strings_.size() - 1);
  return Log(entry);
}

int ErrorLog::LogKey(ErrorEntry entry, const int32_t *key, int dim) noexcept {
  try {
    entry.a = static_cast<int64_t>(keys_.size());
    keys_.insert(keys_.end(), key, key + dim);
  } catch (const std::bad_alloc &) {
    return Lost();
  }
  return Log(entry);
}

int ErrorLog::PopLast() {
  // An error lost for lack of memory was the most recent when it happened; reporting it first is as close
  // as the log can come.
  if (lost_on_stack_ > 0) {
    --lost_on_stack_;
    return kLostErrorNumber;
  }
  if (stack_.empty()) return 0;
  int number = stack_.back();
  stack_.pop_back();
  return number;
}

std::string ErrorLog::Text(int number, const Catalog &catalog) const {
  if (number == 0) return NoErrorMessage();
  if (number == kLostErrorNumber) return LostErrorMessage();
  if (number < 0 || static_cast<size_t>(number) > entries_.size()) return UnknownErrorMessage(number);
  return FormatError(entries_[static_cast<size_t>(number) - 1], *this, catalog);
}

}  // namespace tvf
