// Where a file being read comes from: a file on disk (read with pread, so that symbols are read in any
// order without a shared file position) or a copy of the bytes in memory. Both report a short read as a
// failure; the reader checks lengths against Size() first.
#ifndef TVF_BYTE_SOURCE_H
#define TVF_BYTE_SOURCE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tvf {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads exactly n bytes at offset into dst; false (with *error set to a reason) otherwise.
  virtual bool ReadAt(uint64_t offset, size_t n, char *dst, std::string *error) const = 0;
};

// Opens `path` for reading; nullptr with *error set to the system's reason when it cannot.
std::unique_ptr<ByteSource> OpenFileSource(const char *path, std::string *error);

// Keeps a copy of [data, data + size).
std::unique_ptr<ByteSource> MakeMemorySource(const void *data, size_t size);

}  // namespace tvf

#endif
