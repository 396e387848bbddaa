// The file being written: buffered appends at a tracked offset, flushed with positioned writes, so that the
// writer can go back to an earlier offset (to rewrite a symbol's block) and read back what it wrote.
// Failures keep the system's reason; after one, every further call fails.
#ifndef TVF_OUTPUT_FILE_H
#define TVF_OUTPUT_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace tvf {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();  // closes without finishing
  OutputFile(const OutputFile &) = delete;
  OutputFile &operator=(const OutputFile &) = delete;

  // Creates or truncates `path`.
  bool Create(const char *path);

  // The offset of the next byte appended.
  uint64_t offset() const { return offset_; }
  void Append(const char *data, size_t size) {
    buffer_.append(data, size);
    offset_ += size;
    if (buffer_.size() >= kFlushSize) Flush();
  }
  bool Flush();
  // Reads back [from, offset()) into *out.
  bool ReadBack(uint64_t from, std::string *out);
  // Forgets everything from `offset` on; the next append goes there.
  bool Rewind(uint64_t offset);
  // Writes `size` bytes at `offset` directly (the header).
  bool WriteAt(uint64_t offset, const char *data, size_t size);
  // Flushes, cuts the file at offset() and closes it.
  bool Finish();

  bool failed() const { return failed_; }
  const std::string &reason() const { return reason_; }

 private:
  static constexpr size_t kFlushSize = 1 << 20;

  bool Fail();

  int fd_ = -1;
  uint64_t offset_ = 0;   // after the buffered bytes
  uint64_t flushed_ = 0;  // where the buffer goes
  std::string buffer_;
  bool failed_ = false;
  std::string reason_;
};

}  // namespace tvf

#endif
