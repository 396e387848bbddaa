// The file being written. It is made in the directory of the file it replaces (the target) and takes the
// target's place only when it is complete: Commit syncs it to disk, renames it over the target and syncs the
// directory. Until then the target stays as it was, and a reader that has it open goes on reading it; a
// reader keeps reading the old file after the rename as well. Where the system allows it, the new file has
// no name until Commit (O_TMPFILE), so that a process that ends half way leaves nothing behind; elsewhere it
// has a hidden temporary name, removed by Discard and by the destructor.
//
// Appends are buffered at a tracked offset and flushed with positioned writes, so that the writer can go
// back to an earlier offset (to rewrite a symbol's block) and read back what it wrote. Failures keep the
// system's reason; after one, every further call fails.
#ifndef TVF_OUTPUT_FILE_H
#define TVF_OUTPUT_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace tvf {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Discard(); }
  OutputFile(const OutputFile &) = delete;
  OutputFile &operator=(const OutputFile &) = delete;

  // Starts the new file for `path`. A symbolic link is followed: the file it names is replaced and the link
  // stays. Refused when the target is there but is not a regular file or may not be written.
  bool Create(const char *path);

  // The offset of the next byte appended.
  uint64_t offset() const { return offset_; }
  void Append(const char *data, size_t size) {
    if (failed_) return;  // nothing more reaches the file
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
  // Flushes, cuts the new file at offset() and puts it in place of the target. False with the reason when a
  // step fails; the target is then as it was, unless only the sync of the directory after the rename failed.
  bool Commit();
  // Throws the new file away; the target stays as it was.
  void Discard() noexcept;

  bool failed() const { return failed_; }
  const std::string &reason() const { return reason_; }

 private:
  static constexpr size_t kFlushSize = 1 << 20;

  // Records the reason of the first failure: `step` followed by the system's text for errno.
  bool Fail(const char *step = "");
  bool FailWith(const char *reason);
  // Gives the unnamed new file a hidden name beside the target, which the rename then moves over it.
  bool NameNewFile();
  void CloseFiles() noexcept;

  int fd_ = -1;
  int directory_fd_ = -1;
  std::string name_;            // of the target, in its directory
  std::string temporary_name_;  // of the new file while it has one
  bool named_ = false;          // the new file has temporary_name_ (to be removed unless committed)
  uint64_t offset_ = 0;         // after the buffered bytes
  uint64_t flushed_ = 0;        // where the buffer goes
  std::string buffer_;
  bool failed_ = false;
  std::string reason_;
};

}  // namespace tvf

#endif
