#include "output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tvf {
namespace {

bool WriteAll(int fd, const char *data, size_t size, uint64_t offset) {
  while (size > 0) {
    ssize_t n = ::pwrite(fd, data, size, static_cast<off_t>(offset));
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

OutputFile::~OutputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool OutputFile::Fail() {
  if (!failed_) reason_ = std::strerror(errno);
  failed_ = true;
  return false;
}

bool OutputFile::Create(const char *path) {
  do {
    fd_ = ::open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (fd_ < 0 && errno == EINTR);
  return fd_ >= 0 || Fail();
}

bool OutputFile::Flush() {
  if (failed_) return false;
  if (!buffer_.empty()) {
    if (!WriteAll(fd_, buffer_.data(), buffer_.size(), flushed_)) return Fail();
    flushed_ += buffer_.size();
    buffer_.clear();
  }
  return true;
}

bool OutputFile::ReadBack(uint64_t from, std::string *out) {
  if (!Flush()) return false;
  out->resize(static_cast<size_t>(offset_ - from));
  size_t done = 0;
  while (done < out->size()) {
    ssize_t n = ::pread(fd_, out->data() + done, out->size() - done, static_cast<off_t>(from + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return Fail();
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool OutputFile::Rewind(uint64_t offset) {
  if (!Flush()) return false;
  offset_ = flushed_ = offset;
  return true;
}

bool OutputFile::WriteAt(uint64_t offset, const char *data, size_t size) {
  if (failed_) return false;
  return WriteAll(fd_, data, size, offset) || Fail();
}

bool OutputFile::Finish() {
  bool ok = Flush();
  if (ok && ::ftruncate(fd_, static_cast<off_t>(offset_)) != 0) ok = Fail();
  if (::close(fd_) != 0 && ok) ok = Fail();
  fd_ = -1;
  return ok;
}

}  // namespace tvf
