// The record store compared with an ordered map of key vectors under random inserts, lookups, walks and erases;
// its tree invariants after each kind of change; and its all-or-nothing inserts when allocations fail.
#include "core/record_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "support/allocation_failures.h"

namespace tvb {

class RecordStoreTestAccess {
 public:
  static const char* structureFault(const RecordStore& store) { return store.structureFault(); }
};

namespace {

using Key = std::vector<int>;
using Model = std::map<Key, std::vector<double>>;
using Position = RecordStore::Position;

enum class Order { kAscending, kDescending, kShuffled };

const char* fault(const RecordStore& store) { return RecordStoreTestAccess::structureFault(store); }

Key keyAt(const RecordStore& store, Position p) {
  Key key(GLOBAL_MAX_INDEX_DIM);
  store.key(p, key.data());
  key.resize(store.dim());
  return key;
}

std::vector<double> valuesAt(const RecordStore& store, Position p) {
  return std::vector<double>(store.values(p), store.values(p) + store.valueCount());
}

// The store holds exactly the model's records, in the model's order both ways, and its tree is well formed.
void expectSameRecords(const RecordStore& store, const Model& model) {
  ASSERT_EQ(fault(store), nullptr);
  ASSERT_EQ(store.size(), static_cast<int64_t>(model.size()));
  Position p = store.first();
  for (const auto& [key, values] : model) {
    ASSERT_FALSE(p.isEnd());
    ASSERT_EQ(keyAt(store, p), key);
    ASSERT_EQ(valuesAt(store, p), values);
    p = store.next(p);
  }
  EXPECT_TRUE(p.isEnd());
  p = store.last();
  for (auto it = model.rbegin(); it != model.rend(); ++it, p = store.prev(p)) {
    ASSERT_FALSE(p.isEnd());
    ASSERT_EQ(keyAt(store, p), it->first);
  }
  EXPECT_TRUE(p.isEnd());
}

// A key of 20 labels: n, then zeros.
Key wideKey(int n) { return Key{n, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; }

// Keys spread over negative and positive numbers, the extremes included, dense enough that random keys often
// hit stored ones.
Key randomKey(std::mt19937& rng, int dim) {
  std::uniform_int_distribution<int> number(dim == 1 ? -1000000 : -50, dim == 1 ? 1000000 : 50), extreme(0, 49);
  Key key(dim);
  for (int& k : key) {
    const int pick = extreme(rng);
    k = pick == 0 ? INT_MIN : pick == 1 ? INT_MAX : number(rng);
  }
  return key;
}

std::vector<Key> distinctKeys(std::mt19937& rng, int dim, size_t n, Order order) {
  std::set<Key> unique;
  while (unique.size() < n && !(dim == 0 && unique.size() == 1)) unique.insert(randomKey(rng, dim));
  std::vector<Key> keys(unique.begin(), unique.end());
  if (order == Order::kDescending) std::reverse(keys.begin(), keys.end());
  if (order == Order::kShuffled) std::shuffle(keys.begin(), keys.end(), rng);
  return keys;
}

// Inserts key into both, checking what insert reports and that only a new key changes the version, and gives
// a new record random values.
void insertBoth(RecordStore& store, Model& model, const Key& key, std::mt19937& rng) {
  const uint64_t version = store.version();
  auto [p, inserted] = store.insert(key.data());
  ASSERT_FALSE(p.isEnd());
  ASSERT_EQ(keyAt(store, p), key);
  auto found = model.find(key);
  ASSERT_EQ(inserted, found == model.end());
  ASSERT_EQ(store.version(), version + inserted);
  if (!inserted) {
    ASSERT_EQ(valuesAt(store, p), found->second);
    return;
  }
  ASSERT_EQ(valuesAt(store, p), std::vector<double>(store.valueCount(), 0.0));
  std::vector<double> values(store.valueCount());
  for (double& v : values) v = std::uniform_real_distribution<double>(-1e6, 1e6)(rng);
  std::copy(values.begin(), values.end(), store.values(p));
  model.emplace(key, values);
}

// Offers key to the inline append first, as loading sorted data does: it must take only a key above every
// stored key, and not the same key again; insertBoth takes whatever it leaves.
void appendOrInsertBoth(RecordStore& store, Model& model, const Key& key, std::mt19937& rng) {
  const uint64_t version = store.version();
  double* values = store.appendIfLast(key.data());
  if (values == nullptr) return insertBoth(store, model, key, rng);
  ASSERT_TRUE(model.empty() || key > model.rbegin()->first);
  ASSERT_EQ(store.version(), version + 1);
  std::fill(values, values + store.valueCount(), 0.5);
  model.emplace(key, std::vector<double>(store.valueCount(), 0.5));
  ASSERT_EQ(store.appendIfLast(key.data()), nullptr);
}

// Erases the record at p from both; the position returned must be that of the record that followed.
Position eraseBoth(RecordStore& store, Model& model, Position p) {
  const Key key = keyAt(store, p);
  const uint64_t version = store.version();
  const Position following = store.erase(p);
  EXPECT_EQ(store.version(), version + 1);
  auto after = model.upper_bound(key);
  EXPECT_EQ(following.isEnd(), after == model.end());
  if (!following.isEnd() && after != model.end()) {
    EXPECT_EQ(keyAt(store, following), after->first);
    EXPECT_EQ(valuesAt(store, following), after->second);
  }
  model.erase(key);
  return following;
}

// Fails allocation 0, 1, 2, ... of inserting key until the insert goes through; each failure must leave the
// store as it was (every record compared when `compare` is set). Returns the number of failures.
long failInsertUntilItSucceeds(RecordStore& store, const Key& key, bool compare) {
  Model before;
  for (Position p = store.first(); compare && !p.isEnd(); p = store.next(p))
    before[keyAt(store, p)] = valuesAt(store, p);
  const uint64_t version = store.version();
  const size_t memory = store.memoryBytes();
  const int64_t size = store.size();
  for (long n = 0; n <= 10; ++n) {
    tvbtest::failAllocationAfter(n);
    try {
      store.insert(key.data());
      tvbtest::stopFailing();
      EXPECT_EQ(store.size(), size + 1);
      EXPECT_FALSE(store.find(key.data()).isEnd());
      return n;
    } catch (const std::bad_alloc&) {
      tvbtest::stopFailing();
    }
    EXPECT_EQ(fault(store), nullptr) << "allocation " << n;
    EXPECT_EQ(store.version(), version);
    EXPECT_EQ(store.memoryBytes(), memory);
    EXPECT_EQ(store.size(), size);
    EXPECT_TRUE(store.find(key.data()).isEnd());
    if (compare) {
      EXPECT_NO_FATAL_FAILURE(expectSameRecords(store, before)) << "allocation " << n;
    }
  }
  ADD_FAILURE() << "insert keeps failing";
  return -1;
}

class RecordStoreCompared : public ::testing::TestWithParam<std::tuple<int, int, Order>> {};

TEST_P(RecordStoreCompared, InsertsFindsWalksErasesAndClearsMatchAnOrderedMap) {
  const auto [dim, valueCount, order] = GetParam();
  std::mt19937 rng(dim * 100 + valueCount * 10 + static_cast<int>(order));
  RecordStore store(dim, valueCount);
  Model model;

  const std::vector<Key> keys = distinctKeys(rng, dim, 3000, order);
  EXPECT_TRUE(store.find(keys[0].data()).isEnd());
  for (const Key& key : keys) ASSERT_NO_FATAL_FAILURE(appendOrInsertBoth(store, model, key, rng));
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
  if (dim == 0) {
    EXPECT_LE(store.memoryBytes(), 128u);  // many symbols are scalars: one does not hold a whole node
  }

  // Inserts and erases of present and absent keys at random, in phases that mostly erase and mostly insert, so
  // that the tree shrinks and grows through many merges, splits and refills.
  std::uniform_int_distribution<int> percent(0, 99);
  for (int step = 1; step <= 8000; ++step) {
    const Key key = step % 3 == 0 ? randomKey(rng, dim) : keys[rng() % keys.size()];
    const Position p = store.find(key.data());
    ASSERT_EQ(p.isEnd(), model.count(key) == 0);
    if (percent(rng) < ((step / 2000) % 2 == 0 ? 30 : 70)) {
      ASSERT_NO_FATAL_FAILURE(appendOrInsertBoth(store, model, key, rng));
    } else if (!p.isEnd()) {
      eraseBoth(store, model, p);
    }
  }
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));

  // Erase about half of the rest during a forward walk, continuing from the position erase returns.
  std::bernoulli_distribution drop(0.5);
  auto expected = model.begin();
  for (Position p = store.first(); !p.isEnd();) {
    ASSERT_NE(expected, model.end());
    ASSERT_EQ(keyAt(store, p), (expected++)->first);
    p = drop(rng) ? eraseBoth(store, model, p) : store.next(p);
  }
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));

  // Erase the rest from the back: an empty store holds no memory.
  while (!store.empty()) eraseBoth(store, model, store.last());
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
  EXPECT_EQ(store.memoryBytes(), 0u);

  // Refill while each insert's allocations fail in turn, then clear (twice): nothing leaks.
  const long live = tvbtest::liveAllocations();
  for (const Key& key : keys) ASSERT_GE(failInsertUntilItSucceeds(store, key, false), 0);
  ASSERT_EQ(fault(store), nullptr);
  ASSERT_EQ(store.size(), static_cast<int64_t>(keys.size()));
  const uint64_t version = store.version();
  store.clear();
  EXPECT_EQ(store.version(), version + 1);
  EXPECT_EQ(store.memoryBytes(), 0u);
  EXPECT_EQ(tvbtest::liveAllocations(), live);
  store.clear();
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));

  // The emptied store is as good as new.
  for (const Key& key : keys) ASSERT_NO_FATAL_FAILURE(insertBoth(store, model, key, rng));
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<int, int, Order>>& info) {
  static const char* const kOrders[] = {"Ascending", "Descending", "Shuffled"};
  return "Dim" + std::to_string(std::get<0>(info.param)) + "Values" + std::to_string(std::get<1>(info.param)) +
         kOrders[static_cast<int>(std::get<2>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(WidthsAndOrders, RecordStoreCompared,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3, 20), ::testing::Values(1, 5),
                                            ::testing::Values(Order::kAscending, Order::kDescending, Order::kShuffled)),
                         caseName);

// A leaf holds a 16-byte row per record plus a small header. Shuffled keys leave room in the leaves, but
// neighbours share records before a leaf splits.
TEST(RecordStore, LeavesOfLargeStoresAreFilled) {
  constexpr int kColumns = 400, kCells = 500 * kColumns;
  std::mt19937 rng(11);
  for (Order order : {Order::kAscending, Order::kShuffled}) {
    RecordStore store(2, 1);
    std::vector<int> cells(kCells);
    std::iota(cells.begin(), cells.end(), 0);
    if (order == Order::kShuffled) std::shuffle(cells.begin(), cells.end(), rng);
    for (int c : cells) store.insert(Key{c / kColumns, c % kColumns}.data());
    ASSERT_EQ(fault(store), nullptr);
    ASSERT_EQ(store.size(), kCells);
    EXPECT_LT(store.memoryBytes(), (order == Order::kAscending ? 16.5 : 22.0) * store.size());
  }
}

// A store of several megabytes takes its leaves from a pool of large chunks. Its records are the same as
// anywhere else; leaves freed by erasing are used again; the insert that opens the pool fails cleanly; and
// clearing hands every chunk back.
TEST(RecordStore, LeavesOfALargeStoreComeFromAPoolThatIsReusedAndHandedBack) {
  constexpr int kColumns = 500, kCells = 600 * kColumns;  // rows of 48 bytes: about 15 MB
  const auto keyOf = [](int cell) { return Key{cell / kColumns, cell % kColumns}; };
  const long live = tvbtest::liveAllocations();
  {
    RecordStore scratch(2, 5);
    int opening = 0;  // the insert that maps the pool's first chunk
    for (size_t before = 0; scratch.memoryBytes() < before + kChunkBytes; ++opening) {
      before = scratch.memoryBytes();
      scratch.insert(keyOf(opening).data());
    }
    RecordStore store(2, 5);
    for (int c = 0; c < opening - 1; ++c) store.insert(keyOf(c).data());
    EXPECT_GE(failInsertUntilItSucceeds(store, keyOf(opening - 1), false), 2);
    EXPECT_GE(store.memoryBytes(), kChunkBytes);
  }
  EXPECT_EQ(tvbtest::liveAllocations(), live);

  std::mt19937 rng(19);
  std::vector<int> cells(kCells);
  std::iota(cells.begin(), cells.end(), 0);
  std::shuffle(cells.begin(), cells.end(), rng);
  const long withCells = tvbtest::liveAllocations();
  RecordStore store(2, 5);
  for (int c : cells) store.values(store.insert(keyOf(c).data()).first)[4] = c;
  ASSERT_EQ(fault(store), nullptr);
  const size_t full = store.memoryBytes();
  EXPECT_LT(full, 72.0 * kCells);

  std::shuffle(cells.begin(), cells.end(), rng);
  for (int round = 0; round < 2; ++round) {
    for (size_t i = 0; i < cells.size() * 3 / 4; ++i) store.erase(store.find(keyOf(cells[i]).data()));
    ASSERT_EQ(fault(store), nullptr);
    ASSERT_EQ(store.size(), kCells - kCells * 3 / 4);
    for (size_t i = 0; i < cells.size() * 3 / 4; ++i) {
      store.values(store.insert(keyOf(cells[i]).data()).first)[4] = cells[i];
    }
    ASSERT_EQ(fault(store), nullptr);
    EXPECT_LT(store.memoryBytes(), full + full / 4) << "round " << round;
  }
  int c = 0;
  for (Position p = store.first(); !p.isEnd(); p = store.next(p), ++c) {
    ASSERT_EQ(keyAt(store, p), keyOf(c));
    ASSERT_EQ(store.values(p)[4], c);
  }
  EXPECT_EQ(c, kCells);

  store.clear();
  EXPECT_EQ(store.memoryBytes(), 0u);
  EXPECT_EQ(tvbtest::liveAllocations(), withCells);
  for (int cell = 0; cell < kCells; ++cell) store.insert(keyOf(cell).data());
  ASSERT_EQ(fault(store), nullptr);
  EXPECT_EQ(store.size(), kCells);
}

// The separator above a leaf stays behind when the leaf's first record is erased; keys between it and the
// leaf's new first record then land at the front of that leaf, which here is full and has a left neighbour.
TEST(RecordStore, InsertAtTheFrontOfAFullLeafBehindAStaleSeparator) {
  std::mt19937 rng(13);
  RecordStore store(1, 1);
  Model model;
  for (int i = 0; i < 5000; ++i) insertBoth(store, model, {2 * i}, rng);
  Position p = store.find(Key{5000}.data());
  while (p.slot != 0) p = store.next(p);  // the first record of a leaf in the middle
  const int first = store.firstLabel(p);
  eraseBoth(store, model, p);
  insertBoth(store, model, {first + 1}, rng);  // fills the leaf again
  insertBoth(store, model, {first}, rng);
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
}

// The insert that splits every level: keys of dim 20 (small nodes) arriving at one end fill the nodes on that
// edge until the next key at that end, or (appending) one in the middle of full leaves whose neighbours are full
// as well, needs a new node on every level and a new root: four nodes for an append to three levels, three for
// a prepend to two. Each allocation of that insert fails cleanly in turn; erasing the key at the end takes the
// chain of new nodes, one child each, away again.
TEST(RecordStore, AnInsertThatSplitsEveryLevelIsAllOrNothing) {
  std::mt19937 rng(17);
  for (auto [step, nodes] : {std::pair{2, 4}, {-2, 3}}) {
    int count = 0;
    for (RecordStore scratch(20, 5);; ++count) {
      const long live = tvbtest::liveAllocations();
      scratch.insert(wideKey(step * count).data());
      if (tvbtest::liveAllocations() - live >= nodes) break;
    }
    std::vector<Key> keys = {wideKey(step * count)};
    if (step > 0) keys.push_back(wideKey(count | 1));
    for (const Key& key : keys) {
      const long live = tvbtest::liveAllocations();
      {
        RecordStore store(20, 5);
        Model model;
        for (int i = 0; i < count; ++i) insertBoth(store, model, wideKey(step * i), rng);
        const size_t memory = store.memoryBytes();
        EXPECT_EQ(failInsertUntilItSucceeds(store, key, true), nodes);
        model.emplace(key, std::vector<double>(5, 0.0));
        eraseBoth(store, model, store.find(key.data()));
        ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
        if (key == keys[0]) {
          EXPECT_EQ(store.memoryBytes(), memory);
        }
        for (int i = 0; i < 100; ++i) eraseBoth(store, model, store.first());
        ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
      }
      EXPECT_EQ(tvbtest::liveAllocations(), live);
    }
  }
}

}  // namespace
}  // namespace tvb
