// NodePool: fixed-size blocks for the leaves of a large record store, carved from 2 MB chunks that the
// kernel may back with huge pages (chunk_cache.h).
//
// A store of millions of records touches tens of megabytes of fresh memory as it fills. Taken from the
// heap, each 4 KB page costs a fault of its own, and on a virtual machine that fault is dear: filling a
// 2,000,000-record variable spent two thirds of its time there. A 2 MB chunk that the kernel backs with
// one huge page costs one fault, and its blocks are packed without per-block headers.
//
// Chunks are only handed back when the pool is destroyed (the store is cleared, emptied or dropped), to
// the process's chunk cache (chunk_cache.h); a released block goes to a free list that the next allocation
// takes from first.
//
// Exceptions: allocate() throws std::bad_alloc when no chunk can be mapped; the pool is then unchanged.
// Thread safety: none; a pool belongs to one store.
#pragma once

#include <cstddef>
#include <vector>

#include "core/chunk_cache.h"

namespace tvb {

// The processor's cache line: the unit in which memory is requested ahead of use and blocks are aligned.
constexpr size_t kCacheLineBytes = 64;

class NodePool {
 public:
  // REQUIRES: 16 <= blockBytes <= kChunkBytes. Blocks are rounded up to whole cache lines and aligned to
  // them, so that a block spans as few lines as its size allows.
  explicit NodePool(size_t blockBytes);
  ~NodePool();
  NodePool(const NodePool&) = delete;
  NodePool& operator=(const NodePool&) = delete;

  void* allocate();
  // REQUIRES: block came from this pool's allocate() and was not released since.
  void release(void* block);

  // Bytes mapped for chunks, used or not.
  size_t mappedBytes() const { return chunks_.size() * kChunkBytes; }

 private:
  void addChunk();

  size_t blockBytes_;
  std::vector<void*> chunks_;
  void* freeList_ = nullptr;  // released blocks, each holding the address of the next
  char* carve_ = nullptr;     // the newest chunk's blocks not yet handed out: [carve_, carveEnd_)
  char* carveEnd_ = nullptr;
};

}  // namespace tvb
