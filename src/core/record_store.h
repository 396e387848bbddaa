// RecordStore: the records of one symbol, an ordered map from keys (dim label numbers, compared
// lexicographically as signed ints, first position most significant) to rows of valueCount doubles.
//
// A B+tree whose nodes are single allocations of a few kilobytes laid out by computed offsets. Records live
// only in leaves, which are linked in both directions for walking; inner nodes hold separator keys (plain
// ints) and children. Appending in key order (files, arrays, labels registered in order) fills leaves to the
// brim.
//
// A leaf stores its keys in a code of its own (LeafCoding): per position a base label and a bit width, each
// key packed as the offsets from the bases, first position highest, into one unsigned number of 1, 2, 4 or 8
// bytes. Packing keeps key order, so a leaf is searched on the codes alone; positions that all records of a
// leaf share cost no bits. Keys too wide for 64 bits are stored as they are. The values sit in an array of
// their own after the codes, aligned, so a record's values are a double* for as long as its position holds.
// Keys are therefore handed out by value (key() writes them to the caller's buffer), never as pointers.
//
// Positions (leaf, slot) are valid until the next structural change: insert of a new key, erase, clear.
// Each such change advances version(), so a holder of a position (a record handle) can tell that it must
// find its key again. Changing values through values() is not a structural change.
//
// Exceptions: insert() may throw std::bad_alloc; the store then holds the records it held. (Its version has
// advanced when records had moved to make room for the key.) Nothing else throws.
// Thread safety: none; a store belongs to one database, used by one thread at a time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "core/node_pool.h"
#include "tvbcclib.h"

namespace tvb {

class RecordStore {
 public:
  // A node is one allocation: this header, then (leaf) the leaf's coding, capacity key codes and capacity
  // value rows; or (inner) innerCapacity + 1 child pointers and innerCapacity separator keys.
  // Defined here so that walking and reading records inline into their callers.
  struct Node {
    Node* prev;  // leaves: the neighbours in key order, for walking
    Node* next;
    int32_t count;      // records of a leaf, children of an inner node
    uint16_t capacity;  // records a leaf has room for at its code width
    bool leaf;
    bool pooled;          // taken from the store's node pool rather than the heap
    uint32_t bytes;       // leaves: the size of the allocation (the only leaf of a small store is smaller)
    uint16_t valueStart;  // leaves: offset of the values from the node
    uint8_t codeBytes;    // leaves: bytes per key code; above 8 the keys are stored as they are
    uint8_t unused;
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

  // The values of the record with key, inserted when absent; for callers that then write all of its values.
  // Keys in ascending order (copies, arrays, files) are appended inline.
  double* valuesToWrite(const int* key) {
    if (double* values = appendIfLast(key)) return values;
    return values(insert(key).first);
  }

  // Appends a record whose key is above every stored key when the last leaf has room and its code covers the
  // key: the common case of loading sorted data (files, arrays), done inline. Returns the new record's
  // values, which the caller must all write, or null when the key does not qualify; insert() then does the
  // general work.
  double* appendIfLast(const int* key) {
    AppendWindow& w = window_;
    if (w.version != version_ && (!appending_ || !openWindow())) return nullptr;
    uint64_t code;
    if (dim_ == 2) {  // the common width, coded from the window alone
      const uint32_t first = static_cast<uint32_t>(key[0]) - w.base[0];
      const uint32_t second = static_cast<uint32_t>(key[1]) - w.base[1];
      if ((first > w.span[0]) | (second > w.span[1])) return declineAppend();
      code = (uint64_t{first} << w.shift) | second;
    } else if (!encode(w.leaf, key, &code)) {
      return declineAppend();
    }
    // Inside the code's range codes are in key order: a code above the last one is a key above it.
    if (code <= w.lastCode || w.code == w.codeEnd) return declineAppend();
    storeCodeAt(w.code, w.codeBytes, code);
    w.code += w.codeBytes;
    w.lastCode = code;
    ++w.leaf->count;
    double* values = w.values;
    w.values += valueCount_;
    ++size_;
    w.version = ++version_;
    return values;
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
  // Writes the record's key, dim ints, to to.
  void key(Position p, int* to) const { readKey(p.leaf, p.slot, to); }
  // The first label of the record's key.
  int firstLabel(Position p) const {
    int k[GLOBAL_MAX_INDEX_DIM] = {};
    readKey(p.leaf, p.slot, k);
    return k[0];
  }
  double* values(Position p) const { return valuesAt(p.leaf, p.slot); }
  // From one record's values to the next record's in the same leaf.
  int valueStride() const { return valueCount_; }

  // Writes the key of the record in slot of leaf to to. Leaf at a time walks use it with the slots of one leaf.
  void readKey(const Node* leaf, int slot, int* to) const {
    const LeafCoding c = coding(leaf);
    if (leaf->codeBytes > sizeof(uint64_t)) {
      const int32_t* stored = reinterpret_cast<const int32_t*>(codes(leaf)) + static_cast<size_t>(slot) * dim_;
      for (int i = 0; i < dim_; ++i) to[i] = stored[i];
      return;
    }
    uint64_t code = codeAt(leaf, slot);
    if (dim_ == 2) {
      to[1] = static_cast<int>(static_cast<uint32_t>(c.base[1]) + static_cast<uint32_t>(code & mask(c.bits[1])));
      to[0] = static_cast<int>(static_cast<uint32_t>(c.base[0]) + static_cast<uint32_t>(code >> c.bits[1]));
      return;
    }
    for (int i = dim_ - 1; i >= 0; --i) {
      to[i] = static_cast<int>(static_cast<uint32_t>(c.base[i]) + static_cast<uint32_t>(code & mask(c.bits[i])));
      code >>= c.bits[i];
    }
  }

  // A leaf's code of two-position keys copied out, for a walk that steps through the leaf's records: their
  // keys are then decoded without reaching back to the leaf's header and code. Valid while the leaf's
  // records stay where they are (the store's version is unchanged).
  struct KeyReader {
    const char* codes = nullptr;
    uint64_t codeMask = 0;  // the bytes of one code, of the eight read at its place
    uint32_t base[2] = {};
    uint32_t secondMask = 0;
    uint8_t shift = 0;
    uint8_t codeBytes = 0;  // 0: not two coded positions; keys are read from the leaf
  };
  KeyReader keyReader(const Node* leaf) const {
    KeyReader r;
    if (dim_ != 2 || leaf->codeBytes > sizeof(uint64_t)) return r;
    const LeafCoding c = coding(leaf);
    r.codes = codes(leaf);
    r.codeMask = leaf->codeBytes == sizeof(uint64_t) ? ~uint64_t{0} : (uint64_t{1} << (8 * leaf->codeBytes)) - 1;
    r.base[0] = static_cast<uint32_t>(c.base[0]);
    r.base[1] = static_cast<uint32_t>(c.base[1]);
    r.secondMask = static_cast<uint32_t>(mask(c.bits[1]));
    r.shift = c.bits[1];
    r.codeBytes = leaf->codeBytes;
    return r;
  }
  // readKey() through r, the reader of leaf. Eight bytes are read at the code's place whatever its width,
  // without a branch on the width: the values after the codes keep them inside the leaf.
  void readKey(const KeyReader& r, const Node* leaf, int slot, int* to) const {
    if (r.codeBytes == 0) return readKey(leaf, slot, to);
    readCodedKey(r, slot, to);
  }
  // How many keys such walks decode at a time.
  static constexpr int kKeyRun = 128;
  // The keys of slots [first, end) as pairs into to, in a tight loop: walks over many records decode a run of
  // them first and then read plain pairs. REQUIRES: r.codeBytes != 0.
  static void readCodedKeys(const KeyReader& r, int first, int end, int* to) {
    for (int slot = first; slot < end; ++slot, to += 2) readCodedKey(r, slot, to);
  }
  // REQUIRES: r.codeBytes != 0.
  static void readCodedKey(const KeyReader& r, int slot, int* to) {
    static_assert(std::endian::native == std::endian::little, "a code is the low bytes of the eight read");
    uint64_t code;
    std::memcpy(&code, r.codes + static_cast<size_t>(slot) * r.codeBytes, sizeof code);
    code &= r.codeMask;
    to[1] = static_cast<int>(r.base[1] + static_cast<uint32_t>(code & r.secondMask));
    to[0] = static_cast<int>(r.base[0] + static_cast<uint32_t>(code >> r.shift));
  }

  // Bytes held by the store's nodes, pool chunks counted whole (for the benchmarks' memory figures).
  size_t memoryBytes() const;

 private:
  struct Path;            // the inner nodes on the way from the root to a leaf, with the child taken at each
  struct SplitNodes;      // the nodes a split takes, allocated before it changes anything
  struct StructureAudit;  // the walk of structureFault()
  struct Sequence;        // the records of up to two leaves and a new key, in key order (see rebuild)
 public:
  struct CodePlan;  // how a leaf is to code the keys of a run of records
 private:
  // Where a new key goes in a full leaf: past its last record, before its first, or in between.
  enum class Edge { kEnd, kStart, kMiddle };
  friend class RecordStoreTestAccess;

  // A leaf's code, just after its header: per position the lowest label the code covers (base) and the bits
  // of its offset (bits), the last position in the lowest bits.
  struct LeafCoding {
    int32_t* base;
    uint8_t* bits;
  };
  LeafCoding coding(const Node* leaf) const {
    char* at = const_cast<char*>(reinterpret_cast<const char*>(leaf)) + sizeof(Node);
    return LeafCoding{reinterpret_cast<int32_t*>(at), reinterpret_cast<uint8_t*>(at) + dim_ * sizeof(int32_t)};
  }
  static uint64_t mask(int bits) { return (uint64_t{1} << bits) - 1; }  // bits <= 32
  char* codes(const Node* leaf) const { return const_cast<char*>(reinterpret_cast<const char*>(leaf)) + headerBytes_; }
  uint64_t codeAt(const Node* leaf, int slot) const {
    const char* at = codes(leaf) + static_cast<size_t>(slot) * leaf->codeBytes;
    switch (leaf->codeBytes) {
      case 1:
        return *reinterpret_cast<const uint8_t*>(at);
      case 2:
        return *reinterpret_cast<const uint16_t*>(at);
      case 4:
        return *reinterpret_cast<const uint32_t*>(at);
      default:
        return *reinterpret_cast<const uint64_t*>(at);
    }
  }
  void storeCode(Node* leaf, int slot, uint64_t code) const {
    storeCodeAt(codes(leaf) + static_cast<size_t>(slot) * leaf->codeBytes, leaf->codeBytes, code);
  }
  static void storeCodeAt(char* at, int codeBytes, uint64_t code) {
    switch (codeBytes) {
      case 1:
        *reinterpret_cast<uint8_t*>(at) = static_cast<uint8_t>(code);
        break;
      case 2:
        *reinterpret_cast<uint16_t*>(at) = static_cast<uint16_t>(code);
        break;
      case 4:
        *reinterpret_cast<uint32_t*>(at) = static_cast<uint32_t>(code);
        break;
      default:
        *reinterpret_cast<uint64_t*>(at) = code;
    }
  }
  // The code of key in leaf; false when the leaf stores keys as they are or a position of key lies outside
  // the range the leaf's code covers.
  bool encode(const Node* leaf, const int* key, uint64_t* code) const {
    if (leaf->codeBytes > sizeof(uint64_t)) return false;
    const LeafCoding c = coding(leaf);
    if (dim_ == 2) {  // the common width without a loop: appending in order runs through here
      const uint64_t first = static_cast<uint32_t>(key[0]) - static_cast<uint32_t>(c.base[0]);
      const uint64_t second = static_cast<uint32_t>(key[1]) - static_cast<uint32_t>(c.base[1]);
      if ((key[0] < c.base[0]) | (key[1] < c.base[1]) | ((first >> c.bits[0]) != 0) | ((second >> c.bits[1]) != 0)) {
        return false;
      }
      *code = (first << c.bits[1]) | second;
      return true;
    }
    uint64_t packed = 0;
    for (int i = 0; i < dim_; ++i) {
      const uint64_t offset = static_cast<uint32_t>(key[i]) - static_cast<uint32_t>(c.base[i]);
      if (key[i] < c.base[i] || (offset >> c.bits[i]) != 0) return false;
      packed = (packed << c.bits[i]) | offset;
    }
    *code = packed;
    return true;
  }
  double* valuesAt(const Node* leaf, int slot) const {
    return reinterpret_cast<double*>(const_cast<char*>(reinterpret_cast<const char*>(leaf)) + leaf->valueStart) +
           static_cast<size_t>(slot) * valueCount_;
  }

  // The room at the end of the last leaf, kept apart from the leaf so that an append in key order reads no
  // leaf header and no stored code. Valid while its version is the store's: every structural change
  // advances that, and the next append opens the window again.
  struct AppendWindow {
    uint64_t version = UINT64_MAX;  // a version the store never reaches: closed
    Node* leaf = nullptr;
    char* code = nullptr;      // where the next code goes
    char* codeEnd = nullptr;   // past the leaf's room for codes
    double* values = nullptr;  // where the next record's values go
    uint64_t lastCode = 0;     // the code of the leaf's last record
    uint32_t base[2] = {};     // two positions: the lowest label of each that the code covers,
    uint32_t span[2] = {};     // the highest offset from it that the code covers (within int),
    uint8_t shift = 0;         // and the bits of the second offset
    uint8_t codeBytes = 0;
  };
  bool openWindow();  // false when the last leaf takes no appends at its code
  double* declineAppend() {
    appending_ = false;
    return nullptr;
  }

  // Layout
  size_t innerBytes() const;
  int capacityFor(size_t bytes, int codeBytes) const;  // records a leaf of bytes holds at that code width
  void setCodeWidth(Node* leaf, int codeBytes) const;  // capacity and value offset follow
  Node** children(Node* inner) const;
  int32_t* innerKeys(Node* inner) const;
  int32_t* separatorAt(Node* inner, int i) const;
  void copyKeys(int32_t* to, const int32_t* from, int n) const;  // n keys of dim ints
  int minLeafCount() const;
  int minInnerCount() const;

  // Allocation
  Node* allocateLeaf(size_t bytes);
  Node* allocateInner();
  void release(Node* node);
  void releaseSubtree(Node* node);  // for releaseAll only
  void releaseAll();                // every node, and the pool's chunks

  // Search
  int searchLeaf(Node* leaf, const int* key, bool* found) const;  // first slot whose key is not below key
  int searchInner(Node* inner, const int* key) const;             // the child whose range holds key
  Position locate(const int* key, Path* path, bool* found) const;

  // Moving records and children
  Position placeInLeaf(Node* leaf, int slot, const int* key);  // end() when the leaf cannot take key
  CodePlan planCode(const Sequence& records, int from, int to) const;
  void applyPlan(Node* leaf, const CodePlan& plan) const;
  void scanSecondLabels(const Sequence& records, int from, int to, int* low, int* high) const;
  void removeFromLeaf(Node* leaf, int slot) const;
  bool rebuild(const Sequence& records, Node* left, Node* right, int leftCount, Position* placed);
  void transcode(const Node* from, int fromSlot, Node* to, int toSlot, int n) const;
  void renewSeparator(Node* parent, int separatorIndex) const;
  void evenOutInner(Node* left, Node* right, int32_t* separator) const;
  void insertChild(Node* inner, int childIndex, int separatorIndex, const int32_t* separator, Node* child) const;
  void removeChild(Node* inner, int childIndex, int separatorIndex) const;
  Node* childOrNull(Node* inner, int index) const;  // null outside the node's children
  void linkLeafAfter(Node* leaf, Node* before);
  void linkLeafBefore(Node* leaf, Node* after);
  void unlinkLeaf(Node* leaf);

  // Insert: the steps after the fast paths of insert()
  std::pair<Position, bool> insertLooking(const int* key);
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
  bool mergeChildren(Node* parent, int separatorIndex);
  void refillFromNeighbour(Node* parent, int index);

  const char* structureFault() const;  // null when every invariant holds; for the tests

  int dim_;
  int valueCount_;
  size_t headerBytes_;  // a leaf's header and coding: where its codes start
  int leafCapacity_;    // records of a full leaf at the narrowest code
  int innerCapacity_;   // children per inner node
  int64_t size_ = 0;
  uint64_t version_ = 0;
  Node* root_ = nullptr;
  Node* firstLeaf_ = nullptr;
  Node* lastLeaf_ = nullptr;
  AppendWindow window_;
  // Whether the last key offered for an append went to the end of the store: keys that come in no order
  // are not offered to a window that must first be opened (insert() sets it again for a key that goes last).
  bool appending_ = true;
  int height_ = 0;                // levels of nodes, leaves included; 0 when empty
  bool movedWithoutKey_ = false;  // the insert under way has moved records without placing its key yet
  size_t memory_ = 0;             // bytes of the nodes taken from the heap
  // Full leaves of a large store come from here (see node_pool.h); created once the heap's share passes
  // a threshold, so that the many small stores of a database do not each map a chunk.
  std::unique_ptr<NodePool> leafPool_;
};

}  // namespace tvb
