#include "core/node_pool.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

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

namespace {

constexpr size_t kLineBytes = 64;

// A chunk aligned to its own size, so that the kernel can back it with one huge page: twice the size is
// mapped and the ends that stick out are unmapped again.
void* mapChunk() {
  const size_t bytes = NodePool::kChunkBytes;
  void* mapped = mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  char* raw = static_cast<char*>(mapped);
  char* chunk = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(raw) + bytes - 1) & ~(uintptr_t{bytes} - 1));
  if (chunk > raw) munmap(raw, chunk - raw);
  if (chunk + bytes < raw + 2 * bytes) munmap(chunk + bytes, raw + 2 * bytes - (chunk + bytes));
  // Advice only: where the kernel has no huge page to spare, the chunk is backed by small pages as usual.
  madvise(chunk, bytes, MADV_HUGEPAGE);
  return chunk;
}

}  // namespace

NodePool::NodePool(size_t blockBytes) : blockBytes_((blockBytes + kLineBytes - 1) / kLineBytes * kLineBytes) {}

NodePool::~NodePool() {
  for (void* chunk : chunks_) {
    TVB_UNPOISON(chunk, kChunkBytes);
    munmap(chunk, kChunkBytes);
  }
}

void NodePool::addChunk() {
  chunks_.reserve(chunks_.size() + 1);  // before mapping, so that a failure here leaks nothing
  void* chunk = mapChunk();
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
