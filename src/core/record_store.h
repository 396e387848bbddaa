// RecordStore: the records of one symbol, an ordered map from keys (dim label numbers, compared
// lexicographically as signed ints, first position most significant) to rows of valueCount doubles.
//
// A B+tree whose nodes are single allocations of a few kilobytes laid out by computed offsets: leaves hold
// fixed-stride rows, each a record's key (int32s) followed by its values (doubles), and are linked in both
// directions for walking; inner nodes hold separator keys and children. Records live only in
// leaves. Appending in key order (files, arrays, labels registered in order) fills leaves to the brim.
//
// Positions (leaf, slot) are valid until the next structural change: insert of a new key, erase, clear.
// Each such change advances version(), so a holder of a position (a record handle) can tell that it must
// find its key again. Changing values through values() is not a structural change.
//
// Exceptions: insert() may throw std::bad_alloc; the store is then unchanged. Nothing else throws.
// Thread safety: none; a store belongs to one database, used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

#include "core/node_pool.h"

namespace tvb {

class RecordStore {
 public:
  // A node is one allocation: this header, then (leaf) capacity rows of dim ints and valueCount doubles; or
  // (inner) innerCapacity + 1 child pointers and innerCapacity separator keys. A record's key and values
  // share a row, so that a search which brings in the keys it probes has the found record's values too.
  // Defined here so that walking and reading records inline into their callers.
  struct Node {
    Node* prev;  // leaves: the neighbours in key order, for walking
    Node* next;
    int32_t count;      // records of a leaf, children of an inner node
    uint16_t capacity;  // records a leaf has room for: the only leaf of a small store is smaller than the others
    bool leaf;
    bool pooled;  // taken from the store's node pool rather than the heap
  };

  // A record's place in the store. end() (leaf == nullptr) stands past the last record.
  struct Position {
    Node* leaf = nullptr;
    int slot = 0;
    bool isEnd() const { return leaf == nullptr; }
    bool operator==(const Position&) const = default;
  };

  // REQUIRES: 0 <= dim <= 20, valueCount is 1 or 5.
  RecordStore(int dim, int valueCount);
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  int dim() const { return dim_; }
  int valueCount() const { return valueCount_; }
  int64_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  uint64_t version() const { return version_; }

  // The record with this key (dim ints), or end().
  Position find(const int* key) const;

  // Inserts key when absent; returns its position and whether it was inserted. A new record's values are
  // zero; the caller fills them through values(). Fast when the key is greater than every stored key.
  std::pair<Position, bool> insert(const int* key);

  // Appends a record whose key is above every stored key when the last leaf has room: the common case of
  // loading sorted data (files, arrays), done inline. Returns the new record's values, which the caller
  // must all write, or null when the key does not qualify; insert() then does the general work.
  double* appendIfLast(const int* key) {
    Node* leaf = lastLeaf_;
    if (leaf == nullptr) return nullptr;
    const int count = leaf->count;
    if (count == 0 || count >= leaf->capacity) return nullptr;
    const int dim = dim_;  // a local: the key stores below could otherwise alias the member
    char* last = row(leaf, count - 1);
    if (!above(key, reinterpret_cast<const int32_t*>(last), dim)) return nullptr;
    int32_t* to = reinterpret_cast<int32_t*>(last + rowBytes_);
    if (dim == 2) {
      to[0] = key[0];
      to[1] = key[1];
    } else {
      for (int k = 0; k < dim; ++k) to[k] = key[k];
    }
    leaf->count = count + 1;
    ++size_;
    ++version_;
    return reinterpret_cast<double*>(reinterpret_cast<char*>(to) + keyBytes_);
  }

  // Removes the record at p (not end()) and returns the position of the record that followed it.
  Position erase(Position p);

  // Removes every record.
  void clear();

  Position first() const;
  Position last() const;
  // end() after the last record
  Position next(Position p) const {
    if (p.leaf == nullptr) return end();
    if (p.slot + 1 < p.leaf->count) return Position{p.leaf, p.slot + 1};
    return p.leaf->next != nullptr ? Position{p.leaf->next, 0} : end();
  }
  // end() before the first record
  Position prev(Position p) const {
    if (p.leaf == nullptr) return end();
    if (p.slot > 0) return Position{p.leaf, p.slot - 1};
    Node* before = p.leaf->prev;
    return before != nullptr ? Position{before, before->count - 1} : end();
  }
  static Position end() { return Position{}; }
  // Requests the lines of the leaf after p's (forward) or before it, its header and its records, so that a
  // walk finds that leaf in the cache when it gets there: leaves lie wherever they were allocated, where the
  // processor's own prefetching does not follow. REQUIRES: p is a valid position.
  void requestNeighbour(Position p, bool forward) const;

  // REQUIRES: p is a valid position (not end()).
  const int* key(Position p) const { return keyAt(p.leaf, p.slot); }
  double* values(Position p) const { return valuesAt(p.leaf, p.slot); }
  // From one record's key (ints) or values (doubles) to the next record's in the same leaf.
  int keyStride() const { return static_cast<int>(rowBytes_ / sizeof(int32_t)); }
  int valueStride() const { return static_cast<int>(rowBytes_ / sizeof(double)); }

  // Bytes held by the store's nodes, pool chunks counted whole (for the benchmarks' memory figures).
  size_t memoryBytes() const;

 private:
  struct Path;            // the inner nodes on the way from the root to a leaf, with the child taken at each
  struct SplitNodes;      // the nodes a split takes, allocated before it changes anything
  struct StructureAudit;  // the walk of structureFault()
  // Where a new key goes in a full leaf: past its last record, before its first, or in between.
  enum class Edge { kEnd, kStart, kMiddle };
  friend class RecordStoreTestAccess;

  // Layout
  size_t leafBytes(int capacity) const;
  size_t innerBytes() const;
  // Whether key a comes after key b; two-label keys, the common case, without a loop.
  static bool above(const int* a, const int* b, int dim) {
    if (dim == 2) return a[0] != b[0] ? a[0] > b[0] : a[1] > b[1];
    int i = 0;
    while (i < dim && a[i] == b[i]) ++i;
    return i < dim && a[i] > b[i];
  }
  char* row(Node* leaf, int slot) const {
    return reinterpret_cast<char*>(leaf) + sizeof(Node) + static_cast<size_t>(slot) * rowBytes_;
  }
  int32_t* keyAt(Node* leaf, int slot) const { return reinterpret_cast<int32_t*>(row(leaf, slot)); }
  double* valuesAt(Node* leaf, int slot) const { return reinterpret_cast<double*>(row(leaf, slot) + keyBytes_); }
  Node** children(Node* inner) const;
  int32_t* innerKeys(Node* inner) const;
  int32_t* separatorAt(Node* inner, int i) const;
  void copyKeys(int32_t* to, const int32_t* from, int n) const;  // n keys of dim ints
  int minLeafCount() const;
  int minInnerCount() const;

  // Allocation
  Node* allocateLeaf(int capacity);
  Node* allocateInner();
  void release(Node* node);
  void releaseSubtree(Node* node);  // for releaseAll only
  void releaseAll();                // every node, and the pool's chunks

  // Search
  int searchLeaf(Node* leaf, const int* key) const;    // first slot whose key is not below key
  int searchInner(Node* inner, const int* key) const;  // the child whose range holds key
  Position locate(const int* key, Path* path, bool* found) const;

  // Moving records and children
  Position placeInLeaf(Node* leaf, int slot, const int* key);
  void removeFromLeaf(Node* leaf, int slot) const;
  void moveRecords(Node* from, int fromSlot, Node* to, int toSlot, int n) const;
  Position distribute(Node* left, Node* right, int keyIndex, int leftCount, const int* key);
  void moveBoundary(Node* left, Node* right, int leftCount) const;
  void renewSeparator(Node* parent, int separatorIndex) const;
  void evenOutInner(Node* left, Node* right, int32_t* separator) const;
  void insertChild(Node* inner, int childIndex, int separatorIndex, const int32_t* separator, Node* child) const;
  void removeChild(Node* inner, int childIndex, int separatorIndex) const;
  Node* childOrNull(Node* inner, int index) const;  // null outside the node's children
  void linkLeafAfter(Node* leaf, Node* before);
  void linkLeafBefore(Node* leaf, Node* after);
  void unlinkLeaf(Node* leaf);

  // Insert: the steps after the fast paths of insert()
  Position plantRoot(const int* key);
  void descendRightEdge(Path* path) const;
  Position makeRoomAndPlace(Position at, Path* path, const int* key);
  Position growOnlyLeaf(int slot, const int* key);
  Position shareWithNeighbour(Position at, const Path& path, const int* key);
  SplitNodes allocateSplitNodes(const Path& path);
  Position splitLeaf(Position at, Path* path, const int* key, Edge edge);
  void propagateSplit(Path* path, Node* old, Node* added, Edge edge, SplitNodes* fresh);
  Node* splitInner(Node* inner, int newChild, Edge edge, int32_t* separator, Node* upper) const;
  void growRoot(Node* left, Node* right, const int32_t* separator, Node* root);

  // Erase
  void rebalance(Node* node, Path* path);
  void dropChild(Node* parent, int index);
  bool mergeWithNeighbour(Node* parent, int index);
  void mergeChildren(Node* parent, int separatorIndex);
  void refillFromNeighbour(Node* parent, int index);

  const char* structureFault() const;  // null when every invariant holds; for the tests

  int dim_;
  int valueCount_;
  size_t keyBytes_;  // a row's key, padded to whole doubles so that the values after it are aligned
  size_t rowBytes_;
  int leafCapacity_;   // records per leaf, from the node byte budget and the row width
  int innerCapacity_;  // children per inner node
  int64_t size_ = 0;
  uint64_t version_ = 0;
  Node* root_ = nullptr;
  Node* firstLeaf_ = nullptr;
  Node* lastLeaf_ = nullptr;
  int height_ = 0;     // levels of nodes, leaves included; 0 when empty
  size_t memory_ = 0;  // bytes of the nodes taken from the heap
  // Full leaves of a large store come from here (see node_pool.h); created once the heap's share passes
  // a threshold, so that the many small stores of a database do not each map a chunk.
  std::unique_ptr<NodePool> leafPool_;
};

}  // namespace tvb
