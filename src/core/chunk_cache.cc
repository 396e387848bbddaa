#include "core/chunk_cache.h"

#include <pthread.h>
#include <sys/mman.h>

#include <cstdint>

namespace tvb {

namespace {

constexpr int kCacheSlots = static_cast<int>(kCachedChunkBytes / kChunkBytes);

// Constant-initialised, so that it is ready before any static constructor, and trivially destructible, so
// that it stays usable while other static objects are destroyed.
struct Cache {
  pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
  void* chunks[kCacheSlots] = {};
  int count = 0;
  bool closed = false;  // set once the library is being unloaded
};
constinit Cache cache;

class CacheLock {
 public:
  CacheLock() { pthread_mutex_lock(&cache.mutex); }
  ~CacheLock() { pthread_mutex_unlock(&cache.mutex); }
  CacheLock(const CacheLock&) = delete;
  CacheLock& operator=(const CacheLock&) = delete;
};

// Hands the kept chunks back when the library is unloaded or the process ends, so that a client that
// unloads the library does not keep them mapped; a store dropped after that unmaps its chunks at once.
struct CacheCloser {
  ~CacheCloser() {
    CacheLock lock;
    while (cache.count > 0) munmap(cache.chunks[--cache.count], kChunkBytes);
    cache.closed = true;
  }
} closer;

// Twice the size is mapped and the ends that stick out are unmapped again, leaving a chunk aligned to its
// own size, which the kernel can back with one huge page.
void* mapChunk() {
  void* mapped = mmap(nullptr, 2 * kChunkBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  char* raw = static_cast<char*>(mapped);
  char* chunk =
      reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(raw) + kChunkBytes - 1) & ~(uintptr_t{kChunkBytes} - 1));
  const size_t lead = static_cast<size_t>(chunk - raw);
  if (lead > 0) munmap(raw, lead);
  if (lead < kChunkBytes) munmap(chunk + kChunkBytes, kChunkBytes - lead);
  // Advice only: where the kernel has no huge page to spare, the chunk is backed by small pages as usual.
  madvise(chunk, kChunkBytes, MADV_HUGEPAGE);
  return chunk;
}

}  // namespace

void* takeChunk() {
  {
    CacheLock lock;
    if (cache.count > 0) return cache.chunks[--cache.count];
  }
  return mapChunk();
}

void returnChunk(void* chunk) {
  {
    CacheLock lock;
    if (!cache.closed && cache.count < kCacheSlots) {
      madvise(chunk, kChunkBytes, MADV_FREE);
      cache.chunks[cache.count++] = chunk;
      return;
    }
  }
  munmap(chunk, kChunkBytes);
}

}  // namespace tvb
