// Every allocation of a write and of a read made to fail in turn: each failure must come out as a failed call or a
// logged error, never as a crash, a silent success or a leak. The scenarios allocate nothing themselves.
#include <string>

#include "support/allocation_failures.h"
#include "tvf_test_support.h"

namespace tvf_test {
namespace {

// The calls of a small write, out-of-order records and a checked domain included; true when every call
// succeeded and no error was logged.
bool WriteSmallFile(const char *path) {
  tvfHandle_t pt = nullptr;
  if (!XCreate(&pt)) return false;
  int err = 0, nr = 0, key[20] = {};
  double values[5] = {};
  bool ok = CtvfOpenWrite(pt, path, "alloc", &err);
  ok = tvfUELRegisterRawStart(pt) && ok;
  for (const char *l : {"a", "b", "c", "a-rather-long-label-that-does-not-fit-in-a-short-string"}) {
    ok = CtvfUELRegisterRaw(pt, l) && ok;
  }
  ok = tvfUELRegisterDone(pt) && ok;
  ok = CtvfAddSetText(pt, "a text long enough to need memory of its own", &nr) && ok;
  ok = CtvfDataWriteRawStart(pt, "i", "the set", 1, 0, 0) && ok;
  for (key[0] = 1; key[0] <= 3; ++key[0]) ok = tvfDataWriteRaw(pt, key, values) && ok;
  ok = tvfDataWriteDone(pt) && ok;
  ok = CtvfAddAlias(pt, "j", "i") && ok;
  ok = CtvfDataWriteRawStart(pt, "p", "", 2, 1, 0) && ok;
  const char *domain[2] = {"i", "*"};
  ok = CtvfSymbolSetDomain(pt, domain) && ok;
  for (int r = 0; r < 6; ++r) {
    key[0] = 3 - r % 3;  // out of order: collected and sorted
    key[1] = 1 + r / 3;
    values[0] = r;
    ok = tvfDataWriteRaw(pt, key, values) && ok;
  }
  const char *relaxed[2] = {"x", "y"};
  ok = tvfDataWriteDone(pt) && ok;
  ok = CtvfSymbolSetDomainX(pt, 3, relaxed) && ok;
  ok = tvfErrorCount(pt) == 0 && ok;
  ok = tvfClose(pt) && ok;
  XFree(&pt);
  return ok;
}

// Opens and reads everything of the file; true when all went well.
bool ReadSmallFile(const char *path) {
  tvfHandle_t pt = nullptr;
  if (!XCreate(&pt)) return false;
  int err = 0;
  char text[TVF_STRING_SIZE];
  bool ok = CtvfOpenRead(pt, path, &err);
  ok = ReadEverything(pt) && ok;
  ok = CtvfErrorStr(pt, 1, text) && ok;
  tvfClose(pt);
  XFree(&pt);
  return ok;
}

// The write comes first: its last attempt, in which nothing failed, leaves the file for the read.
TEST(AllocationFailures, EveryAllocationOfAWriteAndOfAReadFailsCleanly) {
  ScratchDir dir;
  const std::string path = dir.path("w.tvf");
  for (bool (*scenario)(const char *) : {WriteSmallFile, ReadSmallFile}) {
    const long allocations = tvbtest::failEachAllocation([&](long n) {
      tvbtest::failAllocationAfter(n);
      const bool ok = scenario(path.c_str());
      EXPECT_FALSE(ok && tvbtest::injectedFailure()) << "allocation " << n << " failed unnoticed";
      return ok ? 1 : 0;
    });
    EXPECT_GT(allocations, 0) << "the scenario allocates";
  }
}

}  // namespace
}  // namespace tvf_test
