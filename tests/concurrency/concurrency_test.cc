// Separate databases used from several threads at once, and the first load of the external libraries raced from
// several threads; CI runs this suite under ThreadSanitizer. Each scenario runs in a fresh child process, so
// that the libraries are first loaded there, by the racing threads.
#include <dlfcn.h>

#include <functional>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "exchange/exchange_support.h"
#include "fakes/fake_library.h"
#include "loaders/cfgmcc.h"
#include "loaders/dctmcc.h"
#include "loaders/tvhmcc.h"
#include "loaders/tvpmcc.h"

namespace {

using exchange_test::Database;
using exchange_test::dump;
using Strings = std::vector<std::string>;

constexpr int kThreads = 4;

// Runs body(t) for t = 0 to kThreads - 1, each on a thread of its own, all starting at once.
void RunTogether(const std::function<void(int t)>& body) {
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      body(t);
    });
  }
  for (std::thread& thread : threads) thread.join();
}

// A store large enough to take its leaves from the process's shared cache of memory chunks, which it hands
// back when the database goes; some of its records found again by labels.
void FillAndDropALargeStore() {
  constexpr int kRows = 1000, kColumns = 600;
  Database db;
  tvbSymbol* p = db.add("p", 2, TRV_DT_PAR);
  int key[GLOBAL_MAX_INDEX_DIM] = {};
  for (int i = 1; i <= kRows; ++i) {
    ASSERT_EQ(1, c__tvbmergeuel(db, ("l" + std::to_string(i)).c_str(), &key[0])) << db.lastError();
  }
  double values[5] = {};
  for (key[0] = 1; key[0] <= kRows; ++key[0]) {
    for (key[1] = 1; key[1] <= kColumns; ++key[1]) {
      values[0] = key[0] + key[1] * 1e-3;
      ASSERT_EQ(1, c__tvbaddrecordraw(db, p, key, values, "")) << db.lastError();
    }
  }
  EXPECT_EQ(kRows * kColumns, exchange_test::info(db, p, TRV_SYMINFO_RECORD_COUNT));
  for (int i = 1; i <= kColumns; i += 7) {
    const std::string row = "l" + std::to_string(kRows + 1 - i), column = "l" + std::to_string(i);
    const char* labels[2] = {row.c_str(), column.c_str()};
    tvbRecordHandle* rec = nullptr;
    ASSERT_EQ(1, c__tvbfindrecord(db, p, labels, &rec)) << db.lastError();
    c__tvbfreesymboliterator(db, rec);
  }
}

// Records, reads of one file and writes of their own.
TEST(SeparateDatabases, WorkFromSeveralThreadsAtOnce) {
  EXPECT_PASSES_IN_CHILD([] {
    exchange_test::ScratchDir dir;
    const std::string shared = dir.path("shared.tvf");
    Strings expected;
    {
      Database source;
      tvbSymbol* i = source.add("i", 1, TRV_DT_SET);
      tvbSymbol* d = source.add("d", 2, TRV_DT_PAR);
      tvbSymbol* x = source.add("x", 1, TRV_DT_VAR, TRV_VAR_POSITIVE);
      for (int a = 0; a < 40; ++a) {
        const std::string label = "a" + std::to_string(a);
        source.record(i, {label.c_str()}, {1}, ("text " + label).c_str());
        source.record(x, {label.c_str()}, {a * 0.5, 1, 0, 3e300, 1});
        for (int b = 0; b < 40; b += 3)
          source.record(d, {label.c_str(), ("a" + std::to_string(b)).c_str()}, {a + b + 0.0});
      }
      ASSERT_EQ(1, c__tvbwritetvf(source, shared.c_str(), 0)) << source.lastError();
      expected = dump(source);
    }
    RunTogether([&](int t) {
      FillAndDropALargeStore();
      Database reader, copy;
      ASSERT_EQ(1, c__tvbinitfromtvf(reader, shared.c_str())) << reader.lastError();
      EXPECT_EQ(expected, dump(reader));
      const std::string own = dir.path("own" + std::to_string(t) + ".tvf");
      ASSERT_EQ(1, c__tvbwritetvf(reader, own.c_str(), 0)) << reader.lastError();
      ASSERT_EQ(1, c__tvbinitfromtvf(copy, own.c_str())) << copy.lastError();
      EXPECT_EQ(expected, dump(copy));
    });
  });
}

// The four model libraries of one file loaded at once, one per thread, and then readied by every thread: each
// is loaded once, and none is called before the file's initialisers have run. Then the TVF library is loaded
// by the first of several databases made at once.
TEST(FirstLoad, RacedFromSeveralThreadsLoadsEachLibraryOnce) {
  EXPECT_PASSES_IN_CHILD([] {
    exchange_test::ScratchDir dir;
    const std::string fakes = std::string(TVB_FAKE_LIBRARIES) + "/rundd_complete";
    using Ready = bool (*)(const char*, char*, int);
    // The fake counts the objects it makes without a lock: only the thread that loads cfg makes one.
    const Ready readies[kThreads] = {tvb::tvp::tvpGetReadyD, tvb::tvh::tvhGetReadyD, tvb::dct::dctGetReadyD,
                                     [](const char* dir, char* msg, int size) {
                                       cfgHandle_t cfg = nullptr;
                                       const bool made = tvb::cfg::cfgCreateD(&cfg, dir, msg, size);
                                       tvb::cfg::cfgFree(&cfg);
                                       return made;
                                     }};
    RunTogether([&](int t) {
      char msg[256];
      EXPECT_TRUE(readies[t](fakes.c_str(), msg, sizeof msg)) << msg;
      for (int n = 0; n < 3; ++n) EXPECT_TRUE(readies[n](fakes.c_str(), msg, sizeof msg)) << msg;
      Database db;
      EXPECT_EQ("", db.lastError());
      EXPECT_EQ(1, c__tvbwritetvf(db, dir.path("empty" + std::to_string(t) + ".tvf").c_str(), 0)) << db.lastError();
    });
    void* module = dlopen((fakes + "/librunddclib.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(nullptr, module);
    const auto state = reinterpret_cast<FakeState* (*)(const char*)>(dlsym(module, "fakeState"));
    for (const char* library : {"tvp", "tvh", "dct", "cfg"}) EXPECT_EQ(1, state(library)->versionCalls) << library;
  });
}

}  // namespace
