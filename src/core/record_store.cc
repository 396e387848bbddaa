#include "core/record_store.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

#include "tvbcclib.h"

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

// Child i of an inner node holds the keys k with separator[i-1] <= k < separator[i]. The spare child and
// separator let an inner node take one child too many and then split, which keeps the splitting code free of
// index juggling.
RecordStore::Node** RecordStore::children(Node* inner) const {
  return reinterpret_cast<Node**>(reinterpret_cast<char*>(inner) + sizeof(Node));
}

int32_t* RecordStore::innerKeys(Node* inner) const {
  return reinterpret_cast<int32_t*>(reinterpret_cast<char*>(inner) + sizeof(Node) +
                                    (innerCapacity_ + 1) * sizeof(Node*));
}

int32_t* RecordStore::separatorAt(Node* inner, int i) const { return innerKeys(inner) + static_cast<size_t>(i) * dim_; }

void RecordStore::copyKeys(int32_t* to, const int32_t* from, int n) const {
  std::memcpy(to, from, static_cast<size_t>(n) * dim_ * sizeof(int32_t));
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

void RecordStore::removeFromLeaf(Node* leaf, int slot) const {
  moveRecords(leaf, slot + 1, leaf, slot, leaf->count - slot - 1);
  --leaf->count;
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

// The separator between the leaves at separatorIndex and separatorIndex + 1 becomes the right one's first key,
// after records have moved between them.
void RecordStore::renewSeparator(Node* parent, int separatorIndex) const {
  copyKeys(separatorAt(parent, separatorIndex), keyAt(children(parent)[separatorIndex + 1], 0), 1);
}

// separator: the parent's key between left and right; it comes down into one of them and another goes up.
void RecordStore::evenOutInner(Node* left, Node* right, int32_t* separator) const {
  const int leftCount = (left->count + right->count + 1) / 2;
  if (leftCount > left->count) {
    const int n = leftCount - left->count;
    copyKeys(separatorAt(left, left->count - 1), separator, 1);
    copyKeys(separatorAt(left, left->count), separatorAt(right, 0), n - 1);
    std::memcpy(children(left) + left->count, children(right), n * sizeof(Node*));
    copyKeys(separator, separatorAt(right, n - 1), 1);
    std::memmove(separatorAt(right, 0), separatorAt(right, n), (right->count - 1 - n) * dim_ * sizeof(int32_t));
    std::memmove(children(right), children(right) + n, (right->count - n) * sizeof(Node*));
    left->count += n;
    right->count -= n;
  } else if (leftCount < left->count) {
    const int n = left->count - leftCount;
    std::memmove(separatorAt(right, n), separatorAt(right, 0), (right->count - 1) * dim_ * sizeof(int32_t));
    std::memmove(children(right) + n, children(right), right->count * sizeof(Node*));
    copyKeys(separatorAt(right, n - 1), separator, 1);
    copyKeys(separatorAt(right, 0), separatorAt(left, leftCount), n - 1);
    std::memcpy(children(right), children(left) + leftCount, n * sizeof(Node*));
    copyKeys(separator, separatorAt(left, leftCount - 1), 1);
    left->count -= n;
    right->count += n;
  }
}

void RecordStore::insertChild(Node* inner, int childIndex, int separatorIndex, const int32_t* separator,
                              Node* child) const {
  Node** kids = children(inner);
  std::memmove(kids + childIndex + 1, kids + childIndex, (inner->count - childIndex) * sizeof(Node*));
  kids[childIndex] = child;
  int32_t* keys = separatorAt(inner, separatorIndex);
  std::memmove(keys + dim_, keys, (inner->count - 1 - separatorIndex) * dim_ * sizeof(int32_t));
  copyKeys(keys, separator, 1);
  ++inner->count;
}

void RecordStore::removeChild(Node* inner, int childIndex, int separatorIndex) const {
  Node** kids = children(inner);
  std::memmove(kids + childIndex, kids + childIndex + 1, (inner->count - childIndex - 1) * sizeof(Node*));
  const int separators = inner->count - 1;
  if (separatorIndex < separators) {
    int32_t* keys = separatorAt(inner, separatorIndex);
    std::memmove(keys, keys + dim_, (separators - separatorIndex - 1) * dim_ * sizeof(int32_t));
  }
  --inner->count;
}

RecordStore::Node* RecordStore::childOrNull(Node* inner, int index) const {
  return index >= 0 && index < inner->count ? children(inner)[index] : nullptr;
}

void RecordStore::linkLeafAfter(Node* leaf, Node* before) {
  leaf->prev = before;
  leaf->next = before->next;
  if (before->next != nullptr) {
    before->next->prev = leaf;
  } else {
    lastLeaf_ = leaf;
  }
  before->next = leaf;
}

void RecordStore::linkLeafBefore(Node* leaf, Node* after) {
  leaf->prev = after->prev;
  leaf->next = after;
  if (after->prev != nullptr) {
    after->prev->next = leaf;
  } else {
    firstLeaf_ = leaf;
  }
  after->prev = leaf;
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
//
// insert() finds the slot of a new key and places the key there when its leaf has room. A full leaf makes room
// in one of three ways, tried in turn (makeRoomAndPlace): the only leaf of a small store grows; a neighbour
// with room takes some of its records; or it splits, and the split travels up through every full ancestor,
// growing a new root when it reaches the top.

std::pair<RecordStore::Position, bool> RecordStore::insert(const int* key) {
  if (root_ == nullptr) return {plantRoot(key), true};

  // Keys usually come in ascending order (files, arrays, labels registered in order): a key above the last
  // one goes to the end of the last leaf without a search.
  const Position lastRecord = last();
  const int order = compareKeys<0>(key, this->key(lastRecord), dim_);
  if (order == 0) return {lastRecord, false};
  Path path;
  Position at;
  if (order > 0) {
    at = Position{lastLeaf_, lastLeaf_->count};
    if (at.slot < lastLeaf_->capacity) return {placeInLeaf(lastLeaf_, at.slot, key), true};
    descendRightEdge(&path);
  } else {
    bool found;
    at = locate(key, &path, &found);
    if (found) return {at, false};
    if (at.leaf->count < at.leaf->capacity) return {placeInLeaf(at.leaf, at.slot, key), true};
  }
  return {makeRoomAndPlace(at, &path, key), true};
}

// The first record, in a leaf of one row that grows as records come (growOnlyLeaf).
RecordStore::Position RecordStore::plantRoot(const int* key) {
  Node* leaf = allocateLeaf(1);
  root_ = firstLeaf_ = lastLeaf_ = leaf;
  height_ = 1;
  return placeInLeaf(leaf, 0, key);
}

void RecordStore::descendRightEdge(Path* path) const {
  Node* node = root_;
  for (int level = 0; level + 1 < height_; ++level) {
    path->node[level] = node;
    path->index[level] = node->count - 1;
    node = children(node)[node->count - 1];
  }
}

// at: the slot for key in a full leaf, reached through path.
RecordStore::Position RecordStore::makeRoomAndPlace(Position at, Path* path, const int* key) {
  if (at.leaf->capacity < leafCapacity_) return growOnlyLeaf(at.slot, key);
  // A key past the end of a full leaf starts a new leaf of its own, so that ascending keys fill every leaf to
  // the brim; likewise a key before the start of a full leaf, for descending keys.
  const Edge edge = at.slot == at.leaf->count ? Edge::kEnd : at.slot == 0 ? Edge::kStart : Edge::kMiddle;
  if (edge == Edge::kMiddle && height_ > 1) {
    const Position shared = shareWithNeighbour(at, *path, key);
    if (!shared.isEnd()) return shared;
  }
  return splitLeaf(at, path, key, edge);
}

// The only leaf starts small and doubles up to the full size, so that the many small symbols of a model
// (scalars, short sets) do not each hold a full node.
RecordStore::Position RecordStore::growOnlyLeaf(int slot, const int* key) {
  Node* leaf = root_;
  Node* bigger = allocateLeaf(std::min(2 * leaf->capacity, leafCapacity_));
  moveRecords(leaf, 0, bigger, 0, leaf->count);
  bigger->count = leaf->count;
  release(leaf);
  root_ = firstLeaf_ = lastLeaf_ = bigger;
  return placeInLeaf(bigger, slot, key);
}

// A neighbour with room takes some of the full leaf's records, and key goes where it belongs: fewer, fuller
// leaves than splitting at once (shuffled keys use 7/8 of the room rather than 2/3, at the same speed). The
// neighbour with more room is asked, the right one on a tie. end() when neither has room.
RecordStore::Position RecordStore::shareWithNeighbour(Position at, const Path& path, const int* key) {
  Node* parent = path.node[height_ - 2];
  const int index = path.index[height_ - 2];
  Node* leaf = at.leaf;
  Node* left = childOrNull(parent, index - 1);
  Node* right = childOrNull(parent, index + 1);
  const int leftRoom = left != nullptr ? left->capacity - left->count : 0;
  const int rightRoom = right != nullptr ? right->capacity - right->count : 0;
  if (rightRoom > 0 && rightRoom >= leftRoom) {
    const Position p = distribute(leaf, right, at.slot, (leaf->count + 1 + right->count + 1) / 2, key);
    renewSeparator(parent, index);
    return p;
  }
  if (leftRoom > 0) {
    const Position p = distribute(left, leaf, left->count + at.slot, (left->count + leaf->count + 2) / 2, key);
    renewSeparator(parent, index - 1);
    return p;
  }
  return end();
}

// Every node a split needs, allocated before anything changes, so that a failed allocation leaves the store as
// it was: an inner node per full ancestor, a new root when all of them are full, and the new leaf.
struct RecordStore::SplitNodes {
  Node* leaf;
  Node* inner[kMaxHeight];
  int innerUsed = 0;
  Node* takeInner() { return inner[innerUsed++]; }
};

RecordStore::SplitNodes RecordStore::allocateSplitNodes(const Path& path) {
  int innerCount = 0;
  int level = height_ - 2;
  for (; level >= 0 && path.node[level]->count == innerCapacity_; --level) ++innerCount;
  if (level < 0) {
    if (height_ >= kMaxHeight) throw std::bad_alloc();
    ++innerCount;  // the new root
  }
  SplitNodes fresh;
  int allocated = 0;
  try {
    for (; allocated < innerCount; ++allocated) fresh.inner[allocated] = allocateInner();
    // The leaf comes last: it may be the first from the node pool, whose new chunk then stays.
    fresh.leaf = allocateLeaf(leafCapacity_);
  } catch (...) {
    for (int i = 0; i < allocated; ++i) release(fresh.inner[i]);
    throw;
  }
  return fresh;
}

// Splits the full leaf at.leaf, with a new leaf beside it, and places key. On an edge the key stays alone in the
// new leaf; in the middle the two leaves share the records evenly.
RecordStore::Position RecordStore::splitLeaf(Position at, Path* path, const int* key, Edge edge) {
  SplitNodes fresh = allocateSplitNodes(*path);
  Node* leaf = at.leaf;
  Position placed;
  if (edge == Edge::kStart) {
    linkLeafBefore(fresh.leaf, leaf);
    placed = distribute(fresh.leaf, leaf, 0, 1, key);
  } else {
    linkLeafAfter(fresh.leaf, leaf);
    const int leftCount = edge == Edge::kEnd ? leaf->count : (leaf->count + 2) / 2;
    placed = distribute(leaf, fresh.leaf, at.slot, leftCount, key);
  }
  propagateSplit(path, leaf, fresh.leaf, edge, &fresh);
  return placed;
}

// Hands the new node of a split up the path: each ancestor takes it, a full one in its spare slot, after which
// it splits in turn; a root that splits gets a new root above its two halves. old is the node that was split,
// added its new neighbour (on its left for kStart, else on its right).
void RecordStore::propagateSplit(Path* path, Node* old, Node* added, Edge edge, SplitNodes* fresh) {
  bool addedOnLeft = edge == Edge::kStart;
  int32_t separator[GLOBAL_MAX_INDEX_DIM];
  copyKeys(separator, keyAt(addedOnLeft ? old : added, 0), 1);
  for (int level = height_ - 2; level >= 0; --level) {
    Node* parent = path->node[level];
    const int index = path->index[level];
    const int childIndex = addedOnLeft ? index : index + 1;
    insertChild(parent, childIndex, index, separator, added);
    if (parent->count <= innerCapacity_) return;
    added = splitInner(parent, childIndex, edge, separator, fresh->takeInner());
    addedOnLeft = false;
    old = parent;
  }
  growRoot(addedOnLeft ? added : old, addedOnLeft ? old : added, separator, fresh->takeInner());
}

// Moves the upper part of an inner node that holds one child too many (the new one at newChild) into upper,
// leaving in separator the key between the two, and returns upper. On the edges the new child stays alone in
// upper, as the key did in its leaf, so that ascending and descending keys fill the inner nodes too.
RecordStore::Node* RecordStore::splitInner(Node* inner, int newChild, Edge edge, int32_t* separator,
                                           Node* upper) const {
  const int keep = edge == Edge::kEnd && newChild == inner->count - 1 ? inner->count - 1
                   : edge == Edge::kStart && newChild == 0            ? 1
                                                                      : inner->count / 2;
  const int moved = inner->count - keep;
  copyKeys(separator, separatorAt(inner, keep - 1), 1);
  std::memcpy(children(upper), children(inner) + keep, moved * sizeof(Node*));
  copyKeys(separatorAt(upper, 0), separatorAt(inner, keep), moved - 1);
  upper->count = moved;
  inner->count = keep;
  return upper;
}

void RecordStore::growRoot(Node* left, Node* right, const int32_t* separator, Node* root) {
  children(root)[0] = left;
  children(root)[1] = right;
  copyKeys(separatorAt(root, 0), separator, 1);
  root->count = 2;
  root_ = root;
  ++height_;
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
    removeFromLeaf(leaf, slot);
    if (slot < leaf->count) return p;
    return leaf->next != nullptr ? Position{leaf->next, 0} : end();
  }

  // Rebalancing moves records between leaves: the record that follows is found again by its key afterwards.
  int32_t following[GLOBAL_MAX_INDEX_DIM];
  const Position after = next(p);
  if (!after.isEnd()) copyKeys(following, key(after), 1);
  Path path;
  bool found;
  locate(key(p), &path, &found);
  removeFromLeaf(leaf, slot);
  rebalance(leaf, &path);
  return after.isEnd() ? end() : find(following);
}

// node, a leaf reached through path, has lost a record. Going up, each node that has fallen below its minimum
// is dropped when empty, merged with a neighbour when both fit in one node (its parent then loses a child), or
// else refilled from a neighbour; a root left with one child gives way to it.
void RecordStore::rebalance(Node* node, Path* path) {
  for (int level = height_ - 2; level >= 0; --level) {
    if (node->count >= (node->leaf ? minLeafCount() : minInnerCount())) return;
    Node* parent = path->node[level];
    const int index = path->index[level];
    if (node->count == 0) {
      dropChild(parent, index);
    } else if (!mergeWithNeighbour(parent, index)) {
      refillFromNeighbour(parent, index);
      return;
    }
    node = parent;
  }
  while (!root_->leaf && root_->count == 1) {
    Node* only = children(root_)[0];
    release(root_);
    root_ = only;
    --height_;
  }
}

void RecordStore::dropChild(Node* parent, int index) {
  Node* node = children(parent)[index];
  if (node->leaf) unlinkLeaf(node);
  release(node);
  removeChild(parent, index, index > 0 ? index - 1 : 0);
}

// Merges child index of parent with its left neighbour, or else its right one, when the two fit in one node.
bool RecordStore::mergeWithNeighbour(Node* parent, int index) {
  Node* node = children(parent)[index];
  const int capacity = node->leaf ? leafCapacity_ : innerCapacity_;
  Node* left = childOrNull(parent, index - 1);
  Node* right = childOrNull(parent, index + 1);
  if (left != nullptr && left->count + node->count <= capacity) {
    mergeChildren(parent, index - 1);
  } else if (right != nullptr && node->count + right->count <= capacity) {
    mergeChildren(parent, index);
  } else {
    return false;
  }
  return true;
}

// Moves everything of child separatorIndex + 1 of parent into child separatorIndex and drops it.
void RecordStore::mergeChildren(Node* parent, int separatorIndex) {
  Node* left = children(parent)[separatorIndex];
  Node* right = children(parent)[separatorIndex + 1];
  if (left->leaf) {
    moveRecords(right, 0, left, left->count, right->count);
    unlinkLeaf(right);
  } else {
    int32_t* keys = separatorAt(left, left->count - 1);
    copyKeys(keys, separatorAt(parent, separatorIndex), 1);
    copyKeys(keys + dim_, separatorAt(right, 0), right->count - 1);
    std::memcpy(children(left) + left->count, children(right), right->count * sizeof(Node*));
  }
  left->count += right->count;
  release(right);
  removeChild(parent, separatorIndex + 1, separatorIndex);
}

// Evens out child index of parent with its fuller neighbour, the left one on a tie.
void RecordStore::refillFromNeighbour(Node* parent, int index) {
  Node* node = children(parent)[index];
  Node* left = childOrNull(parent, index - 1);
  Node* right = childOrNull(parent, index + 1);
  if (left == nullptr && right == nullptr) return;
  const bool fromLeft = left != nullptr && (right == nullptr || left->count >= right->count);
  const int separatorIndex = fromLeft ? index - 1 : index;
  Node* first = fromLeft ? left : node;
  Node* second = fromLeft ? node : right;
  if (node->leaf) {
    moveBoundary(first, second, (first->count + second->count + 1) / 2);
    renewSeparator(parent, separatorIndex);
  } else {
    evenOutInner(first, second, separatorAt(parent, separatorIndex));
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

// Walks the tree in key order, each node within the bounds its ancestors' separators set, and names the first
// broken invariant.
struct RecordStore::StructureAudit {
  const RecordStore& store;
  int64_t records = 0;
  size_t bytes = 0;  // of nodes from the heap
  Node* expectedLeaf = store.firstLeaf_;
  Node* previousLeaf = nullptr;
  const int* previousKey = nullptr;

  // The keys of node's subtree must lie in [low, high) (null: unbounded).
  const char* subtree(Node* node, int depth, const int* low, const int* high) {
    if (node->leaf != (depth == store.height_ - 1)) return "leaves at different depths";
    return node->leaf ? leaf(node, low, high) : inner(node, depth, low, high);
  }

  const char* leaf(Node* node, const int* low, const int* high) {
    const int dim = store.dim_;
    if (!node->pooled) bytes += store.leafBytes(node->capacity);
    if (node->pooled && (store.leafPool_ == nullptr || node->capacity != store.leafCapacity_)) {
      return "pooled leaf without a pool";
    }
    if (node->count < 1 || node->count > node->capacity) return "leaf count out of range";
    if (node->capacity > store.leafCapacity_ || (node != store.root_ && node->capacity != store.leafCapacity_)) {
      return "leaf capacity";
    }
    if (node != expectedLeaf || node->prev != previousLeaf) return "leaf chain out of order";
    for (int i = 0; i < node->count; ++i) {
      const int* k = store.keyAt(node, i);
      if (previousKey != nullptr && compareKeys<0>(previousKey, k, dim) >= 0) return "keys not ascending";
      if (low != nullptr && compareKeys<0>(k, low, dim) < 0) return "key below its separator";
      if (high != nullptr && compareKeys<0>(k, high, dim) >= 0) return "key not below its separator";
      previousKey = k;
    }
    records += node->count;
    previousLeaf = node;
    expectedLeaf = node->next;
    return nullptr;
  }

  const char* inner(Node* node, int depth, const int* low, const int* high) {
    bytes += store.innerBytes();
    if (node->count < (node == store.root_ ? 2 : 1) || node->count > store.innerCapacity_) {
      return "inner count out of range";
    }
    for (int i = 0; i < node->count; ++i) {
      const int* childLow = i > 0 ? store.separatorAt(node, i - 1) : low;
      const int* childHigh = i + 1 < node->count ? store.separatorAt(node, i) : high;
      if (childLow != nullptr && childHigh != nullptr && compareKeys<0>(childLow, childHigh, store.dim_) >= 0) {
        return "separators not ascending";
      }
      if (const char* fault = subtree(store.children(node)[i], depth + 1, childLow, childHigh)) return fault;
    }
    return nullptr;
  }
};

const char* RecordStore::structureFault() const {
  if (root_ == nullptr) {
    if (size_ != 0 || height_ != 0 || firstLeaf_ != nullptr || lastLeaf_ != nullptr) return "empty tree, live fields";
    return memory_ == 0 ? nullptr : "empty tree holds memory";
  }
  StructureAudit audit{*this};
  if (const char* fault = audit.subtree(root_, 0, nullptr, nullptr)) return fault;
  if (audit.expectedLeaf != nullptr || audit.previousLeaf != lastLeaf_)
    return "leaf chain does not end at the last leaf";
  if (audit.records != size_) return "size does not match the records";
  if (audit.bytes != memory_) return "memory does not match the nodes";
  return nullptr;
}

}  // namespace tvb
