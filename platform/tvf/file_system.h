// The system calls through which the library reaches files, in one place, so that a test can put a
// FileSystem of its own in place and make any of them fail: a full disk, a short write, a failing sync or
// rename, a read error. The library itself uses the operating system's, which this base class is.
// Each call behaves as the POSIX call it wraps: -1 with errno set on failure, interrupted calls not retried.
// Thread safety: the calls may be made from any thread; ReplaceFileSystem is for tests, between operations.
#ifndef TVF_FILE_SYSTEM_H
#define TVF_FILE_SYSTEM_H

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace tvf {

class FileSystem {
 public:
  // No virtual destructor: the operating system's is trivially destructible, so that files can still be
  // closed while static objects are destroyed; a test's is destroyed as what it is.
  virtual int Open(const char *path, int flags, mode_t mode);
  virtual int OpenAt(int dir, const char *path, int flags, mode_t mode);
  virtual int Stat(const char *path, struct stat *st, bool follow_links);
  virtual int FileStat(int fd, struct stat *st);
  virtual int Access(const char *path, int mode);
  // The absolute path with every symbolic link resolved.
  virtual int RealPath(const char *path, std::string *resolved);
  virtual ssize_t ReadAt(int fd, void *data, size_t size, uint64_t offset);
  virtual ssize_t WriteAt(int fd, const void *data, size_t size, uint64_t offset);
  virtual int Truncate(int fd, uint64_t size);
  virtual int ChangeMode(int fd, mode_t mode);
  virtual int Sync(int fd);
  // Gives the file open as fd, made without a name (O_TMPFILE), the name `name` in directory `dir`.
  virtual int LinkAt(int fd, int dir, const char *name);
  virtual int RenameAt(int dir, const char *from, const char *to);
  virtual int UnlinkAt(int dir, const char *name);
  virtual int Close(int fd);
};

// The file system in use.
FileSystem &CurrentFileSystem();

// Puts `file_system` in place (nullptr: the operating system's again); returns the one it replaces.
FileSystem *ReplaceFileSystem(FileSystem *file_system);

}  // namespace tvf

#endif
