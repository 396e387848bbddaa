#include "output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "file_system.h"

namespace tvf {
namespace {

// Names taken by other writers are passed over; this many in a row means something else is wrong.
constexpr int kNameAttempts = 100;

bool WriteAll(FileSystem &fs, int fd, const char *data, size_t size, uint64_t offset) {
  while (size > 0) {
    ssize_t n = fs.WriteAt(fd, data, size, offset);
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

// The directory part and the name part of a path ("." for a bare name).
void SplitPath(const std::string &path, std::string *directory, std::string *name) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    *directory = ".";
    *name = path;
    return;
  }
  *directory = slash == 0 ? "/" : path.substr(0, slash);
  *name = path.substr(slash + 1);
}

// A hidden name beside the target, unique within the process and, by the process id, among processes.
std::string TemporaryName(const std::string &name) {
  static std::atomic<unsigned> counter{0};
  return "." + name.substr(0, 200) + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
}

}  // namespace

bool OutputFile::Fail(const char *step) {
  if (!failed_) reason_ = std::string(step) + std::strerror(errno);
  failed_ = true;
  return false;
}

bool OutputFile::FailWith(const char *reason) {
  if (!failed_) reason_ = reason;
  failed_ = true;
  return false;
}

bool OutputFile::Create(const char *path) {
  FileSystem &fs = CurrentFileSystem();
  std::string target = path;
  struct stat st;
  const bool exists = fs.Stat(path, &st, false) == 0;
  if (!exists && errno != ENOENT) return Fail();
  if (exists && S_ISLNK(st.st_mode) && (fs.RealPath(path, &target) != 0 || fs.Stat(target.c_str(), &st, true) != 0)) {
    return Fail();
  }
  if (exists && S_ISDIR(st.st_mode)) return FailWith(std::strerror(EISDIR));
  if (exists && !S_ISREG(st.st_mode)) return FailWith("not a regular file");
  // A file protected against writing stays protected, though replacing it needs only the directory.
  if (exists && fs.Access(target.c_str(), W_OK) != 0) return Fail();
  std::string directory;
  SplitPath(target, &directory, &name_);
  if (name_.empty()) return FailWith(std::strerror(EISDIR));

  directory_fd_ = fs.Open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (directory_fd_ < 0) return Fail();
  fd_ = fs.OpenAt(directory_fd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  // File systems without unnamed files say so with one of two errors; there the new file gets a hidden name.
  if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) {
    int attempts = 0;
    do {
      temporary_name_ = TemporaryName(name_);
      fd_ = fs.OpenAt(directory_fd_, temporary_name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd_ < 0 && errno == EEXIST && ++attempts < kNameAttempts);
    named_ = fd_ >= 0;
  }
  if (fd_ < 0) return Fail();
  // The new file keeps the permissions of the one it replaces.
  if (exists && fs.ChangeMode(fd_, st.st_mode & 07777) != 0) return Fail();
  return true;
}

bool OutputFile::Flush() {
  if (failed_) return false;
  if (!buffer_.empty()) {
    if (!WriteAll(CurrentFileSystem(), fd_, buffer_.data(), buffer_.size(), flushed_)) return Fail();
    flushed_ += buffer_.size();
    buffer_.clear();
  }
  return true;
}

bool OutputFile::ReadBack(uint64_t from, std::string *out) {
  if (!Flush()) return false;
  FileSystem &fs = CurrentFileSystem();
  out->resize(static_cast<size_t>(offset_ - from));
  size_t done = 0;
  while (done < out->size()) {
    ssize_t n = fs.ReadAt(fd_, out->data() + done, out->size() - done, from + done);
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
  return WriteAll(CurrentFileSystem(), fd_, data, size, offset) || Fail();
}

bool OutputFile::NameNewFile() {
  FileSystem &fs = CurrentFileSystem();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    temporary_name_ = TemporaryName(name_);
    if (fs.LinkAt(fd_, directory_fd_, temporary_name_.c_str()) == 0) return named_ = true;
    if (errno != EEXIST) break;
  }
  return Fail("putting the new file in place failed: ");
}

bool OutputFile::Commit() {
  if (!Flush()) return false;
  FileSystem &fs = CurrentFileSystem();
  if (fs.Truncate(fd_, offset_) != 0) return Fail();
  if (fs.Sync(fd_) != 0) return Fail("syncing the new file to disk failed: ");
  if (!named_ && !NameNewFile()) return false;
  if (fs.RenameAt(directory_fd_, temporary_name_.c_str(), name_.c_str()) != 0) {
    return Fail("putting the new file in place failed: ");
  }
  named_ = false;  // the name is the target's now
  // The rename lasts through a crash only once the directory is on disk.
  const bool synced =
      fs.Sync(directory_fd_) == 0 || Fail("the new file is in place, but syncing its directory failed: ");
  CloseFiles();
  return synced;
}

void OutputFile::Discard() noexcept {
  if (named_) CurrentFileSystem().UnlinkAt(directory_fd_, temporary_name_.c_str());
  named_ = false;
  CloseFiles();
}

void OutputFile::CloseFiles() noexcept {
  FileSystem &fs = CurrentFileSystem();
  // A failing close changes nothing: a committed file was synced before, a discarded one is not wanted.
  if (fd_ >= 0) fs.Close(fd_);
  if (directory_fd_ >= 0) fs.Close(directory_fd_);
  fd_ = directory_fd_ = -1;
}

}  // namespace tvf
