// Loading the TVF library and creating its objects, against fake libraries built from the same operation
// table. Each scenario runs in a fresh child process, since a loaded library stays loaded.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "child_process.h"
#include "fake_libraries.h"
#include "loaders/tvfcc.h"

namespace tvb {
namespace {

using testing::FakeDirectory;
using testing::LoadedFake;
using testing::StateOfLoadedFake;

constexpr const char* kFile = "libtvfdclib.so";

// Every slot holds the fake's entry of the operation's lookup name.
void ExpectEveryOperationBoundTo(void* module) {
#define TVF_OP(name, lookup, ...) EXPECT_EQ(reinterpret_cast<void*>(tvf::ops.name), dlsym(module, #lookup)) << #name;
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP
}

TEST(TvfLoader, BindsEveryOperationToTheLibrarysOwnEntry) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_complete");
    tvfHandle_t pt = nullptr;
    char msg[256] = "not cleared";
    ASSERT_TRUE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg)) << msg;
    EXPECT_STREQ(msg, "");
    ASSERT_NE(pt, nullptr);
    EXPECT_TRUE(tvf::Loader().IsLoaded());

    ExpectEveryOperationBoundTo(LoadedFake(dir, kFile));

    int errNr = -1;
    EXPECT_EQ(tvf::ops.tvfOpenRead(pt, "file.tvf", &errNr), 1);
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    EXPECT_STREQ(state->lastCall, "tvfOpenRead");
    EXPECT_EQ(state->lastObject, pt);

    EXPECT_TRUE(tvf::tvfFree(&pt));
    EXPECT_EQ(pt, nullptr);
    EXPECT_EQ(state->freeCalls, 1);
  });
}

TEST(TvfLoader, SecondCreateOpensAndResolvesNothing) {
  EXPECT_PASSES_IN_CHILD([] {
    // A copy that can be deleted after the first load: the second create must not need the file.
    char dirTemplate[] = "/tmp/tvb-loader-XXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    const std::string dir = dirTemplate;
    std::filesystem::copy_file(FakeDirectory("tvf_complete") + "/" + kFile, dir + "/" + kFile);

    tvfHandle_t first = nullptr;
    tvfHandle_t second = nullptr;
    char msg[256];
    ASSERT_TRUE(tvf::tvfCreateD(&first, dir.c_str(), msg, sizeof msg)) << msg;
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    const int checksOfOneLoad = state->checkCalls;
    EXPECT_EQ(checksOfOneLoad, 30);  // one per operation of the table
    std::filesystem::remove_all(dir);

    ASSERT_TRUE(tvf::tvfCreateD(&second, dir.c_str(), msg, sizeof msg)) << msg;
    EXPECT_NE(second, first);
    EXPECT_EQ(state->versionCalls, 1);
    EXPECT_EQ(state->checkCalls, checksOfOneLoad);
    EXPECT_EQ(state->createCalls, 2);
    tvf::tvfFree(&first);
    tvf::tvfFree(&second);
  });
}

TEST(TvfLoader, TellsTheLibraryItsDirectoryAsTheCallerGaveIt) {
  for (const std::string suffix : {"", "/"}) {
    EXPECT_PASSES_IN_CHILD([&] {
      const std::string dir = FakeDirectory("tvf_complete") + suffix;
      tvfHandle_t pt = nullptr;
      char msg[256];
      ASSERT_TRUE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg)) << msg;
      char loadPath[256] = "";
      reinterpret_cast<int (*)(char*)>(dlsym(LoadedFake(FakeDirectory("tvf_complete"), kFile), "CtvfGetLoadPath"))(
          loadPath);
      EXPECT_EQ(loadPath, dir);
      tvf::tvfFree(&pt);
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
    void* module = dlopen((dir + "/" + kFile).c_str(), RTLD_NOW);
    ASSERT_NE(module, nullptr);
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    state->duringVersionCall = StartSecondCreate;

    tvfHandle_t first = nullptr;
    char msg[256];
    EXPECT_TRUE(tvf::tvfCreateD(&first, dir.c_str(), msg, sizeof msg)) << msg;
    secondCreate.thread.join();
    EXPECT_TRUE(secondCreate.created);
    EXPECT_EQ(state->versionCalls, 1);
    EXPECT_EQ(state->createCalls, 2);
    tvf::tvfFree(&first);
    tvf::tvfFree(&secondCreate.object);
  });
}

TEST(TvfLoader, LibraryThatYieldsNoObjectFailsTheCreate) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_complete");
    tvfHandle_t pt = nullptr;
    char msg[256];
    ASSERT_TRUE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg)) << msg;
    tvf::tvfFree(&pt);

    StateOfLoadedFake(dir, kFile, "tvf")->createYieldsNothing = 1;
    EXPECT_FALSE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg));
    EXPECT_EQ(pt, nullptr);
    EXPECT_STREQ(msg, "Error while creating object");
    EXPECT_FALSE(tvf::tvfCreate(&pt, msg, 6));
    EXPECT_STREQ(msg, "Error");
  });
}

TEST(TvfLoader, OperationCalledBeforeAnyLoadIsReportedMissing) {
  const testing::ChildResult child = testing::RunInChild([] { tvf::ops.tvfClose(nullptr); });
  EXPECT_EQ(child.exitStatus, 123);
  EXPECT_EQ(child.output, "tvfClose could not be loaded: \n");
}

}  // namespace
}  // namespace tvb
