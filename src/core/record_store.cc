#include "core/record_store.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <new>
#include <type_traits>

#include "tvbcclib.h"

namespace tvb {

static_assert(std::is_same_v<int32_t, int>, "keys are handed out as int arrays");

namespace {

// Byte budgets of the nodes. A search requests a whole leaf at once, so a leaf is small enough for that to
// be cheap (32 cache lines) and large enough that the leaf headers and the inner levels cost well under a
// byte per record. Inner nodes are few, stay in the cache and are larger, so that the tree stays shallow. Measured
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

// The same over a leaf's key codes, unsigned numbers of one width that compare as the keys they code.
template <class Code, bool kUpper>
int boundCodes(const char* bytes, int n, uint64_t target) {
  const Code* codes = reinterpret_cast<const Code*>(bytes);
  auto before = [&](int i) -> int { return kUpper ? codes[i] <= target : codes[i] < target; };
  int blocks = 0;
  for (int last = kCountBlock - 1; last < n; last += kCountBlock) blocks += before(last);
  const int from = blocks * kCountBlock;
  const int to = std::min(n, from + kCountBlock);
  int count = from;
  for (int i = from; i < to; ++i) count += before(i);
  return count;
}

template <bool kUpper>
int boundCodes(const char* codes, int width, int n, uint64_t target) {
  switch (width) {
    case 1:
      return boundCodes<uint8_t, kUpper>(codes, n, target);
    case 2:
      return boundCodes<uint16_t, kUpper>(codes, n, target);
    case 4:
      return boundCodes<uint32_t, kUpper>(codes, n, target);
    default:
      return boundCodes<uint64_t, kUpper>(codes, n, target);
  }
}

// x shifted left by n bits, and a number of n one bits, for n up to 64.
uint64_t shiftLeft(uint64_t x, int n) { return n >= 64 ? 0 : x << n; }
uint64_t lowBits(int n) { return n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1; }

// Bits that an offset up to range needs.
int bitsFor(uint32_t range) { return range == 0 ? 0 : 32 - __builtin_clz(range); }

size_t roundToDoubles(size_t bytes) { return (bytes + sizeof(double) - 1) / sizeof(double) * sizeof(double); }

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

// Calls f with a value of the unsigned type that holds a code of bytes (1, 2, 4 or 8), so that a loop over
// many codes is compiled once per width instead of choosing the width at every code.
template <class F>
void withCodeType(int bytes, F&& f) {
  switch (bytes) {
    case 1:
      return f(uint8_t{});
    case 2:
      return f(uint16_t{});
    case 4:
      return f(uint32_t{});
    default:
      return f(uint64_t{});
  }
}

// Two-label codes from one leaf's code to another's: the offsets shifted by the difference of the bases.
struct TwoLabelRecode {
  int fromBits;  // of the second offset in the source code
  uint64_t lowMask;
  uint32_t shift0, shift1;
  int toBits;
  template <class From, class To>
  void run(const From* from, To* to, int n) const {
    for (int i = 0; i < n; ++i) {
      const uint64_t code = from[i];
      const uint32_t first = static_cast<uint32_t>(code >> fromBits) + shift0;
      const uint32_t second = static_cast<uint32_t>(code & lowMask) + shift1;
      to[i] = static_cast<To>((uint64_t{first} << toBits) | second);
    }
  }
};

}  // namespace

static_assert(sizeof(RecordStore::Node) % alignof(double) == 0);
static_assert(kLeafBytes <= UINT16_MAX, "value offsets are 16 bits");

// The records of up to two neighbouring leaves in order, with a new key at keyIndex among them unless that
// is negative: what rebuild() lays out anew. (A scalar's key may be null.)
struct RecordStore::Sequence {
  const Node* first;  // may have no records
  const Node* second = nullptr;
  const int* key = nullptr;
  int keyIndex = -1;

  int size() const { return first->count + (second != nullptr ? second->count : 0) + (keyIndex >= 0 ? 1 : 0); }
  // The leaf and slot of record i; the leaf is null for the new key.
  std::pair<const Node*, int> at(int i) const {
    if (keyIndex >= 0) {
      if (i == keyIndex) return {nullptr, 0};
      if (i > keyIndex) --i;
    }
    return i < first->count ? std::pair{first, i} : std::pair{second, i - first->count};
  }
  // How many records from i on, before to, come one after the other from one leaf. REQUIRES: i is no new key.
  int run(int i, int to) const {
    const auto [leaf, slot] = at(i);
    const int n = std::min(to - i, leaf->count - slot);
    return keyIndex > i ? std::min(n, keyIndex - i) : n;  // a run stops at the new key
  }
};

struct RecordStore::Path {
  Node* node[kMaxHeight];
  int index[kMaxHeight];
};

RecordStore::RecordStore(int dim, int valueCount)
    : dim_(dim),
      valueCount_(valueCount),
      headerBytes_(roundToDoubles(sizeof(Node) + dim * (sizeof(int32_t) + sizeof(uint8_t)))) {
  leafCapacity_ = capacityFor(kLeafBytes, 1);
  innerCapacity_ = std::max<int>(
      kMinCapacity, (kInnerBytes - sizeof(Node) - sizeof(Node*)) / (sizeof(Node*) + dim * sizeof(int32_t)));
}

RecordStore::~RecordStore() { releaseAll(); }

// ---- Layout

// Codes first, padded to whole doubles, then the values.
int RecordStore::capacityFor(size_t bytes, int codeBytes) const {
  const size_t room = bytes - headerBytes_;
  const size_t valueBytes = valueCount_ * sizeof(double);
  size_t n = room / (codeBytes + valueBytes);
  while (n > 0 && roundToDoubles(n * codeBytes) + n * valueBytes > room) --n;
  return static_cast<int>(std::min<size_t>(n, UINT16_MAX));
}

void RecordStore::setCodeWidth(Node* leaf, int codeBytes) const {
  leaf->codeBytes = static_cast<uint8_t>(codeBytes);
  leaf->capacity = static_cast<uint16_t>(capacityFor(leaf->bytes, codeBytes));
  leaf->valueStart = static_cast<uint16_t>(headerBytes_ + roundToDoubles(size_t{leaf->capacity} * codeBytes));
}

bool RecordStore::openWindow() {
  Node* leaf = lastLeaf_;
  if (leaf == nullptr || leaf->count == 0 || leaf->codeBytes > sizeof(uint64_t)) return false;
  AppendWindow& w = window_;
  if (dim_ == 2) {
    const LeafCoding c = coding(leaf);
    if (c.bits[0] >= 32 || c.bits[1] >= 32) return false;
    for (int i = 0; i < 2; ++i) {
      // Offsets are taken in unsigned arithmetic, which matches the signed order of the labels only while
      // base + span stays within int.
      const int64_t span = std::min<int64_t>(int64_t{INT_MAX} - c.base[i], static_cast<int64_t>(mask(c.bits[i])));
      w.base[i] = static_cast<uint32_t>(c.base[i]);
      w.span[i] = static_cast<uint32_t>(span);
    }
    w.shift = c.bits[1];
  }
  w.leaf = leaf;
  w.codeBytes = leaf->codeBytes;
  w.code = codes(leaf) + static_cast<size_t>(leaf->count) * leaf->codeBytes;
  w.codeEnd = codes(leaf) + static_cast<size_t>(leaf->capacity) * leaf->codeBytes;
  w.values = valuesAt(leaf, leaf->count);
  w.lastCode = codeAt(leaf, leaf->count - 1);
  w.version = version_;
  return true;
}

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

// A new leaf codes its keys in one byte, covering only keys of zeros: the first key placed recodes it.
RecordStore::Node* RecordStore::allocateLeaf(size_t bytes) {
  const bool pooled = bytes == kLeafBytes && (leafPool_ != nullptr || memory_ >= kPoolThresholdBytes);
  void* block;
  if (pooled) {
    if (leafPool_ == nullptr) leafPool_ = std::make_unique<NodePool>(bytes);
    block = leafPool_->allocate();
  } else {
    block = ::operator new(bytes);
    memory_ += bytes;
  }
  Node* leaf = new (block) Node{nullptr, nullptr, 0, 0, true, pooled, static_cast<uint32_t>(bytes), 0, 0, 0};
  const LeafCoding c = coding(leaf);
  std::fill_n(c.base, dim_, 0);
  std::fill_n(c.bits, dim_, 0);
  setCodeWidth(leaf, 1);
  return leaf;
}

RecordStore::Node* RecordStore::allocateInner() {
  const size_t bytes = innerBytes();
  Node* node = new (::operator new(bytes)) Node{nullptr, nullptr, 0, 0, false, false, 0, 0, 0, 0};
  memory_ += bytes;
  return node;
}

void RecordStore::release(Node* node) {
  if (node->pooled) {
    leafPool_->release(node);
    return;
  }
  memory_ -= node->leaf ? node->bytes : innerBytes();
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

// The whole leaf is requested at once, before even its header has arrived: the found record's values then
// come in with the codes instead of after the search. The key is coded as the leaf codes its own keys; a
// position outside the range the code covers puts the key below or above every code that agrees with it so
// far, which bounds the search the same way.
int RecordStore::searchLeaf(Node* leaf, const int* key, bool* found) const {
  const char* start = reinterpret_cast<const char*>(leaf);
  requestLines(start, start + kLeafBytes);
  const int count = leaf->count;
  if (leaf->codeBytes > sizeof(uint64_t)) {
    const int* keys = reinterpret_cast<const int*>(codes(leaf));
    const int slot = bound<false>(keys, count, key, dim_, dim_);
    *found = slot < count && compareKeys<0>(keys + static_cast<size_t>(slot) * dim_, key, dim_) == 0;
    return slot;
  }
  const LeafCoding c = coding(leaf);
  int rest = 0;  // bits after the position at hand
  for (int i = 0; i < dim_; ++i) rest += c.bits[i];
  uint64_t target = 0;
  for (int i = 0; i < dim_; ++i) {
    const int bits = c.bits[i];
    rest -= bits;
    const uint64_t offset = static_cast<uint32_t>(key[i]) - static_cast<uint32_t>(c.base[i]);
    if (key[i] < c.base[i]) {
      *found = false;
      return boundCodes<false>(codes(leaf), leaf->codeBytes, count, shiftLeft(target, bits + rest));
    }
    if ((offset >> bits) != 0) {
      *found = false;
      const uint64_t highest = shiftLeft(target, bits + rest) | lowBits(bits + rest);
      return boundCodes<true>(codes(leaf), leaf->codeBytes, count, highest);
    }
    target = (target << bits) | offset;
  }
  const int slot = boundCodes<false>(codes(leaf), leaf->codeBytes, count, target);
  *found = slot < count && codeAt(leaf, slot) == target;
  return slot;
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
  return Position{node, searchLeaf(node, key, found)};
}

RecordStore::Position RecordStore::find(const int* key) const {
  if (root_ == nullptr) return end();
  bool found;
  const Position p = locate(key, nullptr, &found);
  return found ? p : end();
}

// ---- Moving records and children

// How a leaf is to code the keys of a run of records: the lowest label per position, and the bits that the
// offsets from it take. Spare bits of the chosen width go to the last positions, where keys arriving in order
// grow, so that they fit without recoding for longer.
struct RecordStore::CodePlan {
  int32_t base[GLOBAL_MAX_INDEX_DIM];
  uint8_t bits[GLOBAL_MAX_INDEX_DIM];
  int codeBytes;  // above 8: keys stored as they are
};

// The code of records whose labels lie between low and high per position.
static RecordStore::CodePlan planCodeFor(const int* low, const int* high, int dim, int records) {
  RecordStore::CodePlan plan;
  int total = 0;
  for (int i = 0; i < dim; ++i) {
    plan.base[i] = records > 0 ? low[i] : 0;
    plan.bits[i] =
        static_cast<uint8_t>(records > 0 ? bitsFor(static_cast<uint32_t>(high[i]) - static_cast<uint32_t>(low[i])) : 0);
    total += plan.bits[i];
  }
  if (total > 64) {
    plan.codeBytes = dim * static_cast<int>(sizeof(int32_t));
    return plan;
  }
  plan.codeBytes = total <= 8 ? 1 : total <= 16 ? 2 : total <= 32 ? 4 : 8;
  int spare = 8 * plan.codeBytes - total;
  for (int i = dim - 1; i >= 0 && spare > 0; --i) {
    const int more = std::min(spare, 32 - plan.bits[i]);
    plan.bits[i] = static_cast<uint8_t>(plan.bits[i] + more);
    spare -= more;
  }
  return plan;
}

// A key that fits the leaf's code goes in with the codes and values after it moved up by one; one that
// does not recodes the leaf, when its records and the key fit at the width their code then needs.
RecordStore::Position RecordStore::placeInLeaf(Node* leaf, int slot, const int* key) {
  const int count = leaf->count;
  if (count == 0) applyPlan(leaf, planCodeFor(key, key, dim_, 1));  // a leaf's first key sets its code
  const bool raw = leaf->codeBytes > sizeof(uint64_t);
  uint64_t code = 0;
  const bool fits = raw || encode(leaf, key, &code);
  if (fits && count < leaf->capacity) {
    const size_t width = leaf->codeBytes;
    char* at = codes(leaf) + slot * width;
    std::memmove(at + width, at, (count - slot) * width);
    double* values = valuesAt(leaf, slot);
    std::memmove(values + valueCount_, values, static_cast<size_t>(count - slot) * valueCount_ * sizeof(double));
    if (raw) {
      std::memcpy(at, key, dim_ * sizeof(int32_t));
    } else {
      storeCode(leaf, slot, code);
    }
    // Plain stores rather than a call to memset: loading a file places millions of records here.
    values[0] = 0.0;
    if (valueCount_ == 5) values[1] = values[2] = values[3] = values[4] = 0.0;
    leaf->count = count + 1;
    ++size_;
    ++version_;
    return Position{leaf, slot};
  }
  // A full leaf whose code covers the key has no narrower code to give; past the end of a full leaf a new
  // leaf takes the key in any case.
  Position placed;
  if (fits || (count >= leaf->capacity && slot == count) ||
      !rebuild(Sequence{leaf, nullptr, key, slot}, leaf, nullptr, count + 1, &placed)) {
    return end();
  }
  ++size_;
  ++version_;
  return placed;
}

void RecordStore::removeFromLeaf(Node* leaf, int slot) const {
  const size_t width = leaf->codeBytes;
  const int after = leaf->count - slot - 1;
  char* at = codes(leaf) + slot * width;
  std::memmove(at, at + width, after * width);
  double* values = valuesAt(leaf, slot);
  std::memmove(values, values + valueCount_, static_cast<size_t>(after) * valueCount_ * sizeof(double));
  --leaf->count;
}

void RecordStore::applyPlan(Node* leaf, const CodePlan& plan) const {
  const LeafCoding c = coding(leaf);
  std::copy_n(plan.base, dim_, c.base);
  std::copy_n(plan.bits, dim_, c.bits);
  setCodeWidth(leaf, plan.codeBytes);
}

// The code for records [from, to) of a sequence. The records are in key order, so the positions in which the
// first and the last agree are the same in all, and the first position in which they differ runs from the
// one to the other; only the positions after it are looked up record by record.
RecordStore::CodePlan RecordStore::planCode(const Sequence& records, int from, int to) const {
  int low[GLOBAL_MAX_INDEX_DIM] = {}, high[GLOBAL_MAX_INDEX_DIM] = {}, key[GLOBAL_MAX_INDEX_DIM];
  if (from == to) return planCodeFor(low, high, dim_, 0);
  auto keyOf = [&](int i, int* to) {
    const auto [leaf, slot] = records.at(i);
    if (leaf != nullptr) {
      readKey(leaf, slot, to);
    } else {
      std::copy_n(records.key, dim_, to);
    }
  };
  keyOf(from, low);
  keyOf(to - 1, high);
  int differs = 0;
  while (differs < dim_ && low[differs] == high[differs]) ++differs;
  if (differs + 1 < dim_) {
    for (int d = differs + 1; d < dim_; ++d) low[d] = INT32_MAX, high[d] = INT32_MIN;
    if (dim_ == 2) {
      scanSecondLabels(records, from, to, &low[1], &high[1]);
      return planCodeFor(low, high, dim_, to - from);
    }
    for (int i = from; i < to; ++i) {
      keyOf(i, key);
      for (int d = differs + 1; d < dim_; ++d) {
        low[d] = std::min(low[d], key[d]);
        high[d] = std::max(high[d], key[d]);
      }
    }
  }
  return planCodeFor(low, high, dim_, to - from);
}

namespace {

// The lowest and highest offset of the last position in n codes.
template <class Code>
void offsetRange(const char* bytes, int n, uint64_t mask, uint64_t* low, uint64_t* high) {
  const Code* codes = reinterpret_cast<const Code*>(bytes);
  for (int i = 0; i < n; ++i) {
    const uint64_t offset = codes[i] & mask;
    *low = std::min(*low, offset);
    *high = std::max(*high, offset);
  }
}

}  // namespace

// Widens [*low, *high] to the second labels of records [from, to) of a two-label sequence: a run of codes
// of one leaf at a time, without unpacking whole keys.
void RecordStore::scanSecondLabels(const Sequence& records, int from, int to, int* low, int* high) const {
  for (int i = from; i < to;) {
    const auto [leaf, slot] = records.at(i);
    if (leaf == nullptr) {
      *low = std::min(*low, records.key[1]);
      *high = std::max(*high, records.key[1]);
      ++i;
      continue;
    }
    const int n = records.run(i, to);
    if (leaf->codeBytes > sizeof(uint64_t)) {
      for (int k = 0; k < n; ++k) {
        int key[GLOBAL_MAX_INDEX_DIM];
        readKey(leaf, slot + k, key);
        *low = std::min(*low, key[1]);
        *high = std::max(*high, key[1]);
      }
    } else {
      const LeafCoding c = coding(leaf);
      uint64_t lowest = ~uint64_t{0}, highest = 0;
      const char* at = codes(leaf) + static_cast<size_t>(slot) * leaf->codeBytes;
      const uint64_t lowMask = mask(c.bits[1]);
      withCodeType(leaf->codeBytes,
                   [&](auto code) { offsetRange<decltype(code)>(at, n, lowMask, &lowest, &highest); });
      *low = std::min(*low, static_cast<int>(static_cast<uint32_t>(c.base[1]) + static_cast<uint32_t>(lowest)));
      *high = std::max(*high, static_cast<int>(static_cast<uint32_t>(c.base[1]) + static_cast<uint32_t>(highest)));
    }
    i += n;
  }
}

// Lays out records anew: its first leftCount records into left, coded afresh, and the rest into right (null
// when there is no rest). The leaves may be those the records come from: these are copied first. Where the
// new key went is stored in *placed. False, with nothing changed, when a leaf cannot hold its share at the
// width its keys need; the code never gets wider than the records need, so a leaf's own records, or fewer,
// always fit back into a leaf of its size.
bool RecordStore::rebuild(const Sequence& records, Node* left, Node* right, int leftCount, Position* placed) {
  const int total = records.size();
  Node* const targets[2] = {left, right};
  const int from[3] = {0, leftCount, total};
  CodePlan plans[2];
  for (int t = 0; t < 2; ++t) {
    const int n = from[t + 1] - from[t];
    if (targets[t] == nullptr) continue;
    if (n > capacityFor(targets[t]->bytes, 1)) return false;
    plans[t] = planCode(records, from[t], from[t + 1]);
    if (n > capacityFor(targets[t]->bytes, plans[t].codeBytes)) return false;
  }

  // The source leaves as they are, header, codes and values, for reading while the targets are written.
  alignas(kCacheLineBytes) char copies[2][kLeafBytes];
  Sequence copied = records;
  const Node* sources[2] = {records.first, records.second};
  for (int k = 0; k < 2; ++k) {
    if (sources[k] == nullptr) continue;
    const size_t used = sources[k]->valueStart + static_cast<size_t>(sources[k]->count) * valueCount_ * sizeof(double);
    std::memcpy(copies[k], sources[k], used);
    (k == 0 ? copied.first : copied.second) = reinterpret_cast<const Node*>(copies[k]);
  }

  for (int t = 0; t < 2; ++t) {
    Node* leaf = targets[t];
    if (leaf == nullptr) continue;
    applyPlan(leaf, plans[t]);
    // A run of neighbouring records of one source at a time.
    for (int i = from[t]; i < from[t + 1];) {
      const auto [source, sourceSlot] = copied.at(i);
      const int slot = i - from[t];
      if (source == nullptr) {
        if (leaf->codeBytes > sizeof(uint64_t)) {
          std::memcpy(codes(leaf) + static_cast<size_t>(slot) * leaf->codeBytes, copied.key, dim_ * sizeof(int32_t));
        } else {
          uint64_t code = 0;
          encode(leaf, copied.key, &code);  // fits: the plan covers every key of the run
          storeCode(leaf, slot, code);
        }
        std::fill_n(valuesAt(leaf, slot), valueCount_, 0.0);
        if (placed != nullptr) *placed = Position{leaf, slot};
        ++i;
        continue;
      }
      const int run = copied.run(i, from[t + 1]);
      transcode(source, sourceSlot, leaf, slot, run);
      i += run;
    }
    leaf->count = from[t + 1] - from[t];
  }
  return true;
}

// Copies n records from one leaf to another whose code covers their keys: the values as they are, the keys
// recoded. Two-label keys, the common case, go from code to code without unpacking them into labels.
void RecordStore::transcode(const Node* from, int fromSlot, Node* to, int toSlot, int n) const {
  std::memcpy(valuesAt(to, toSlot), valuesAt(from, fromSlot), static_cast<size_t>(n) * valueCount_ * sizeof(double));
  const bool packed = from->codeBytes <= sizeof(uint64_t) && to->codeBytes <= sizeof(uint64_t);
  if (packed && dim_ == 2) {
    const LeafCoding a = coding(from);
    const LeafCoding b = coding(to);
    // The labels minus the new bases: the old offsets plus the difference of the bases, which wraps around
    // in unsigned arithmetic to the right number because every key lies above the new bases.
    const uint32_t shift0 = static_cast<uint32_t>(a.base[0]) - static_cast<uint32_t>(b.base[0]);
    const uint32_t shift1 = static_cast<uint32_t>(a.base[1]) - static_cast<uint32_t>(b.base[1]);
    const TwoLabelRecode recode{a.bits[1], mask(a.bits[1]), shift0, shift1, b.bits[1]};
    const char* source = codes(from) + static_cast<size_t>(fromSlot) * from->codeBytes;
    char* target = codes(to) + static_cast<size_t>(toSlot) * to->codeBytes;
    withCodeType(from->codeBytes, [&](auto fromCode) {
      withCodeType(to->codeBytes, [&](auto toCode) {
        recode.run(reinterpret_cast<const decltype(fromCode)*>(source), reinterpret_cast<decltype(toCode)*>(target), n);
      });
    });
    return;
  }
  int key[GLOBAL_MAX_INDEX_DIM];
  for (int i = 0; i < n; ++i) {
    readKey(from, fromSlot + i, key);
    if (to->codeBytes > sizeof(uint64_t)) {
      std::memcpy(codes(to) + static_cast<size_t>(toSlot + i) * to->codeBytes, key, dim_ * sizeof(int32_t));
    } else {
      uint64_t code = 0;
      encode(to, key, &code);
      storeCode(to, toSlot + i, code);
    }
  }
}

// The separator between the leaves at separatorIndex and separatorIndex + 1 becomes the right one's first key,
// after records have moved between them.
void RecordStore::renewSeparator(Node* parent, int separatorIndex) const {
  readKey(children(parent)[separatorIndex + 1], 0, separatorAt(parent, separatorIndex));
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
  movedWithoutKey_ = false;
  try {
    return insertLooking(key);
  } catch (...) {
    if (movedWithoutKey_) ++version_;  // the records are the same, but some have moved
    throw;
  }
}

// Making room for a key that needs a wider code than its leaf has may only make room (movedWithoutKey_); the
// key is then looked for again. Placing the key advances the version, once.
std::pair<RecordStore::Position, bool> RecordStore::insertLooking(const int* key) {
  for (;;) {
    // Keys usually come in ascending order (files, arrays, labels registered in order): a key above the last
    // one goes to the end of the last leaf without a search.
    const Position lastRecord = last();
    int lastKey[GLOBAL_MAX_INDEX_DIM];
    this->key(lastRecord, lastKey);
    const int order = compareKeys<0>(key, lastKey, dim_);
    if (order == 0) return {lastRecord, false};
    Path path;
    Position at;
    if (order > 0) {
      appending_ = true;
      at = Position{lastLeaf_, lastLeaf_->count};
      const Position placed = placeInLeaf(lastLeaf_, at.slot, key);
      if (!placed.isEnd()) return {placed, true};
      descendRightEdge(&path);
    } else {
      bool found;
      at = locate(key, &path, &found);
      if (found) return {at, false};
      const Position placed = placeInLeaf(at.leaf, at.slot, key);
      if (!placed.isEnd()) return {placed, true};
    }
    const Position placed = makeRoomAndPlace(at, &path, key);
    if (!placed.isEnd()) return {placed, true};
  }
}

// The first record, in a leaf of one record that grows as records come (growOnlyLeaf).
RecordStore::Position RecordStore::plantRoot(const int* key) {
  Node* leaf = allocateLeaf(headerBytes_ + sizeof(uint64_t) + valueCount_ * sizeof(double));
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

// at: the slot for key in a leaf that cannot take it, reached through path. end() when room was made but
// the key not placed.
RecordStore::Position RecordStore::makeRoomAndPlace(Position at, Path* path, const int* key) {
  if (at.leaf->bytes < kLeafBytes) return growOnlyLeaf(at.slot, key);
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
  const Sequence records{leaf, nullptr, key, slot};
  const int codeBytes = planCode(records, 0, records.size()).codeBytes;
  size_t bytes = 2 * leaf->bytes;
  while (bytes < kLeafBytes && capacityFor(bytes, codeBytes) < records.size()) bytes *= 2;
  Node* bigger = allocateLeaf(std::min(bytes, kLeafBytes));
  Position placed;
  if (rebuild(records, bigger, nullptr, leaf->count + 1, &placed)) {
    ++size_;
    ++version_;
  } else {
    rebuild(Sequence{leaf}, bigger, nullptr, leaf->count, nullptr);  // fits: the records fitted a smaller leaf
    placed = end();
    movedWithoutKey_ = true;
  }
  release(leaf);
  root_ = firstLeaf_ = lastLeaf_ = bigger;
  return placed;
}

// A neighbour with room takes some of the full leaf's records, and key goes where it belongs: fewer, fuller
// leaves than splitting at once (shuffled keys use 7/8 of the room rather than 2/3, at the same speed). The
// neighbour with more room is asked, the right one on a tie. end() when neither has room for the records at
// the width of code they need.
RecordStore::Position RecordStore::shareWithNeighbour(Position at, const Path& path, const int* key) {
  Node* parent = path.node[height_ - 2];
  const int index = path.index[height_ - 2];
  Node* leaf = at.leaf;
  Node* left = childOrNull(parent, index - 1);
  Node* right = childOrNull(parent, index + 1);
  const int leftRoom = left != nullptr ? left->capacity - left->count : 0;
  const int rightRoom = right != nullptr ? right->capacity - right->count : 0;
  Position placed;
  if (rightRoom > 0 && rightRoom >= leftRoom &&
      rebuild(Sequence{leaf, right, key, at.slot}, leaf, right, (leaf->count + 1 + right->count + 1) / 2, &placed)) {
    renewSeparator(parent, index);
  } else if (leftRoom > 0 && rebuild(Sequence{left, leaf, key, left->count + at.slot}, left, leaf,
                                     (left->count + leaf->count + 2) / 2, &placed)) {
    renewSeparator(parent, index - 1);
  } else {
    return end();
  }
  ++size_;
  ++version_;
  return placed;
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
    fresh.leaf = allocateLeaf(kLeafBytes);
  } catch (...) {
    for (int i = 0; i < allocated; ++i) release(fresh.inner[i]);
    throw;
  }
  return fresh;
}

// Splits the leaf at.leaf, with a new leaf beside it, and places key. On an edge the key stays alone in the
// new leaf; in the middle the two leaves share the records evenly. When the key would widen the code of its
// half beyond what that half's records then fit in, the records are shared without it (end()).
RecordStore::Position RecordStore::splitLeaf(Position at, Path* path, const int* key, Edge edge) {
  SplitNodes fresh = allocateSplitNodes(*path);
  Node* leaf = at.leaf;
  Position placed;
  if (edge == Edge::kStart) {
    linkLeafBefore(fresh.leaf, leaf);
    placed = placeInLeaf(fresh.leaf, 0, key);  // a key alone always fits
  } else if (edge == Edge::kEnd) {
    linkLeafAfter(fresh.leaf, leaf);
    placed = placeInLeaf(fresh.leaf, 0, key);
  } else {
    linkLeafAfter(fresh.leaf, leaf);
    if (rebuild(Sequence{leaf, nullptr, key, at.slot}, leaf, fresh.leaf, (leaf->count + 2) / 2, &placed)) {
      ++size_;
      ++version_;
    } else {
      rebuild(Sequence{leaf}, leaf, fresh.leaf, (leaf->count + 1) / 2, nullptr);
      placed = end();
      movedWithoutKey_ = true;
    }
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
  readKey(addedOnLeft ? old : added, 0, separator);
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
  if (!after.isEnd()) key(after, following);
  int erased[GLOBAL_MAX_INDEX_DIM];
  key(p, erased);
  Path path;
  bool found;
  locate(erased, &path, &found);
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

// Merges child index of parent with its left neighbour, or else its right one, when the two fit in one node
// (leaves: at the width of code their keys need together).
bool RecordStore::mergeWithNeighbour(Node* parent, int index) {
  Node* node = children(parent)[index];
  const int capacity = node->leaf ? leafCapacity_ : innerCapacity_;
  Node* left = childOrNull(parent, index - 1);
  Node* right = childOrNull(parent, index + 1);
  return (left != nullptr && left->count + node->count <= capacity && mergeChildren(parent, index - 1)) ||
         (right != nullptr && node->count + right->count <= capacity && mergeChildren(parent, index));
}

// Moves everything of child separatorIndex + 1 of parent into child separatorIndex and drops it; false, with
// nothing changed, when two leaves do not fit in one.
bool RecordStore::mergeChildren(Node* parent, int separatorIndex) {
  Node* left = children(parent)[separatorIndex];
  Node* right = children(parent)[separatorIndex + 1];
  if (left->leaf) {
    if (!rebuild(Sequence{left, right}, left, nullptr, left->count + right->count, nullptr)) return false;
    unlinkLeaf(right);
    right->count = 0;
  } else {
    int32_t* keys = separatorAt(left, left->count - 1);
    copyKeys(keys, separatorAt(parent, separatorIndex), 1);
    copyKeys(keys + dim_, separatorAt(right, 0), right->count - 1);
    std::memcpy(children(left) + left->count, children(right), right->count * sizeof(Node*));
  }
  left->count += right->count;
  release(right);
  removeChild(parent, separatorIndex + 1, separatorIndex);
  return true;
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
    // Keys that need a wider code together may not fit evenly: the leaf then stays as it is.
    if (rebuild(Sequence{first, second}, first, second, (first->count + second->count + 1) / 2, nullptr)) {
      renewSeparator(parent, separatorIndex);
    }
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
  const char* start = reinterpret_cast<const char*>(neighbour);
  requestLines(start, start + kLeafBytes);
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
  int previousKey[GLOBAL_MAX_INDEX_DIM] = {};
  bool anyKey = false;

  // The keys of node's subtree must lie in [low, high) (null: unbounded).
  const char* subtree(Node* node, int depth, const int* low, const int* high) {
    if (node->leaf != (depth == store.height_ - 1)) return "leaves at different depths";
    return node->leaf ? leaf(node, low, high) : inner(node, depth, low, high);
  }

  const char* leaf(Node* node, const int* low, const int* high) {
    const int dim = store.dim_;
    if (!node->pooled) bytes += node->bytes;
    if (node->pooled && (store.leafPool_ == nullptr || node->bytes != kLeafBytes)) {
      return "pooled leaf without a pool";
    }
    if (node->count < 1 || node->count > node->capacity) return "leaf count out of range";
    if (node->bytes > kLeafBytes || (node != store.root_ && node->bytes != kLeafBytes)) return "leaf size";
    const bool raw = node->codeBytes > sizeof(uint64_t);
    if (raw ? node->codeBytes != dim * sizeof(int32_t) : std::has_single_bit(node->codeBytes) == false) {
      return "code width";
    }
    if (node->capacity != store.capacityFor(node->bytes, node->codeBytes) ||
        node->valueStart != store.headerBytes_ + roundToDoubles(size_t{node->capacity} * node->codeBytes)) {
      return "leaf layout does not match its code width";
    }
    if (node != expectedLeaf || node->prev != previousLeaf) return "leaf chain out of order";
    for (int i = 0; i < node->count; ++i) {
      int k[GLOBAL_MAX_INDEX_DIM];
      store.readKey(node, i, k);
      uint64_t code;
      if (!raw && (!store.encode(node, k, &code) || code != store.codeAt(node, i))) return "code out of range";
      if (anyKey && compareKeys<0>(previousKey, k, dim) >= 0) return "keys not ascending";
      if (low != nullptr && compareKeys<0>(k, low, dim) < 0) return "key below its separator";
      if (high != nullptr && compareKeys<0>(k, high, dim) >= 0) return "key not below its separator";
      std::copy_n(k, dim, previousKey);
      anyKey = true;
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
