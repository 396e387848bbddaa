#include "file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace tvf {
namespace {

constinit FileSystem operating_system;
std::atomic<FileSystem *> replacement{nullptr};

}  // namespace

int FileSystem::Open(const char *path, int flags, mode_t mode) { return ::open(path, flags, mode); }

int FileSystem::OpenAt(int dir, const char *path, int flags, mode_t mode) { return ::openat(dir, path, flags, mode); }

int FileSystem::Stat(const char *path, struct stat *st, bool follow_links) {
  return follow_links ? ::stat(path, st) : ::lstat(path, st);
}

int FileSystem::FileStat(int fd, struct stat *st) { return ::fstat(fd, st); }

int FileSystem::Access(const char *path, int mode) { return ::access(path, mode); }

int FileSystem::RealPath(const char *path, std::string *resolved) {
  char *absolute = ::realpath(path, nullptr);
  if (absolute == nullptr) return -1;
  *resolved = absolute;
  std::free(absolute);
  return 0;
}

ssize_t FileSystem::ReadAt(int fd, void *data, size_t size, uint64_t offset) {
  return ::pread(fd, data, size, static_cast<off_t>(offset));
}

ssize_t FileSystem::WriteAt(int fd, const void *data, size_t size, uint64_t offset) {
  return ::pwrite(fd, data, size, static_cast<off_t>(offset));
}

int FileSystem::Truncate(int fd, uint64_t size) { return ::ftruncate(fd, static_cast<off_t>(size)); }

int FileSystem::ChangeMode(int fd, mode_t mode) { return ::fchmod(fd, mode); }

int FileSystem::Sync(int fd) { return ::fsync(fd); }

int FileSystem::LinkAt(int fd, int dir, const char *name) {
  // The one way to name an unnamed file without privileges: through its entry in /proc.
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  return ::linkat(AT_FDCWD, self, dir, name, AT_SYMLINK_FOLLOW);
}

int FileSystem::RenameAt(int dir, const char *from, const char *to) { return ::renameat(dir, from, dir, to); }

int FileSystem::UnlinkAt(int dir, const char *name) { return ::unlinkat(dir, name, 0); }

int FileSystem::Close(int fd) { return ::close(fd); }

FileSystem &CurrentFileSystem() {
  FileSystem *replaced = replacement.load(std::memory_order_acquire);
  return replaced != nullptr ? *replaced : operating_system;
}

FileSystem *ReplaceFileSystem(FileSystem *file_system) {
  return replacement.exchange(file_system, std::memory_order_acq_rel);
}

}  // namespace tvf
