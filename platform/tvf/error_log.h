// The error log of a library object. Errors are kept as compact entries (a code and a few numbers) so that
// a write with millions of faulty records stays affordable; their texts are formatted only when asked for,
// by error_messages.cc, the one place where messages are worded. An error's number is its 1-based place in
// the log since the file was opened; numbers stay valid (for tvfErrorStr) after tvfGetLastError has taken
// the error off the stack. Logging never throws: an error that cannot be stored for lack of memory still
// counts and comes off the stack as kLostErrorNumber.
#ifndef TVF_ERROR_LOG_H
#define TVF_ERROR_LOG_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "error_codes.h"

namespace tvf {

struct Catalog;

struct ErrorEntry {
  ErrorCode code;
  uint8_t position = 0;  // 0-based key position where the code has one
  int32_t symbol = -1;   // 0-based symbol index, -1 for none
  int64_t a = 0;         // code-specific numbers; for texts an index into the log's strings
  int64_t b = 0;
};

inline constexpr int kLostErrorNumber = 0x7fffffff;

class ErrorLog {
 public:
  // Forgets every error (a file is being opened).
  void Clear();

  // Logs an error; returns its number.
  int Log(const ErrorEntry &entry) noexcept;
  // Logs an error that carries a text (its index goes to entry.a), or two texts (entry.a and entry.b).
  int LogWithText(ErrorEntry entry, std::string_view text) noexcept;
  int LogWithTexts(ErrorEntry entry, std::string_view text, std::string_view text2) noexcept;
  // Logs a duplicate key: the key is kept for the text.
  int LogKey(ErrorEntry entry, const int32_t *key, int dim) noexcept;

  // The number of the error logged last (kLostErrorNumber when it could not be stored), 0 before any.
  int last_number() const { return last_number_; }

  // Every error logged since the file was opened, also those taken off the stack.
  int Count() const { return static_cast<int>(entries_.size()) + lost_; }
  // Takes the most recent error off the stack; 0 when none is left.
  int PopLast();

  // The text of error `number` (0 and unknown numbers have texts of their own).
  std::string Text(int number, const Catalog &catalog) const;

  // For the message texts.
  const std::string &String(int64_t index) const { return strings_[static_cast<size_t>(index)]; }
  const int32_t *Key(int64_t offset) const { return keys_.data() + offset; }

 private:
  int Lost() noexcept;

  std::vector<ErrorEntry> entries_;
  std::vector<int32_t> stack_;  // numbers not yet taken off
  std::vector<std::string> strings_;
  std::vector<int32_t> keys_;
  int lost_ = 0;
  int lost_on_stack_ = 0;
  int last_number_ = 0;
};

}  // namespace tvf

#endif
