// Loading the TVF library and creating its objects: the library's file name, every operation bound once,
// entry names in three spellings, loads that fail (and leave the library unloaded, its file open, for the
// next call to try again) and operations that the library does not have. Against fake libraries built from
// the same operation table, and against the real library of this build. A scenario that loads something runs
// in a fresh child process, since a loaded library stays loaded.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "child_process.h"
#include "fake_libraries.h"
#include "loaders/dctmcc.h"
#include "loaders/tvfcc.h"

namespace tvb {
namespace {

using testing::CreateTvf;
using testing::ExpectEndsForAMissingOperation;
using testing::FakeDirectory;
using ::testing::HasSubstr;
using testing::LoadedModule;
using ::testing::StartsWith;
using testing::StateOfLoadedFake;

constexpr const char* kFile = "libtvfdclib.so";

// Every slot holds the module's entry of the operation's lookup name.
void ExpectEveryOperationBoundTo(void* module) {
#define TVF_OP(name, lookup, ...) EXPECT_EQ(reinterpret_cast<void*>(tvf::ops.name), dlsym(module, #lookup)) << #name;
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP
}

// A failed load changes nothing, so these run in the test process itself.
std::string TvfLoadFailure(const char* dir) {
  char msg[2048] = "";
  tvfHandle_t pt = reinterpret_cast<tvfHandle_t>(&msg);  // any non-null value: a failure must clear it
  EXPECT_FALSE(dir != nullptr ? tvf::tvfCreateD(&pt, dir, msg, sizeof msg) : tvf::tvfCreate(&pt, msg, sizeof msg));
  EXPECT_EQ(pt, nullptr);
  EXPECT_FALSE(tvf::Loader().IsLoaded());
  return msg;
}

TEST(LibraryFileName, IsTheDirectoryAndExactlyOneSlashOrTheBareNameLeftToTheSearch) {
  EXPECT_EQ(TvfLoadFailure("/no/such/dir"),
            "Could not load shared library /no/such/dir/libtvfdclib.so: /no/such/dir/libtvfdclib.so: cannot open "
            "shared object file: No such file or directory");
  const std::string overlong = "/" + std::string(600, 'd');
  const std::pair<const char*, std::string> cases[] = {{"/no/such/dir/", "/no/such/dir/libtvfdclib.so"},
                                                       {nullptr, "libtvfdclib.so"},
                                                       {"", "libtvfdclib.so"},
                                                       {overlong.c_str(), overlong.substr(0, 511)}};  // cut
  for (const auto& [dir, file] : cases) {
    EXPECT_THAT(TvfLoadFailure(dir), StartsWith("Could not load shared library " + file + ": "))
        << (dir != nullptr ? dir : "no directory");
  }
}

TEST(LoadFailureMessage, IsCutToTheCallersBufferAndNotWrittenWithoutOne) {
  char msg[32];
  std::memset(msg, 'x', sizeof msg);
  tvfHandle_t pt = nullptr;
  EXPECT_FALSE(tvf::tvfCreateD(&pt, "/no/such/dir", msg, 10));
  EXPECT_STREQ(msg, "Could not");
  EXPECT_EQ(msg[10], 'x');
  std::strcpy(msg, "intact");
  EXPECT_FALSE(tvf::tvfCreateD(&pt, "/no/such/dir", msg, 0));
  EXPECT_STREQ(msg, "intact");
  EXPECT_FALSE(tvf::tvfCreateD(&pt, "/no/such/dir", nullptr, 256));
}

TEST(TvfLoader, BindsEveryOperationInOneLoadAndTellsTheLibraryItsDirectoryAsGiven) {
  for (const std::string suffix : {"", "/"}) {
    EXPECT_PASSES_IN_CHILD([&] {
      // A copy that can be deleted after the first load: later creates must not need the file.
      char dirTemplate[] = "/tmp/tvb-loader-XXXXXX";
      ASSERT_NE(mkdtemp(dirTemplate), nullptr);
      const std::string dir = dirTemplate;
      std::filesystem::copy_file(FakeDirectory("tvf_complete") + "/" + kFile, dir + "/" + kFile);
      tvfHandle_t first = nullptr;
      tvfHandle_t second = nullptr;
      char msg[256] = "not cleared";
      ASSERT_TRUE(tvf::tvfCreateD(&first, (dir + suffix).c_str(), msg, sizeof msg)) << msg;
      EXPECT_STREQ(msg, "");
      ASSERT_NE(first, nullptr);
      EXPECT_TRUE(tvf::Loader().IsLoaded());
      ExpectEveryOperationBoundTo(LoadedModule(dir, kFile));
      FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
      EXPECT_EQ(state->checkCalls, 30);  // one per operation of the table
      EXPECT_EQ(state->loadPath, dir + suffix);
      std::filesystem::remove_all(dir);

      ASSERT_TRUE(tvf::tvfCreateD(&second, dir.c_str(), msg, sizeof msg)) << msg;
      EXPECT_NE(second, first);
      EXPECT_EQ(state->versionCalls, 1);
      EXPECT_EQ(state->checkCalls, 30);
      EXPECT_EQ(state->createCalls, 2);
      int errNr = -1;
      EXPECT_EQ(tvf::ops.tvfOpenRead(second, "file.tvf", &errNr), 1);
      EXPECT_STREQ(state->lastCall, "tvfOpenRead");
      EXPECT_EQ(state->lastObject, second);
      EXPECT_TRUE(tvf::tvfFree(&second));
      EXPECT_EQ(second, nullptr);
      EXPECT_EQ(state->freeCalls, 1);
      tvf::tvfFree(&first);

      // A library that yields no object fails the create.
      state->createYieldsNothing = 1;
      EXPECT_FALSE(tvf::tvfCreateD(&first, dir.c_str(), msg, sizeof msg));
      EXPECT_EQ(first, nullptr);
      EXPECT_STREQ(msg, "Error while creating object");
      EXPECT_FALSE(tvf::tvfCreate(&first, msg, 6));
      EXPECT_STREQ(msg, "Error");
    });
  }
}

// A second create that starts while the first load is under way (inside the library's version entry).
struct SecondCreate {
  std::thread thread;
  std::atomic<bool> started{false};
  tvfHandle_t object = nullptr;
  bool created = false;
} secondCreate;

void StartSecondCreate() {
  secondCreate.thread = std::thread([] {
    secondCreate.started = true;
    char msg[256];
    secondCreate.created = tvf::tvfCreateD(&secondCreate.object, FakeDirectory("tvf_complete").c_str(), msg, 256);
  });
  while (!secondCreate.started) std::this_thread::yield();
}

TEST(TvfLoader, CreateDuringTheFirstLoadWaitsForItAndLoadsNothing) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_complete");
    // Opened here only to reach the fake before the first load; the loader's open finds the same module.
    ASSERT_NE(dlopen((dir + "/" + kFile).c_str(), RTLD_NOW), nullptr);
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    state->duringVersionCall = StartSecondCreate;
    tvfHandle_t first = CreateTvf(dir);
    secondCreate.thread.join();
    EXPECT_TRUE(secondCreate.created);
    EXPECT_EQ(state->versionCalls, 1);
    EXPECT_EQ(state->createCalls, 2);
    tvf::tvfFree(&first);
    tvf::tvfFree(&secondCreate.object);
  });
}

#ifdef TVB_TVF_LIBRARY_DIR
TEST(TvfLoader, BindsEveryOperationToTheRealLibraryOfThisBuild) {
  EXPECT_PASSES_IN_CHILD([] {
    tvfHandle_t pt = CreateTvf(TVB_TVF_LIBRARY_DIR);
    ASSERT_NE(pt, nullptr);
    void* module = LoadedModule(TVB_TVF_LIBRARY_DIR, kFile);
    ASSERT_NE(module, nullptr);
    ExpectEveryOperationBoundTo(module);
    EXPECT_EQ(tvf::ops.tvfErrorCount(pt), 0);
    char loadPath[256] = "";
    reinterpret_cast<int (*)(char*)>(dlsym(module, "CtvfGetLoadPath"))(loadPath);
    EXPECT_STREQ(loadPath, TVB_TVF_LIBRARY_DIR);
    EXPECT_TRUE(tvf::tvfFree(&pt));
    EXPECT_EQ(pt, nullptr);
  });
}
#endif

TEST(EntryNames, FirstSpellingFoundOfLowerAsWrittenUpperIsBound) {
  EXPECT_PASSES_IN_CHILD([] {
    // The mandatory entries exist only in upper case: loading at all needs the third try.
    tvfHandle_t pt = CreateTvf(FakeDirectory("tvf_entry_names"));
    ASSERT_NE(pt, nullptr);
    EXPECT_EQ(tvf::ops.tvfErrorCount(pt), 1);    // lower case wins over the other two
    EXPECT_EQ(tvf::ops.tvfGetLastError(pt), 2);  // as written wins over upper case
    EXPECT_EQ(tvf::ops.tvfClose(pt), 3);         // only in upper case
    EXPECT_TRUE(tvf::tvfFree(&pt));
    EXPECT_EQ(pt, nullptr);
  });
}

TEST(LoadFailure, MissingMandatoryEntryFailsTheLoadBeforeTheHandshake) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_without_free");
    tvfHandle_t pt = nullptr;
    char msg[1024];
    EXPECT_FALSE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg));
    EXPECT_THAT(msg, StartsWith("Could not load symbol 'XFree': "));
    EXPECT_EQ(pt, nullptr);
    EXPECT_FALSE(tvf::Loader().IsLoaded());
    EXPECT_EQ(StateOfLoadedFake(dir, kFile, "tvf")->versionCalls, 0);
  });
}

TEST(LoadFailure, RefusedApiVersionFailsWithTheLibrarysOwnMessage) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_refusing_api");
    tvfHandle_t pt = nullptr;
    char msg[256];
    EXPECT_FALSE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg));
    EXPECT_STREQ(msg, "fake tvfdclib: API version 7 refused");
    EXPECT_FALSE(tvf::Loader().IsLoaded());
    EXPECT_FALSE(tvf::tvfCreateD(&pt, dir.c_str(), msg, 11));
    EXPECT_STREQ(msg, "fake tvfdc");
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    EXPECT_EQ(state->versionCalls, 2);
    EXPECT_EQ(state->checkCalls, 0);
    EXPECT_EQ(state->createCalls, 0);
  });
}

TEST(LoadFailure, ClaimedButUnexportedEntryFailsTheWholeLoadUntilARetrySucceeds) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_withholding_open_read");
    tvfHandle_t pt = nullptr;
    char msg[1024];
    EXPECT_FALSE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg));
    EXPECT_THAT(msg, StartsWith("Could not load symbol 'CtvfOpenRead': "));
    EXPECT_THAT(msg, HasSubstr("CTVFOPENREAD"));  // the platform's reason for the last of the three tries
    EXPECT_FALSE(tvf::Loader().IsLoaded());
    ASSERT_NE(LoadedModule(dir, kFile), nullptr);  // the file stays open

    // The library stops claiming the operation: the next create loads it from the start, with a stub.
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    std::strcpy(state->refused, "tvfOpenRead");
    ASSERT_TRUE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg)) << msg;
    EXPECT_STREQ(msg, "");
    EXPECT_EQ(state->versionCalls, 2);
    EXPECT_EQ(state->createCalls, 1);
    ExpectEndsForAMissingOperation(
        [&] { tvf::ops.tvfOpenRead(pt, "file.tvf", nullptr); },
        "tvfOpenRead could not be loaded: fake tvfdclib: tvfOpenRead is not in this build\n");
    tvf::tvfFree(&pt);
  });
}

// The load succeeds, every other operation works, and a call of the missing one prints its name and the
// library's reason and ends the process with status 123.
TEST(MissingOperation, StubReportsTheLibrarysReasonAndEndsTheProcess) {
  ExpectEndsForAMissingOperation(
      [] {
        const std::string dir = FakeDirectory("tvf_lacking_close");
        tvfHandle_t pt = CreateTvf(dir);
        int errNr = 0;
        EXPECT_EQ(tvf::ops.tvfOpenRead(pt, "file.tvf", &errNr), 1);
        EXPECT_EQ(tvf::ops.tvfErrorCount(pt), 1);
        EXPECT_STREQ(StateOfLoadedFake(dir, kFile, "tvf")->lastCall, "tvfErrorCount");
        tvf::ops.tvfClose(pt);
      },
      "tvfClose could not be loaded: fake tvfdclib: tvfClose is not in this build\n");
  ExpectEndsForAMissingOperation(
      [] {
        char msg[256];
        ASSERT_TRUE(dct::dctGetReadyD(FakeDirectory("rundd_lacking_find_close").c_str(), msg, sizeof msg)) << msg;
        int dictionary = 0;
        EXPECT_EQ(dct::ops.dctNUels(&dictionary), 1);
        dct::ops.dctFindClose(&dictionary, nullptr);
      },
      "dctFindClose could not be loaded: fake runddclib: dctFindClose is not in this build\n");
  // Before any load, without a reason.
  ExpectEndsForAMissingOperation([] { tvf::ops.tvfClose(nullptr); }, "tvfClose could not be loaded: \n");
}

}  // namespace
}  // namespace tvb
