// Chunks of 2 MB, aligned to their size and marked for huge pages, for the node pools of large stores.
//
// Chunks that a pool hands back are kept for the next pool, up to kCachedChunkBytes in the whole process,
// so that a database dropped and built or loaded again does not fault in and zero its memory anew. A kept
// chunk is marked MADV_FREE: the kernel may take its pages whenever it runs short, and the chunk then
// reads as zeros, which the pools do not mind.
//
// Thread safety: both calls may be made from any thread.
#pragma once

#include <cstddef>

namespace tvb {

constexpr size_t kChunkBytes = size_t{2} << 20;
constexpr size_t kCachedChunkBytes = size_t{128} << 20;

// A chunk of kChunkBytes, or null when none can be mapped.
void* takeChunk();
// REQUIRES: chunk came from takeChunk() and is no longer used.
void returnChunk(void* chunk);

}  // namespace tvb
