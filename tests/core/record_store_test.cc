// The record store compared with an ordered map of key vectors under random inserts, lookups, walks and erases;
// its tree invariants after each kind of change; and its all-or-nothing inserts when allocations fail.
#include "core/record_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <memory>
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

enum class Order { kAscending, kDescending, kShuffled };

const char* fault(const RecordStore& store) { return RecordStoreTestAccess::structureFault(store); }

Key keyAt(const RecordStore& store, RecordStore::Position p) { return Key(store.key(p), store.key(p) + store.dim()); }

std::vector<double> valuesAt(const RecordStore& store, RecordStore::Position p) {
  return std::vector<double>(store.values(p), store.values(p) + store.valueCount());
}

// The store holds exactly the model's records, in the model's order both ways, and its tree is well formed.
void expectSameRecords(const RecordStore& store, const Model& model) {
  ASSERT_EQ(fault(store), nullptr);
  ASSERT_EQ(store.size(), static_cast<int64_t>(model.size()));
  ASSERT_EQ(store.empty(), model.empty());
  RecordStore::Position p = store.first();
  for (const auto& [key, values] : model) {
    ASSERT_FALSE(p.isEnd());
    ASSERT_EQ(keyAt(store, p), key);
    ASSERT_EQ(valuesAt(store, p), values);
    p = store.next(p);
  }
  EXPECT_TRUE(p.isEnd());
  p = store.last();
  for (auto it = model.rbegin(); it != model.rend(); ++it) {
    ASSERT_FALSE(p.isEnd());
    ASSERT_EQ(keyAt(store, p), it->first);
    p = store.prev(p);
  }
  EXPECT_TRUE(p.isEnd());
}

Key wideKey(int n) {
  Key key(20, 0);
  key[0] = n;
  return key;
}

// Keys spread over negative and positive numbers, the extremes included, dense enough that random keys often
// hit stored ones.
Key randomKey(std::mt19937& rng, int dim) {
  const int range = dim == 1 ? 1000000 : 50;
  std::uniform_int_distribution<int> number(-range, range);
  std::uniform_int_distribution<int> extreme(0, 49);
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

// Inserts key into both, checking what insert reports, and gives the record random values.
void insertBoth(RecordStore& store, Model& model, const Key& key, std::mt19937& rng) {
  const uint64_t version = store.version();
  auto [p, inserted] = store.insert(key.data());
  ASSERT_FALSE(p.isEnd());
  ASSERT_EQ(keyAt(store, p), key);
  auto found = model.find(key);
  if (found != model.end()) {
    ASSERT_FALSE(inserted);
    ASSERT_EQ(valuesAt(store, p), found->second);
    ASSERT_EQ(store.version(), version);
    return;
  }
  ASSERT_TRUE(inserted);
  ASSERT_EQ(store.version(), version + 1);
  ASSERT_EQ(valuesAt(store, p), std::vector<double>(store.valueCount(), 0.0));
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  std::vector<double> values(store.valueCount());
  for (double& v : values) v = value(rng);
  std::copy(values.begin(), values.end(), store.values(p));
  model.emplace(key, values);
}

// Erases the record at p from both; the position returned must be that of the record that followed.
RecordStore::Position eraseBoth(RecordStore& store, Model& model, RecordStore::Position p) {
  const Key key = keyAt(store, p);
  const uint64_t version = store.version();
  const RecordStore::Position following = store.erase(p);
  EXPECT_EQ(store.version(), version + 1);
  auto after = model.upper_bound(key);
  if (after == model.end()) {
    EXPECT_TRUE(following.isEnd());
  } else if (!following.isEnd()) {
    EXPECT_EQ(keyAt(store, following), after->first);
    EXPECT_EQ(valuesAt(store, following), after->second);
  } else {
    ADD_FAILURE() << "erase returned end() before the last record";
  }
  model.erase(key);
  return following;
}

class RecordStoreCompared : public ::testing::TestWithParam<std::tuple<int, int, Order>> {};

TEST_P(RecordStoreCompared, InsertFindWalkAndEraseMatchAnOrderedMap) {
  const auto [dim, valueCount, order] = GetParam();
  std::mt19937 rng(dim * 100 + valueCount * 10 + static_cast<int>(order));
  RecordStore store(dim, valueCount);
  Model model;

  const std::vector<Key> keys = distinctKeys(rng, dim, 3000, order);
  for (const Key& key : keys) ASSERT_NO_FATAL_FAILURE(insertBoth(store, model, key, rng));
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));

  // Inserting present keys finds them and changes nothing; absent keys are not found.
  for (int i = 0; i < 2000; ++i) {
    const Key key = i % 2 == 0 ? keys[i % keys.size()] : randomKey(rng, dim);
    const RecordStore::Position p = store.find(key.data());
    auto it = model.find(key);
    if (it == model.end()) {
      ASSERT_TRUE(p.isEnd());
    } else {
      ASSERT_FALSE(p.isEnd());
      ASSERT_EQ(keyAt(store, p), key);
      ASSERT_EQ(valuesAt(store, p), it->second);
    }
    ASSERT_NO_FATAL_FAILURE(insertBoth(store, model, key, rng));
  }
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));

  // Erase a third at random positions.
  std::vector<Key> present;
  for (const auto& entry : model) present.push_back(entry.first);
  std::shuffle(present.begin(), present.end(), rng);
  for (size_t i = 0; i < present.size() / 3; ++i) {
    const RecordStore::Position p = store.find(present[i].data());
    ASSERT_FALSE(p.isEnd());
    eraseBoth(store, model, p);
  }
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));

  // Erase about half of the rest during a forward walk, continuing from the position erase returns.
  std::bernoulli_distribution drop(0.5);
  RecordStore::Position p = store.first();
  auto expected = model.begin();
  while (!p.isEnd()) {
    ASSERT_NE(expected, model.end());
    ASSERT_EQ(keyAt(store, p), expected->first);
    if (drop(rng)) {
      ++expected;
      p = eraseBoth(store, model, p);
    } else {
      ++expected;
      p = store.next(p);
    }
  }
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));

  // Erase the rest from the back; an empty store holds no memory.
  while (!store.empty()) eraseBoth(store, model, store.last());
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
  EXPECT_TRUE(store.first().isEnd());
  EXPECT_TRUE(store.last().isEnd());
  EXPECT_EQ(store.memoryBytes(), 0u);

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

TEST(RecordStore, MixedInsertsAndErasesKeepTheTreeWellFormed) {
  std::mt19937 rng(7);
  for (int dim : {1, 2}) {
    RecordStore store(dim, 1);
    Model model;
    // A small key space, so that the store grows and shrinks through many splits, merges and refills.
    std::uniform_int_distribution<int> number(-60, 60);
    std::uniform_int_distribution<int> action(0, 99);
    for (int step = 0; step < 60000; ++step) {
      Key key(dim);
      for (int& k : key) k = dim == 1 ? number(rng) * 50 + number(rng) : number(rng);
      // Phases that mostly insert and mostly erase, so that the tree also shrinks by levels.
      const int insertPercent = (step / 10000) % 2 == 0 ? 70 : 30;
      if (action(rng) < insertPercent) {
        ASSERT_NO_FATAL_FAILURE(insertBoth(store, model, key, rng));
      } else {
        const RecordStore::Position p = store.find(key.data());
        ASSERT_EQ(p.isEnd(), model.count(key) == 0);
        if (!p.isEnd()) eraseBoth(store, model, p);
      }
      if (step % 2000 == 0) {
        ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
      }
    }
    ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
  }
}

TEST(RecordStore, ClearRemovesEverythingAndTheStoreIsReusable) {
  std::mt19937 rng(3);
  RecordStore store(2, 5);
  Model model;
  for (const Key& key : distinctKeys(rng, 2, 5000, Order::kShuffled)) insertBoth(store, model, key, rng);
  const uint64_t version = store.version();
  store.clear();
  model.clear();
  EXPECT_EQ(store.version(), version + 1);
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
  EXPECT_EQ(store.memoryBytes(), 0u);
  store.clear();
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
  for (const Key& key : distinctKeys(rng, 2, 500, Order::kAscending)) insertBoth(store, model, key, rng);
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
}

TEST(RecordStore, VersionAdvancesOnStructuralChangesOnly) {
  RecordStore store(2, 1);
  const int a[] = {1, 2};
  const int b[] = {1, 3};
  const uint64_t start = store.version();
  auto [p, inserted] = store.insert(a);
  EXPECT_EQ(store.version(), start + 1);
  store.values(p)[0] = 4.5;  // values are not structure
  store.insert(a);           // present: no change
  store.find(b);
  EXPECT_EQ(store.version(), start + 1);
  store.insert(b);
  EXPECT_EQ(store.version(), start + 2);
  store.erase(store.find(a));
  EXPECT_EQ(store.version(), start + 3);
  store.clear();
  EXPECT_EQ(store.version(), start + 4);
}

TEST(RecordStore, ScalarHoldsAtMostOneRecordWithTheEmptyKey) {
  RecordStore store(0, 5);
  EXPECT_TRUE(store.find(nullptr).isEnd());
  auto [p, inserted] = store.insert(nullptr);
  EXPECT_TRUE(inserted);
  store.values(p)[4] = 1.5;
  auto [again, insertedAgain] = store.insert(nullptr);
  EXPECT_FALSE(insertedAgain);
  EXPECT_EQ(again, p);
  EXPECT_EQ(store.values(again)[4], 1.5);
  EXPECT_EQ(store.size(), 1);
  EXPECT_EQ(store.find(nullptr), p);
  EXPECT_EQ(store.first(), store.last());
  EXPECT_TRUE(store.next(p).isEnd());
  EXPECT_TRUE(store.prev(p).isEnd());
  // Many symbols are scalars: one does not hold a whole node.
  EXPECT_LE(store.memoryBytes(), 128u);
  EXPECT_TRUE(store.erase(p).isEnd());
  EXPECT_TRUE(store.empty());
}

TEST(RecordStore, KeysOrderAsSignedNumbersFirstPositionMostSignificant) {
  RecordStore store(2, 1);
  const std::vector<Key> inOrder = {{INT_MIN, 5}, {-7, INT_MAX}, {-1, -1}, {0, INT_MIN}, {0, 0}, {3, -2}, {INT_MAX, 0}};
  for (int i : {4, 0, 6, 2, 5, 1, 3}) store.insert(inOrder[i].data());
  std::vector<Key> walked;
  for (RecordStore::Position p = store.first(); !p.isEnd(); p = store.next(p)) walked.push_back(keyAt(store, p));
  EXPECT_EQ(walked, inOrder);
}

// Large stores have several inner levels. Keys (i, j) of a grid, each record's value telling its key, so that
// the check needs no second map of this size.
TEST(RecordStore, LargeStoresWithSeveralLevels) {
  constexpr int kRows = 500;
  constexpr int kColumns = 400;
  std::mt19937 rng(11);
  for (Order order : {Order::kAscending, Order::kShuffled}) {
    RecordStore store(2, 1);
    std::vector<int> cells(kRows * kColumns);  // cell c is key (c / kColumns, c % kColumns)
    for (int c = 0; c < kRows * kColumns; ++c) cells[c] = c;
    if (order == Order::kShuffled) std::shuffle(cells.begin(), cells.end(), rng);
    for (int c : cells) {
      const int key[] = {c / kColumns, c % kColumns};
      auto [p, inserted] = store.insert(key);
      ASSERT_TRUE(inserted);
      store.values(p)[0] = c;
    }
    ASSERT_EQ(fault(store), nullptr);
    ASSERT_EQ(store.size(), kRows * kColumns);
    // Ascending keys fill every leaf; a leaf holds a 16-byte row per record plus a small header.
    if (order == Order::kAscending) {
      EXPECT_LT(store.memoryBytes(), 16.5 * store.size());
    }
    // Shuffled keys leave room in the leaves, but neighbours share records before a leaf splits.
    EXPECT_LT(store.memoryBytes(), 22.0 * store.size());

    // Erase three quarters in random order; erase must return the next cell still present.
    std::vector<bool> present(kRows * kColumns, true);
    std::shuffle(cells.begin(), cells.end(), rng);
    for (size_t i = 0; i < cells.size() * 3 / 4; ++i) {
      const int c = cells[i];
      const int key[] = {c / kColumns, c % kColumns};
      const RecordStore::Position following = store.erase(store.find(key));
      present[c] = false;
      int next = c + 1;
      while (next < kRows * kColumns && !present[next]) ++next;
      if (next == kRows * kColumns) {
        ASSERT_TRUE(following.isEnd());
      } else {
        ASSERT_FALSE(following.isEnd());
        ASSERT_EQ(store.values(following)[0], next);
      }
    }
    ASSERT_EQ(fault(store), nullptr);
    int c = -1;
    for (RecordStore::Position p = store.first(); !p.isEnd(); p = store.next(p)) {
      do ++c;
      while (!present[c]);
      ASSERT_EQ(store.key(p)[0] * kColumns + store.key(p)[1], c);
      ASSERT_EQ(store.values(p)[0], c);
    }
    ASSERT_EQ(store.size(), static_cast<int64_t>(std::count(present.begin(), present.end(), true)));
  }
  // A dim-20 row gives small nodes and so the most levels per record.
  RecordStore wide(20, 5);
  Model model;
  for (const Key& key : distinctKeys(rng, 20, 20000, Order::kShuffled)) insertBoth(wide, model, key, rng);
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(wide, model));
}

// The separator above a leaf stays behind when the leaf's first record is erased; keys between it and the
// leaf's new first record then land at the front of that leaf, which here is full and has a left neighbour.
TEST(RecordStore, InsertAtTheFrontOfAFullLeafBehindAStaleSeparator) {
  std::mt19937 rng(13);
  RecordStore store(1, 1);
  Model model;
  for (int i = 0; i < 5000; ++i) insertBoth(store, model, {2 * i}, rng);
  RecordStore::Position p = store.find(Key{5000}.data());
  while (p.slot != 0) p = store.next(p);  // the first record of a leaf in the middle
  const int first = store.key(p)[0];
  eraseBoth(store, model, p);
  insertBoth(store, model, {first + 1}, rng);  // fills the leaf again
  insertBoth(store, model, {first}, rng);
  ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
}

// An append that made the tree taller leaves a chain of nodes with one child each; erasing that record takes
// the whole chain away again. Likewise for descending keys at the front.
TEST(RecordStore, ErasingTheInsertThatGrewTheTreeShrinksItBack) {
  std::mt19937 rng(17);
  for (bool ascending : {true, false}) {
    RecordStore store(20, 5);
    Model model;
    size_t memory = 0;
    for (int i = 0;; ++i) {
      memory = store.memoryBytes();
      const Key key = wideKey(ascending ? i : -i);
      const long live = tvbtest::liveAllocations();
      store.insert(key.data());
      const long added = tvbtest::liveAllocations() - live;
      model.emplace(key, std::vector<double>(5, 0.0));
      if (added >= 3) break;  // a leaf, an inner node and a root
    }
    eraseBoth(store, model, ascending ? store.last() : store.first());
    ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
    EXPECT_EQ(store.memoryBytes(), memory);
    for (int i = 0; i < 100; ++i) eraseBoth(store, model, store.find(model.begin()->first.data()));
    ASSERT_NO_FATAL_FAILURE(expectSameRecords(store, model));
  }
}

// ---- Failing allocations

std::vector<std::pair<Key, std::vector<double>>> contents(const RecordStore& store) {
  std::vector<std::pair<Key, std::vector<double>>> all;
  for (RecordStore::Position p = store.first(); !p.isEnd(); p = store.next(p)) {
    all.emplace_back(keyAt(store, p), valuesAt(store, p));
  }
  return all;
}

// Records (keys 2i for i < count) after which the next append needs the most new nodes: every node on the right
// edge is full, so the append splits all levels and adds a root.
int recordsBeforeDeepestSplit(int neededNodes) {
  RecordStore store(20, 5);
  for (int i = 0;; ++i) {
    const long before = tvbtest::liveAllocations();
    store.insert(wideKey(2 * i).data());
    if (tvbtest::liveAllocations() - before >= neededNodes) return i;
  }
}

// Fails allocation 0, 1, 2, ... of inserting key until the insert goes through; each failure must leave the
// store exactly as it was. Returns the number of failures.
long failInsertUntilItSucceeds(RecordStore& store, const Key& key) {
  const auto before = contents(store);
  const uint64_t version = store.version();
  const size_t memory = store.memoryBytes();
  for (long n = 0;; ++n) {
    bool threw = false;
    tvbtest::failAllocationAfter(n);
    try {
      store.insert(key.data());
    } catch (const std::bad_alloc&) {
      threw = true;
    }
    tvbtest::stopFailing();
    if (!threw) return n;
    EXPECT_EQ(fault(store), nullptr);
    EXPECT_EQ(store.version(), version);
    EXPECT_EQ(store.memoryBytes(), memory);
    EXPECT_TRUE(store.find(key.data()).isEnd());
    EXPECT_TRUE(contents(store) == before) << "allocation " << n;
    if (n > 10) {
      ADD_FAILURE() << "insert keeps failing";
      return n;
    }
  }
}

TEST(RecordStoreFailingAllocations, InsertThatSplitsEveryLevelFailsCleanly) {
  // Four new nodes: a leaf, an inner node on each of two levels, and a root.
  const int count = recordsBeforeDeepestSplit(4);
  for (bool append : {true, false}) {
    const long live = tvbtest::liveAllocations();
    {
      RecordStore store(20, 5);
      for (int i = 0; i < count; ++i) store.insert(wideKey(2 * i).data());
      // Appending, or inserting in the middle of full leaves whose neighbours are full as well.
      const Key key = append ? wideKey(2 * count) : wideKey(count | 1);
      EXPECT_EQ(failInsertUntilItSucceeds(store, key), 4);
      EXPECT_FALSE(store.find(key.data()).isEnd());
      EXPECT_EQ(fault(store), nullptr);
      EXPECT_EQ(store.size(), count + 1);
    }
    EXPECT_EQ(tvbtest::liveAllocations(), live);
  }
}

TEST(RecordStoreFailingAllocations, EveryInsertOfAGrowingStoreFailsCleanly) {
  std::mt19937 rng(5);
  for (Order order : {Order::kAscending, Order::kDescending, Order::kShuffled}) {
    const long live = tvbtest::liveAllocations();
    {
      RecordStore store(2, 1);
      const std::vector<Key> keys = distinctKeys(rng, 2, 1500, order);
      for (const Key& key : keys) {
        const int64_t size = store.size();
        tvbtest::failAllocationAfter(0);
        try {
          store.insert(key.data());
        } catch (const std::bad_alloc&) {
          ASSERT_EQ(store.size(), size);
          ASSERT_EQ(fault(store), nullptr);
        }
        tvbtest::stopFailing();
        store.insert(key.data());
      }
      ASSERT_EQ(store.size(), static_cast<int64_t>(keys.size()));
      ASSERT_EQ(fault(store), nullptr);
    }
    EXPECT_EQ(tvbtest::liveAllocations(), live);
  }
}

}  // namespace
}  // namespace tvb

namespace tvb {
namespace {

// Sorted data mostly arrives in order, with the odd key out of order or repeated; the inline append must
// take exactly the keys above every stored key and leave the rest to the general insertion.
TEST(RecordStore, AppendTakesOnlyKeysAboveEveryStoredKey) {
  std::mt19937 rng(11);
  for (int dim : {1, 2, 3}) {
    RecordStore store(dim, 5);
    Model model;
    std::uniform_int_distribution<int> step(0, 3), label(-50, 50);
    Key key(dim, 0);
    for (int i = 0; i < 20000; ++i) {
      Key next = key;
      if (i % 97 == 0) {
        for (int& k : next) k = label(rng);  // anywhere, perhaps below or equal to the last key
      } else {
        next[dim - 1] += step(rng);  // usually above the last key, sometimes equal
      }
      const bool above = model.empty() || next > model.rbegin()->first;
      const uint64_t version = store.version();
      double* values = store.appendIfLast(next.data());
      if (values == nullptr) {
        insertBoth(store, model, next, rng);
      } else {
        ASSERT_TRUE(above);
        ASSERT_EQ(store.version(), version + 1);
        std::vector<double> written(5, double(i));
        std::copy(written.begin(), written.end(), values);
        model.emplace(next, written);
      }
      key = next;
    }
    expectSameRecords(store, model);
  }
}

}  // namespace
}  // namespace tvb
