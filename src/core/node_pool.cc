#include "core/node_pool.h"

#include <new>

#include "core/chunk_cache.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
// Blocks on the free list and not yet carved are poisoned, so that a stale pointer into a released leaf
// is reported by the sanitizer as it would be for heap memory.
#define TVB_POISON(address, bytes) ASAN_POISON_MEMORY_REGION(address, bytes)
#define TVB_UNPOISON(address, bytes) ASAN_UNPOISON_MEMORY_REGION(address, bytes)
#else
#define TVB_POISON(address, bytes) ((void)(address), (void)(bytes))
#define TVB_UNPOISON(address, bytes) ((void)(address), (void)(bytes))
#endif

namespace tvb {

NodePool::NodePool(size_t blockBytes)
    : blockBytes_((blockBytes + kCacheLineBytes - 1) / kCacheLineBytes * kCacheLineBytes) {}

NodePool::~NodePool() {
  for (void* chunk : chunks_) {
    TVB_UNPOISON(chunk, kChunkBytes);
    returnChunk(chunk);
  }
}

void NodePool::addChunk() {
  chunks_.reserve(chunks_.size() + 1);  // before mapping, so that a failure here leaks nothing
  void* chunk = takeChunk();
  if (chunk == nullptr) throw std::bad_alloc();
  chunks_.push_back(chunk);
  carve_ = static_cast<char*>(chunk);
  carveEnd_ = carve_ + kChunkBytes / blockBytes_ * blockBytes_;
  TVB_POISON(chunk, kChunkBytes);
}

void* NodePool::allocate() {
  if (freeList_ != nullptr) {
    void* block = freeList_;
    TVB_UNPOISON(block, blockBytes_);
    freeList_ = *static_cast<void**>(block);
    return block;
  }
  if (carve_ == carveEnd_) addChunk();
  void* block = carve_;
  carve_ += blockBytes_;
  TVB_UNPOISON(block, blockBytes_);
  return block;
}

void NodePool::release(void* block) {
  *static_cast<void**>(block) = freeList_;
  freeList_ = block;
  TVB_POISON(block, blockBytes_);
}

}  // namespace tvb
