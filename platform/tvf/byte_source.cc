#include "byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "file_system.h"

namespace tvf {
namespace {

class FileSource : public ByteSource {
 public:
  FileSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  ~FileSource() override { CurrentFileSystem().Close(fd_); }

  uint64_t Size() const override { return size_; }

  bool ReadAt(uint64_t offset, size_t n, char *dst, std::string *error) const override {
    FileSystem &fs = CurrentFileSystem();
    while (n > 0) {
      ssize_t got = fs.ReadAt(fd_, dst, n, offset);
      if (got < 0) {
        if (errno == EINTR) continue;
        *error = std::strerror(errno);
        return false;
      }
      if (got == 0) {
        *error = "unexpected end of file";
        return false;
      }
      dst += got;
      offset += static_cast<uint64_t>(got);
      n -= static_cast<size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
  uint64_t size_;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const void *data, size_t size) : bytes_(static_cast<const char *>(data), size) {}

  uint64_t Size() const override { return bytes_.size(); }

  bool ReadAt(uint64_t offset, size_t n, char *dst, std::string *error) const override {
    if (offset > bytes_.size() || n > bytes_.size() - offset) {
      *error = "read beyond the end of the data";
      return false;
    }
    std::memcpy(dst, bytes_.data() + offset, n);
    return true;
  }

 private:
  std::string bytes_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const char *path, std::string *error) {
  FileSystem &fs = CurrentFileSystem();
  int fd;
  do {
    fd = fs.Open(path, O_RDONLY | O_CLOEXEC, 0);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    *error = std::strerror(errno);
    return nullptr;
  }
  struct stat st;
  if (fs.FileStat(fd, &st) != 0) {
    *error = std::strerror(errno);
    fs.Close(fd);
    return nullptr;
  }
  if (!S_ISREG(st.st_mode)) {
    *error = S_ISDIR(st.st_mode) ? "is a directory" : "not a regular file";
    fs.Close(fd);
    return nullptr;
  }
  try {
    return std::make_unique<FileSource>(fd, static_cast<uint64_t>(st.st_size));
  } catch (...) {
    fs.Close(fd);
    throw;
  }
}

std::unique_ptr<ByteSource> MakeMemorySource(const void *data, size_t size) {
  return std::make_unique<MemorySource>(data, size);
}

}  // namespace tvf
