// Memory shortage at every allocation of an array transfer: each failure is clean (the out-of-memory message,
// nothing leaked) and a refused write leaves the symbol as it was.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "arrays/array_fixture.h"
#include "support/allocation_failures.h"

namespace {

using ArrayOutOfMemory = ArrayTest;

// Fails allocation n = 0, 1, 2, ... of op() until op() succeeds; after each failure, unchanged() must hold.
// Returns the number of allocations that could fail.
long failEachAllocation(const std::string& message, const std::function<int()>& op,
                        const std::function<void(long)>& unchanged) {
  for (long n = 0; n < 1000; ++n) {
    testing::internal::CaptureStdout();  // the library also prints the message there
    const long live = tvbtest::liveAllocations();
    tvbtest::failAllocationAfter(n);
    const int rc = op();
    const bool injected = tvbtest::injectedFailure();
    tvbtest::stopFailing();
    const long leaked = tvbtest::liveAllocations() - live;
    const std::string printed = testing::internal::GetCapturedStdout();
    if (!injected) {
      EXPECT_EQ(1, rc);
      return n;
    }
    EXPECT_EQ(0, rc) << "allocation " << n;
    EXPECT_EQ(message + "\n", printed) << "allocation " << n;
    EXPECT_EQ(0, leaked) << "allocation " << n;
    unchanged(n);
  }
  ADD_FAILURE() << "never succeeded";
  return -1;
}

TEST_F(ArrayOutOfMemory, WritesFailCleanlyAndLeaveTheSymbolAsItWas) {
  // Enough cells to need several store nodes, so that node allocations fail too.
  std::vector<std::string> names;
  for (int k = 0; k < 40; ++k) names.push_back("r" + std::to_string(k));
  tvbSymbol* i = addSymbol("i", 1, TRV_DT_SET);
  for (auto& name : names) addAndFree(i, {name.c_str()});
  tvbSymbol* j = set("j", {"x", "y", "z"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"r1", "y"}, 7);
  put(p, {"r3", "z"}, 8);
  const std::map<std::string, double> before = contents(p);
  ASSERT_EQ(1, c__tvbstartwriterecording(db));

  tvbSymbol* domains[2] = {i, j};
  int extents[2] = {40, 3};
  std::vector<double> cube(120);
  for (size_t k = 0; k < cube.size(); ++k) cube[k] = k % 2 ? double(k) : 0.0;
  auto unchanged = [&](long n) {
    EXPECT_EQ(before, contents(p)) << "allocation " << n;
    EXPECT_EQ(0, intInfo(p, TRV_SYMINFO_WRITTEN)) << "allocation " << n;
  };
  EXPECT_GT(
      failEachAllocation(
          "Out of memory in tvbDenseArraySlicesToSymbol",
          [&] { return c__tvbdensearrayslicestosymbol(db, p, domains, domains, cube.data(), extents); }, unchanged),
      3);
  EXPECT_EQ(60, recordCount(p));  // the non-zero cells
  c__tvbstopwriterecording(db);
  c__tvbstartwriterecording(db);

  const std::map<std::string, double> sliced = contents(p);
  auto stillSliced = [&](long n) {
    EXPECT_EQ(sliced, contents(p)) << "allocation " << n;
    EXPECT_EQ(0, intInfo(p, TRV_SYMINFO_WRITTEN)) << "allocation " << n;
  };
  EXPECT_GT(failEachAllocation(
                "Out of memory in tvbDenseArrayToSymbol",
                [&] { return c__tvbdensearraytosymbol(db, p, domains, cube.data(), extents); }, stillSliced),
            3);
  EXPECT_EQ(120, recordCount(p));
  EXPECT_EQ(1, intInfo(p, TRV_SYMINFO_WRITTEN));
}

TEST_F(ArrayOutOfMemory, ReadsFailCleanly) {
  tvbSymbol* i = set("i", {"a", "b"});
  tvbSymbol* j = set("j", {"x", "y"});
  tvbSymbol* p = over("p", TRV_DT_PAR, {i, j});
  put(p, {"b", "x"}, 3);
  tvbSymbol* domains[2] = {i, j};
  int extents[2] = {2, 2};
  double cube[4];
  int dropped = 7;
  auto droppedUnset = [&](long n) { EXPECT_EQ(-1, dropped) << "allocation " << n; };
  EXPECT_GT(
      failEachAllocation(
          "Out of memory in tvbSparseSymbolToDenseArray",
          [&] { return c__tvbsparsesymboltodensearray(db, cube, extents, p, domains, 0, &dropped); }, droppedUnset),
      0);
  EXPECT_EQ(3, cube[2]);
  EXPECT_GT(failEachAllocation(
                "Out of memory in tvbSparseSymbolToSqzdArray",
                [&] { return c__tvbsparsesymboltosqzdarray(db, cube, extents, p, domains, domains, 0, &dropped); },
                droppedUnset),
            1);
  EXPECT_EQ(3, cube[2]);
}

}  // namespace
