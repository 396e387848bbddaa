#include "core/record_store.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

namespace tvb {

static_assert(std::is_same_v<int32_t, int>, "keys are handed out as int arrays");

namespace {

// Byte budgets of the nodes. A search requests a whole leaf at once, so a leaf is small enough for that to
// be cheap (32 cache lines) and large enough that the leaf headers and the inner levels cost about a byte per
// record. Inner nodes are few, stay in the cache and are larger, so that the tree stays shallow. Measured
// with 2 million 2-dim records, side by side: 1 KB leaves are no faster at either lookups or inserts.
constexpr size_t kLeafBytes = 2048;
constexpr size_t kInnerBytes = 4096;
constexpr int kMinCapacity = 4;
// Past this many bytes of nodes, full leaves come from a node pool. High enough that the pool's last,
// partly used chunk adds at most a few bytes per record.
constexpr size_t kPoolThresholdBytes = size_t{8} << 20;
// Keys of three or more labels are searched by bisection down to this many keys, then by a linear scan,
// which is faster on short runs of keys already in the cache.
constexpr int kLinearSearchKeys = 16;
// Keys of one or two labels are searched in blocks of this many (see boundByCounting).
constexpr int kCountBlock = 16;
// Room for the path from the root to a leaf. An inner node has room for at least 46 children (dim 20) and all
// but a few at the edges keep a third of them, so a store that fits in memory stays far below this.
constexpr int kMaxHeight = 48;
constexpr int kMaxDim = 20;

template <int kDim>  // kDim 0: the width is known at run time only
inline int compareKeys(const int* a, const int* b, int dim) {
  const int d = kDim > 0 ? kDim : dim;
  for (int i = 0; i < d; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

// Index of the first of n keys, stride ints apart, that is not below key (kUpper: that is above key).
// Keys of any width: bisection, then a scan of the last few keys.
template <int kDim, bool kUpper>
int boundByBranches(const int* keys, int n, const int* key, int dim, size_t stride) {
  const int d = kDim > 0 ? kDim : dim;
  auto before = [&](int i) {
    const int order = compareKeys<kDim>(keys + static_cast<size_t>(i) * stride, key, d);
    return kUpper ? order <= 0 : order < 0;
  };
  int low = 0;
  int high = n;
  while (high - low > kLinearSearchKeys) {
    const int middle = low + (high - low) / 2;
    if (before(middle)) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  while (low < high && before(low)) ++low;
  return low;
}

// A key of one or two labels as one unsigned number, first label high, sign bits flipped so that signed
// order becomes unsigned order.
template <int kDim>
uint64_t orderedKey(const int* k) {
  if constexpr (kDim == 1) {
    return static_cast<uint32_t>(k[0]) ^ 0x80000000u;
  } else {
    return (uint64_t{static_cast<uint32_t>(k[0]) ^ 0x80000000u} << 32) | (static_cast<uint32_t>(k[1]) ^ 0x80000000u);
  }
}

// The same for keys of one or two labels, which compare as one number, by counting rather than bisection:
// the number of keys below key is the answer. First the blocks of kCountBlock keys whose last key is below
// key are counted, then the keys below key in the block that follows. None of the comparisons waits for
// another, where each step of a bisection waits for the load of its probe: with the node already on its way
// into the cache, two rounds of loads take less time than seven dependent ones, and no branch is guessed.
// companions (may be null): an array parallel to the keys, such as an inner node's children, whose entries
// for the block are requested as soon as the block is known, so that they arrive with its keys.
template <int kDim, bool kUpper>
int boundByCounting(const int* keys, int n, const int* key, size_t stride, const void* const* companions) {
  const uint64_t target = orderedKey<kDim>(key);
  auto before = [&](int i) -> int {
    const uint64_t probe = orderedKey<kDim>(keys + static_cast<size_t>(i) * stride);
    return kUpper ? probe <= target : probe < target;
  };
  int blocks = 0;
  for (int last = kCountBlock - 1; last < n; last += kCountBlock) blocks += before(last);
  const int from = blocks * kCountBlock;
  const int to = std::min(n, from + kCountBlock);
  if (companions != nullptr) {
    __builtin_prefetch(companions + from);
    __builtin_prefetch(companions + to);
  }
  int count = from;
  for (int i = from; i < to; ++i) count += before(i);
  return count;
}

template <bool kUpper>
int bound(const int* keys, int n, const int* key, int dim, size_t stride, const void* const* companions = nullptr) {
  switch (dim) {
    case 1:
      return boundByCounting<1, kUpper>(keys, n, key, stride, companions);
    case 2:
      return boundByCounting<2, kUpper>(keys, n, key, stride, companions);
    case 3:
      return boundByBranches<3, kUpper>(keys, n, key, dim, stride);
    default:
      return boundByBranches<0, kUpper>(keys, n, key, dim, stride);
  }
}

// Requests the cache lines of [from, end) at once, so that their misses overlap instead of each probe of a
// bisection waiting in turn.
void requestLines(const char* line, const char* end) {
  constexpr size_t kLine = kCacheLineBytes;
  for (; line + 3 * kLine < end; line += 4 * kLine) {
    __builtin_prefetch(line);
    __builtin_prefetch(line + kLine);
    __builtin_prefetch(line + 2 * kLine);
    __builtin_prefetch(line + 3 * kLine);
  }
  for (; line < end; line += kLine) __builtin_prefetch(line);
}

}  // namespace

// Child i of an inner node holds the keys k with separator[i-1] <= k < separator[i]. The spare child and
// separator let an inner node take one child too many and then split, which keeps the splitting code free of
// index juggling.
static_assert(sizeof(RecordStore::Node) % alignof(double) == 0);

struct RecordStore::Path {
  Node* node[kMaxHeight];
  int index[kMaxHeight];
};

RecordStore::RecordStore(int dim, int valueCount)
    : dim_(dim),
      valueCount_(valueCount),
      keyBytes_((dim * sizeof(int32_t) + sizeof(double) - 1) / sizeof(double) * sizeof(double)),
      rowBytes_(keyBytes_ + valueCount * sizeof(double)) {
  leafCapacity_ = std::max<int>(kMinCapacity, (kLeafBytes - sizeof(Node)) / rowBytes_);
  innerCapacity_ = std::max<int>(
      kMinCapacity, (kInnerBytes - sizeof(Node) - sizeof(Node*)) / (sizeof(Node*) + dim * sizeof(int32_t)));
}

RecordStore::~RecordStore() { releaseAll(); }

// ---- Layout

size_t RecordStore::leafBytes(int capacity) const { return sizeof(Node) + static_cast<size_t>(capacity) * rowBytes_; }

size_t RecordStore::innerBytes() const {
  return sizeof(Node) + (innerCapacity_ + 1) * sizeof(Node*) + innerCapacity_ * dim_ * sizeof(int32_t);
}

RecordStore::Node** RecordStore::children(Node* inner) const {
  return reinterpret_cast<Node**>(reinterpret_cast<char*>(inner) + sizeof(Node));
}

int32_t* RecordStore::innerKeys(Node* inner) const {
  return reinterpret_cast<int32_t*>(reinterpret_cast<char*>(inner) + sizeof(Node) +
                                    (innerCapacity_ + 1) * sizeof(Node*));
}

// Below a third, a node is merged with or refilled from a neighbour. A third rather than a half, so that
// alternately inserting and erasing at a node that has just been split does not merge and split it each time.
int RecordStore::minLeafCount() const { return std::max(1, leafCapacity_ / 3); }
int RecordStore::minInnerCount() const { return std::max(1, innerCapacity_ / 3); }

// ---- Allocation

RecordStore::Node* RecordStore::allocateLeaf(int capacity) {
  const size_t bytes = leafBytes(capacity);
  if (capacity == leafCapacity_ && (leafPool_ != nullptr || memory_ >= kPoolThresholdBytes)) {
    if (leafPool_ == nullptr) leafPool_ = std::make_unique<NodePool>(bytes);
    return new (leafPool_->allocate()) Node{nullptr, nullptr, 0, static_cast<uint16_t>(capacity), true, true};
  }
  Node* node = new (::operator new(bytes)) Node{nullptr, nullptr, 0, static_cast<uint16_t>(capacity), true, false};
  memory_ += bytes;
  return node;
}

RecordStore::Node* RecordStore::allocateInner() {
  const size_t bytes = innerBytes();
  Node* node = new (::operator new(bytes)) Node{nullptr, nullptr, 0, 0, false, false};
  memory_ += bytes;
  return node;
}

void RecordStore::release(Node* node) {
  if (node->pooled) {
    leafPool_->release(node);
    return;
  }
  memory_ -= node->leaf ? leafBytes(node->capacity) : innerBytes();
  ::operator delete(node);
}

void RecordStore::releaseAll() {
  if (root_ != nullptr) releaseSubtree(root_);
  leafPool_.reset();
  root_ = firstLeaf_ = lastLeaf_ = nullptr;
  height_ = 0;
}

// Pooled leaves are left alone: the pool goes next, with all of them, so putting each on its free list
// would only write to every leaf of a store that is being dropped.
void RecordStore::releaseSubtree(Node* node) {
  if (!node->leaf) {
    for (int i = 0; i < node->count; ++i) releaseSubtree(children(node)[i]);
  }
  if (!node->pooled) release(node);
}

// ---- Search

// A leaf's rows start at a fixed offset, so its lines are requested before even its header has arrived.
int RecordStore::searchLeaf(Node* leaf, const int* key) const {
  const char* start = reinterpret_cast<const char*>(leaf);
  requestLines(start, start + leafBytes(leafCapacity_));
  return bound<false>(keyAt(leaf, 0), leaf->count, key, dim_, rowBytes_ / sizeof(int32_t));
}

int RecordStore::searchInner(Node* inner, const int* key) const {
  const int separators = inner->count - 1;
  const char* keys = reinterpret_cast<const char*>(innerKeys(inner));
  requestLines(keys, keys + static_cast<size_t>(separators) * dim_ * sizeof(int32_t));
  const void* const* childPointers = reinterpret_cast<const void* const*>(children(inner));
  return bound<true>(innerKeys(inner), separators, key, dim_, dim_, childPointers);
}

RecordStore::Position RecordStore::locate(const int* key, Path* path, bool* found) const {
  Node* node = root_;
  for (int level = 0; level + 1 < height_; ++level) {
    const int child = searchInner(node, key);
    if (path != nullptr) {
      path->node[level] = node;
      path->index[level] = child;
    }
    node = children(node)[child];
  }
  const int slot = searchLeaf(node, key);
  *found = slot < node->count && compareKeys<0>(keyAt(node, slot), key, dim_) == 0;
  return Position{node, slot};
}

RecordStore::Position RecordStore::find(const int* key) const {
  if (root_ == nullptr) return end();
  bool found;
  const Position p = locate(key, nullptr, &found);
  return found ? p : end();
}

// ---- Moving records and children

void RecordStore::moveRecords(Node* from, int fromSlot, Node* to, int toSlot, int n) const {
  if (n <= 0) return;
  std::memmove(row(to, toSlot), row(from, fromSlot), static_cast<size_t>(n) * rowBytes_);
}

RecordStore::Position RecordStore::placeInLeaf(Node* leaf, int slot, const int* key) {
  moveRecords(leaf, slot, leaf, slot + 1, leaf->count - slot);
  // Plain stores rather than calls to memmove and memset: loading a file places millions of records here.
  int32_t* to = keyAt(leaf, slot);
  for (int i = 0; i < dim_; ++i) to[i] = key[i];  // a scalar's key may be null: nothing is read then
  double* values = valuesAt(leaf, slot);
  values[0] = 0.0;
  if (valueCount_ == 5) values[1] = values[2] = values[3] = values[4] = 0.0;
  ++leaf->count;
  ++size_;
  ++version_;
  return Position{leaf, slot};
}

// Moves records across the boundary of two neighbouring leaves until left holds leftCount of them.
void RecordStore::moveBoundary(Node* left, Node* right, int leftCount) const {
  if (leftCount > left->count) {
    const int n = leftCount - left->count;
    moveRecords(right, 0, left, left->count, n);
    moveRecords(right, n, right, 0, right->count - n);
    left->count += n;
    right->count -= n;
  } else if (leftCount < left->count) {
    const int n = left->count - leftCount;
    moveRecords(right, 0, right, n, right->count);
    moveRecords(left, leftCount, right, 0, n);
    left->count -= n;
    right->count += n;
  }
}

// left and right are neighbouring leaves; key goes at keyIndex of their records taken as one sequence. Afterwards
// left holds the first leftCount records of that sequence and right the rest.
RecordStore::Position RecordStore::distribute(Node* left, Node* right, int keyIndex, int leftCount, const int* key) {
  const bool keyGoesLeft = keyIndex < leftCount;
  moveBoundary(left, right, keyGoesLeft ? leftCount - 1 : leftCount);
  return keyGoesLeft ? placeInLeaf(left, keyIndex, key) : placeInLeaf(right, keyIndex - leftCount, key);
}

// separator: the parent's key between left and right; it comes down into one of them and another goes up.
void RecordStore::evenOutInner(Node* left, Node* right, int32_t* separator) const {
  const size_t keyBytes = dim_ * sizeof(int32_t);
  const int leftCount = (left->count + right->count + 1) / 2;
  if (leftCount > left->count) {
    const int n = leftCount - left->count;
    std::memcpy(innerKeys(left) + static_cast<size_t>(left->count - 1) * dim_, separator, keyBytes);
    std::memcpy(innerKeys(left) + static_cast<size_t>(left->count) * dim_, innerKeys(right), (n - 1) * keyBytes);
    std::memcpy(children(left) + left->count, children(right), n * sizeof(Node*));
    std::memcpy(separator, innerKeys(right) + static_cast<size_t>(n - 1) * dim_, keyBytes);
    std::memmove(innerKeys(right), innerKeys(right) + static_cast<size_t>(n) * dim_, (right->count - 1 - n) * keyBytes);
    std::memmove(children(right), children(right) + n, (right->count - n) * sizeof(Node*));
    left->count += n;
    right->count -= n;
  } else if (leftCount < left->count) {
    const int n = left->count - leftCount;
    std::memmove(innerKeys(right) + static_cast<size_t>(n) * dim_, innerKeys(right), (right->count - 1) * keyBytes);
    std::memmove(children(right) + n, children(right), right->count * sizeof(Node*));
    std::memcpy(innerKeys(right) + static_cast<size_t>(n - 1) * dim_, separator, keyBytes);
    std::memcpy(innerKeys(right), innerKeys(left) + static_cast<size_t>(leftCount) * dim_, (n - 1) * keyBytes);
    std::memcpy(children(right), children(left) + leftCount, n * sizeof(Node*));
    std::memcpy(separator, innerKeys(left) + static_cast<size_t>(leftCount - 1) * dim_, keyBytes);
    left->count -= n;
    right->count += n;
  }
}

void RecordStore::insertChild(Node* inner, int childIndex, int separatorIndex, const int32_t* separator,
                              Node* child) const {
  const size_t keyBytes = dim_ * sizeof(int32_t);
  Node** kids = children(inner);
  std::memmove(kids + childIndex + 1, kids + childIndex, (inner->count - childIndex) * sizeof(Node*));
  kids[childIndex] = child;
  int32_t* keys = innerKeys(inner) + static_cast<size_t>(separatorIndex) * dim_;
  std::memmove(keys + dim_, keys, (inner->count - 1 - separatorIndex) * keyBytes);
  std::memcpy(keys, separator, keyBytes);
  ++inner->count;
}

void RecordStore::removeChild(Node* inner, int childIndex, int separatorIndex) const {
  Node** kids = children(inner);
  std::memmove(kids + childIndex, kids + childIndex + 1, (inner->count - childIndex - 1) * sizeof(Node*));
  const int separators = inner->count - 1;
  if (separatorIndex < separators) {
    int32_t* keys = innerKeys(inner) + static_cast<size_t>(separatorIndex) * dim_;
    std::memmove(keys, keys + dim_, (separators - separatorIndex - 1) * dim_ * sizeof(int32_t));
  }
  --inner->count;
}

void RecordStore::unlinkLeaf(Node* leaf) {
  if (leaf->prev != nullptr) {
    leaf->prev->next = leaf->next;
  } else {
    firstLeaf_ = leaf->next;
  }
  if (leaf->next != nullptr) {
    leaf->next->prev = leaf->prev;
  } else {
    lastLeaf_ = leaf->prev;
  }
}

// ---- Insert

std::pair<RecordStore::Position, bool> RecordStore::insert(const int* key) {
  if (root_ == nullptr) {
    Node* leaf = allocateLeaf(1);
    root_ = firstLeaf_ = lastLeaf_ = leaf;
    height_ = 1;
    return {placeInLeaf(leaf, 0, key), true};
  }

  // Keys usually come in ascending order (files, arrays, labels registered in order): a key above the last
  // one goes to the end of the last leaf without a search.
  Path path;
  Position at;
  const Position lastRecord = last();
  const int order = compareKeys<0>(key, this->key(lastRecord), dim_);
  if (order == 0) return {lastRecord, false};
  if (order > 0) {
    at = Position{lastLeaf_, lastLeaf_->count};
    if (at.slot < lastLeaf_->capacity) return {placeInLeaf(lastLeaf_, at.slot, key), true};
    Node* node = root_;
    for (int level = 0; level + 1 < height_; ++level) {
      path.node[level] = node;
      path.index[level] = node->count - 1;
      node = children(node)[node->count - 1];
    }
  } else {
    bool found;
    at = locate(key, &path, &found);
    if (found) return {at, false};
    if (at.leaf->count < at.leaf->capacity) return {placeInLeaf(at.leaf, at.slot, key), true};
  }

  Node* leaf = at.leaf;
  const int slot = at.slot;
  // The only leaf starts small and doubles up to the full size, so that the many small symbols of a model
  // (scalars, short sets) do not each hold a full node.
  if (leaf->capacity < leafCapacity_) {
    Node* bigger = allocateLeaf(std::min(2 * leaf->capacity, leafCapacity_));
    moveRecords(leaf, 0, bigger, 0, leaf->count);
    bigger->count = leaf->count;
    release(leaf);
    root_ = firstLeaf_ = lastLeaf_ = bigger;
    return {placeInLeaf(bigger, slot, key), true};
  }

  // A key past the end of a full leaf starts a new leaf of its own, so that ascending keys fill every leaf to
  // the brim; likewise a key before the start of a full leaf, for descending keys.
  const bool appending = slot == leaf->count;
  const bool prepending = slot == 0;
  const int parentLevel = height_ - 2;

  // Otherwise a neighbour with room takes some of the records first: fewer, fuller leaves than splitting at
  // once (shuffled keys use 7/8 of the room rather than 2/3, at the same speed).
  if (!appending && !prepending && parentLevel >= 0) {
    Node* parent = path.node[parentLevel];
    const int index = path.index[parentLevel];
    Node* left = index > 0 ? children(parent)[index - 1] : nullptr;
    Node* right = index + 1 < parent->count ? children(parent)[index + 1] : nullptr;
    const int leftRoom = left != nullptr ? left->capacity - left->count : 0;
    const int rightRoom = right != nullptr ? right->capacity - right->count : 0;
    if (rightRoom > 0 && rightRoom >= leftRoom) {
      const Position p = distribute(leaf, right, slot, (leaf->count + 1 + right->count + 1) / 2, key);
      std::memcpy(innerKeys(parent) + static_cast<size_t>(index) * dim_, keyAt(right, 0), dim_ * sizeof(int32_t));
      return {p, true};
    }
    if (leftRoom > 0) {
      const Position p = distribute(left, leaf, left->count + slot, (left->count + leaf->count + 2) / 2, key);
      std::memcpy(innerKeys(parent) + static_cast<size_t>(index - 1) * dim_, keyAt(leaf, 0), dim_ * sizeof(int32_t));
      return {p, true};
    }
  }

  // A split. Every node it needs is allocated before anything changes, so that a failed allocation leaves the
  // store as it was: one inner node per full ancestor, a new root when all of them are full, and the new leaf.
  // The leaf comes last: it may be the first from the node pool, whose new chunk then stays.
  int splits = 0;
  int level = parentLevel;
  while (level >= 0 && path.node[level]->count == innerCapacity_) {
    ++splits;
    --level;
  }
  const bool growsTaller = level < 0;
  if (growsTaller && height_ >= kMaxHeight) throw std::bad_alloc();
  Node* fresh[kMaxHeight + 1];
  int allocated = 0;
  try {
    for (int i = 0; i < splits + (growsTaller ? 1 : 0); ++i) fresh[allocated++] = allocateInner();
    fresh[allocated] = allocateLeaf(leafCapacity_);
  } catch (...) {
    for (int i = 0; i < allocated; ++i) release(fresh[i]);
    throw;
  }

  Node* sibling = fresh[allocated];
  Position result;
  Node* rightLeaf;
  if (prepending) {
    sibling->prev = leaf->prev;
    sibling->next = leaf;
    if (leaf->prev != nullptr) {
      leaf->prev->next = sibling;
    } else {
      firstLeaf_ = sibling;
    }
    leaf->prev = sibling;
    result = distribute(sibling, leaf, 0, 1, key);
    rightLeaf = leaf;
  } else {
    sibling->prev = leaf;
    sibling->next = leaf->next;
    if (leaf->next != nullptr) {
      leaf->next->prev = sibling;
    } else {
      lastLeaf_ = sibling;
    }
    leaf->next = sibling;
    const int leftCount = appending ? leaf->count : (leaf->count + 2) / 2;
    result = distribute(leaf, sibling, slot, leftCount, key);
    rightLeaf = sibling;
  }

  // Hand the new node up: each full ancestor takes it (using its spare slot) and then splits in turn.
  int32_t separator[kMaxDim];
  std::memcpy(separator, keyAt(rightLeaf, 0), dim_ * sizeof(int32_t));
  Node* newNode = sibling;
  bool newOnLeft = prepending;
  Node* lower = leaf;
  int next = 0;
  for (level = parentLevel; level >= 0; --level) {
    Node* parent = path.node[level];
    const int index = path.index[level];
    const int childIndex = newOnLeft ? index : index + 1;
    insertChild(parent, childIndex, index, separator, newNode);
    if (parent->count <= innerCapacity_) return {result, true};
    // On the edges the new child stays alone in the new node, as the key did in its leaf, so that ascending and
    // descending keys fill the inner nodes too.
    Node* split = fresh[next++];
    const int keep = appending && childIndex == parent->count - 1 ? parent->count - 1
                     : prepending && childIndex == 0              ? 1
                                                                  : parent->count / 2;
    const int moved = parent->count - keep;
    std::memcpy(separator, innerKeys(parent) + static_cast<size_t>(keep - 1) * dim_, dim_ * sizeof(int32_t));
    std::memcpy(children(split), children(parent) + keep, moved * sizeof(Node*));
    std::memcpy(innerKeys(split), innerKeys(parent) + static_cast<size_t>(keep) * dim_,
                (moved - 1) * dim_ * sizeof(int32_t));
    split->count = moved;
    parent->count = keep;
    newNode = split;
    newOnLeft = false;
    lower = parent;
  }
  Node* root = fresh[next++];
  children(root)[0] = newOnLeft ? newNode : lower;
  children(root)[1] = newOnLeft ? lower : newNode;
  std::memcpy(innerKeys(root), separator, dim_ * sizeof(int32_t));
  root->count = 2;
  root_ = root;
  ++height_;
  return {result, true};
}

// ---- Erase

RecordStore::Position RecordStore::erase(Position p) {
  Node* leaf = p.leaf;
  const int slot = p.slot;
  ++version_;
  if (--size_ == 0) {
    releaseAll();
    return end();
  }
  if (leaf == root_ || leaf->count - 1 >= minLeafCount()) {
    moveRecords(leaf, slot + 1, leaf, slot, leaf->count - slot - 1);
    --leaf->count;
    if (slot < leaf->count) return p;
    return leaf->next != nullptr ? Position{leaf->next, 0} : end();
  }

  // Rebalancing moves records between leaves: the record that follows is found again by its key afterwards.
  int32_t following[kMaxDim];
  const Position after = next(p);
  if (!after.isEnd()) std::memcpy(following, key(after), dim_ * sizeof(int32_t));
  Path path;
  bool found;
  locate(key(p), &path, &found);
  moveRecords(leaf, slot + 1, leaf, slot, leaf->count - slot - 1);
  --leaf->count;
  rebalance(leaf, &path, height_ - 2);
  return after.isEnd() ? end() : find(following);
}

// node has lost a record or a child; path->node[parentLevel] is its parent (none when parentLevel < 0).
void RecordStore::rebalance(Node* node, Path* path, int parentLevel) {
  for (int level = parentLevel;; --level) {
    if (level < 0) {
      while (!root_->leaf && root_->count == 1) {
        Node* only = children(root_)[0];
        release(root_);
        root_ = only;
        --height_;
      }
      return;
    }
    if (node->count >= (node->leaf ? minLeafCount() : minInnerCount())) return;
    Node* parent = path->node[level];
    const int index = path->index[level];
    if (node->count == 0) {
      if (node->leaf) unlinkLeaf(node);
      release(node);
      removeChild(parent, index, index > 0 ? index - 1 : 0);
    } else {
      Node* left = index > 0 ? children(parent)[index - 1] : nullptr;
      Node* right = index + 1 < parent->count ? children(parent)[index + 1] : nullptr;
      const int capacity = node->leaf ? leafCapacity_ : innerCapacity_;
      // Merge with a neighbour when both fit in one node, else share the neighbour's entries.
      Node* mergeLeft = nullptr;
      int separatorIndex = 0;
      if (left != nullptr && left->count + node->count <= capacity) {
        mergeLeft = left;
        separatorIndex = index - 1;
      } else if (right != nullptr && node->count + right->count <= capacity) {
        mergeLeft = node;
        separatorIndex = index;
      }
      if (mergeLeft == nullptr) {
        if (left == nullptr && right == nullptr) return;
        const bool fromLeft = left != nullptr && (right == nullptr || left->count >= right->count);
        Node* first = fromLeft ? left : node;
        Node* second = fromLeft ? node : right;
        int32_t* separator = innerKeys(parent) + static_cast<size_t>(fromLeft ? index - 1 : index) * dim_;
        if (node->leaf) {
          moveBoundary(first, second, (first->count + second->count + 1) / 2);
          std::memcpy(separator, keyAt(second, 0), dim_ * sizeof(int32_t));
        } else {
          evenOutInner(first, second, separator);
        }
        return;
      }
      Node* mergeRight = children(parent)[separatorIndex + 1];
      if (node->leaf) {
        moveRecords(mergeRight, 0, mergeLeft, mergeLeft->count, mergeRight->count);
        unlinkLeaf(mergeRight);
      } else {
        const size_t keyBytes = dim_ * sizeof(int32_t);
        int32_t* keys = innerKeys(mergeLeft) + static_cast<size_t>(mergeLeft->count - 1) * dim_;
        std::memcpy(keys, innerKeys(parent) + static_cast<size_t>(separatorIndex) * dim_, keyBytes);
        std::memcpy(keys + dim_, innerKeys(mergeRight), (mergeRight->count - 1) * keyBytes);
        std::memcpy(children(mergeLeft) + mergeLeft->count, children(mergeRight), mergeRight->count * sizeof(Node*));
      }
      mergeLeft->count += mergeRight->count;
      release(mergeRight);
      removeChild(parent, separatorIndex + 1, separatorIndex);
    }
    node = parent;
  }
}

void RecordStore::clear() {
  ++version_;
  releaseAll();
  size_ = 0;
}

// ---- Walking

RecordStore::Position RecordStore::first() const { return firstLeaf_ != nullptr ? Position{firstLeaf_, 0} : end(); }

RecordStore::Position RecordStore::last() const {
  return lastLeaf_ != nullptr ? Position{lastLeaf_, lastLeaf_->count - 1} : end();
}

void RecordStore::requestNeighbour(Position p, bool forward) const {
  Node* neighbour = forward ? p.leaf->next : p.leaf->prev;
  if (neighbour == nullptr) return;
  requestLines(reinterpret_cast<const char*>(neighbour), row(neighbour, neighbour->count));
}

size_t RecordStore::memoryBytes() const { return memory_ + (leafPool_ != nullptr ? leafPool_->mappedBytes() : 0); }

// ---- Self-check

const char* RecordStore::structureFault() const {
  if (root_ == nullptr) {
    if (size_ != 0 || height_ != 0 || firstLeaf_ != nullptr || lastLeaf_ != nullptr) return "empty tree, live fields";
    return memory_ == 0 ? nullptr : "empty tree holds memory";
  }
  int64_t records = 0;
  size_t bytes = 0;
  Node* expectedLeaf = firstLeaf_;
  Node* previousLeaf = nullptr;
  const int* previousKey = nullptr;
  // Walks the subtree of node, whose keys must lie in [low, high) (null: unbounded).
  auto check = [&](auto& self, Node* node, int depth, const int* low, const int* high) -> const char* {
    const bool isRoot = node == root_;
    if (node->leaf != (depth == height_ - 1)) return "leaves at different depths";
    if (node->leaf) {
      if (!node->pooled) bytes += leafBytes(node->capacity);
      if (node->pooled && (leafPool_ == nullptr || node->capacity != leafCapacity_)) return "pooled leaf without a pool";
      if (node->count < 1 || node->count > node->capacity) return "leaf count out of range";
      if (node->capacity > leafCapacity_ || (!isRoot && node->capacity != leafCapacity_)) return "leaf capacity";
      if (node != expectedLeaf || node->prev != previousLeaf) return "leaf chain out of order";
      for (int i = 0; i < node->count; ++i) {
        const int* k = keyAt(node, i);
        if (previousKey != nullptr && compareKeys<0>(previousKey, k, dim_) >= 0) return "keys not ascending";
        if (low != nullptr && compareKeys<0>(k, low, dim_) < 0) return "key below its separator";
        if (high != nullptr && compareKeys<0>(k, high, dim_) >= 0) return "key not below its separator";
        previousKey = k;
      }
      records += node->count;
      previousLeaf = node;
      expectedLeaf = node->next;
      return nullptr;
    }
    bytes += innerBytes();
    if (node->count < (isRoot ? 2 : 1) || node->count > innerCapacity_) return "inner count out of range";
    for (int i = 0; i < node->count; ++i) {
      const int* childLow = i > 0 ? innerKeys(node) + static_cast<size_t>(i - 1) * dim_ : low;
      const int* childHigh = i + 1 < node->count ? innerKeys(node) + static_cast<size_t>(i) * dim_ : high;
      if (childLow != nullptr && childHigh != nullptr && compareKeys<0>(childLow, childHigh, dim_) >= 0) {
        return "separators not ascending";
      }
      if (const char* fault = self(self, children(node)[i], depth + 1, childLow, childHigh)) return fault;
    }
    return nullptr;
  };
  if (const char* fault = check(check, root_, 0, nullptr, nullptr)) return fault;
  if (expectedLeaf != nullptr || previousLeaf != lastLeaf_) return "leaf chain does not end at the last leaf";
  if (records != size_) return "size does not match the records";
  if (bytes != memory_) return "memory does not match the nodes";
  return nullptr;
}

}  // namespace tvb
