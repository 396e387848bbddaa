// The loaders of the TVF library and of the four model libraries of one file (model instance, environment,
// dictionary, configuration): file names, every operation bound once, entry names in three spellings, failed
// loads (the library left unloaded, its file open, for the next call to try again) and missing operations,
// against fakes built from the same tables. A scenario that loads runs in a fresh child: loaded stays loaded.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "fakes/fake_library.h"
#include "loaders/cfgmcc.h"
#include "loaders/dctmcc.h"
#include "loaders/tvfcc.h"
#include "loaders/tvhmcc.h"
#include "loaders/tvpmcc.h"

namespace tvb {
namespace {

using ::testing::StartsWith;

constexpr const char* kFile = "libtvfdclib.so";
constexpr const char* kRunddFile = "librunddclib.so";

// The directory of a fake library variant, e.g. FakeDirectory("tvf_complete"); without a trailing "/".
std::string FakeDirectory(const std::string& variant) { return std::string(TVB_FAKE_LIBRARIES) + "/" + variant; }

// The module of a library that the process has loaded already (the loader keeps it open); null otherwise.
// RTLD_NOLOAD: this never opens the file itself.
void* LoadedModule(const std::string& directory, const char* fileName) {
  return dlopen((directory + "/" + fileName).c_str(), RTLD_NOW | RTLD_NOLOAD);
}

// The state of library prefix in a loaded fake; fails the test (and returns null) when it is not loaded.
FakeState* StateOfLoadedFake(const std::string& directory, const char* fileName, const char* prefix) {
  void* module = LoadedModule(directory, fileName);
  EXPECT_NE(module, nullptr) << directory << "/" << fileName << " is not loaded";
  if (module == nullptr) return nullptr;
  auto state = reinterpret_cast<FakeState* (*)(const char*)>(dlsym(module, "fakeState"));
  return state != nullptr ? state(prefix) : nullptr;
}

// An object of the TVF library in `directory`; fails the test (and returns null) when it cannot be created.
tvfHandle_t CreateTvf(const std::string& directory) {
  tvfHandle_t pt = nullptr;
  char msg[256];
  EXPECT_TRUE(tvf::tvfCreateD(&pt, directory.c_str(), msg, sizeof msg)) << msg;
  return pt;
}

// Every slot holds the module's entry of the operation's lookup name.
void ExpectEveryOperationBoundTo(void* module) {
#define TVF_OP(name, lookup, ...) EXPECT_EQ(reinterpret_cast<void*>(tvf::ops.name), dlsym(module, #lookup)) << #name;
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP
}

// The message of a create that must fail, given a buffer of `size` bytes and nothing written past it: the object
// is cleared and the library left unloaded. A failed load changes nothing, so the file-name cases run in the
// test process itself.
std::string TvfLoadFailure(const char* dir, int size = 2048) {
  std::vector<char> msg(static_cast<size_t>(size) + 1, 'x');
  tvfHandle_t pt = reinterpret_cast<tvfHandle_t>(msg.data());  // any non-null value: a failure must clear it
  EXPECT_FALSE(dir != nullptr ? tvf::tvfCreateD(&pt, dir, msg.data(), size) : tvf::tvfCreate(&pt, msg.data(), size));
  EXPECT_EQ(pt, nullptr);
  EXPECT_FALSE(tvf::Loader().IsLoaded());
  EXPECT_EQ(msg[static_cast<size_t>(size)], 'x') << "written past the caller's buffer";
  return std::string(msg.data(), strnlen(msg.data(), static_cast<size_t>(size)));
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
  // The four model libraries all live in the rundd file.
  char msg[1024];
  const auto failure = [&msg](bool loaded) { return loaded ? "<loaded>" : std::string(msg); };
  const std::string rundd = "Could not load shared library /no/such/dir/librunddclib.so: ";
  cfgHandle_t cfg = nullptr;
  EXPECT_THAT(failure(tvp::tvpGetReadyD("/no/such/dir", msg, sizeof msg)), StartsWith(rundd));
  EXPECT_THAT(failure(tvh::tvhGetReadyD("/no/such/dir", msg, sizeof msg)), StartsWith(rundd));
  EXPECT_THAT(failure(dct::dctGetReadyD("/no/such/dir", msg, sizeof msg)), StartsWith(rundd));
  EXPECT_THAT(failure(cfg::cfgCreateD(&cfg, "/no/such/dir", msg, sizeof msg)), StartsWith(rundd));
  EXPECT_THAT(failure(tvp::tvpGetReady(msg, sizeof msg)),
              StartsWith("Could not load shared library librunddclib.so: "));
}

TEST(LoadFailureMessage, IsCutToTheCallersBufferAndNotWrittenWithoutOne) {
  EXPECT_EQ(TvfLoadFailure("/no/such/dir", 10), "Could not");
  EXPECT_EQ(TvfLoadFailure("/no/such/dir", 0), "");
  tvfHandle_t pt = nullptr;
  EXPECT_FALSE(tvf::tvfCreateD(&pt, "/no/such/dir", nullptr, 256));
}

// Later creates need neither the file nor a second handshake.
TEST(TvfLoader, BindsEveryOperationInOneLoad) {
  EXPECT_PASSES_IN_CHILD([] {
    char dirTemplate[] = "/tmp/tvb-loader-XXXXXX";  // a copy that can be deleted after the first load
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    const std::string dir = dirTemplate;
    std::filesystem::copy_file(FakeDirectory("tvf_complete") + "/" + kFile, dir + "/" + kFile);
    tvfHandle_t first = nullptr, second = nullptr;
    char msg[256] = "not cleared";
    ASSERT_TRUE(tvf::tvfCreateD(&first, dir.c_str(), msg, sizeof msg)) << msg;
    EXPECT_STREQ(msg, "");
    EXPECT_TRUE(tvf::Loader().IsLoaded());
    ExpectEveryOperationBoundTo(LoadedModule(dir, kFile));
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(tvf::tvfCreateD(&second, dir.c_str(), msg, sizeof msg)) << msg;
    EXPECT_NE(second, first);
    EXPECT_EQ(state->versionCalls, 1);
    EXPECT_EQ(state->checkCalls, 30);  // one per operation of the table
    EXPECT_EQ(state->createCalls, 2);
    EXPECT_TRUE(tvf::tvfFree(&second));
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(state->freeCalls, 1);
    tvf::tvfFree(&first);
  });
}

TEST(TvfLoader, TellsTheLibraryItsDirectoryAsGiven) {
  for (const std::string suffix : {"", "/"}) {
    EXPECT_PASSES_IN_CHILD([&] {
      const std::string dir = FakeDirectory("tvf_complete") + suffix;
      tvfHandle_t pt = CreateTvf(dir);
      EXPECT_EQ(StateOfLoadedFake(FakeDirectory("tvf_complete"), kFile, "tvf")->loadPath, dir);
      tvf::tvfFree(&pt);
    });
  }
}

TEST(TvfLoader, ACreateThatYieldsNoObjectFails) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_complete");
    tvfHandle_t pt = CreateTvf(dir);
    tvf::tvfFree(&pt);
    StateOfLoadedFake(dir, kFile, "tvf")->createYieldsNothing = 1;
    char msg[256];
    EXPECT_FALSE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg));
    EXPECT_EQ(pt, nullptr);
    EXPECT_STREQ(msg, "Error while creating object");
    EXPECT_FALSE(tvf::tvfCreate(&pt, msg, 6));
    EXPECT_STREQ(msg, "Error");
  });
}

// A second create that starts while the first load is under way (inside the library's version entry).
std::thread secondCreate;
tvfHandle_t secondObject = nullptr;

void StartSecondCreate() {
  std::atomic<bool> started{false};
  secondCreate = std::thread([&started] {
    started = true;
    secondObject = CreateTvf(FakeDirectory("tvf_complete"));
  });
  while (!started) std::this_thread::yield();
}

TEST(TvfLoader, ACreateDuringTheFirstLoadWaitsForIt) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_complete");
    // Opened here only to reach the fake before the first load; the loader's open finds the same module.
    ASSERT_NE(dlopen((dir + "/" + kFile).c_str(), RTLD_NOW), nullptr);
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    state->duringVersionCall = StartSecondCreate;
    tvfHandle_t first = CreateTvf(dir);
    secondCreate.join();
    EXPECT_NE(secondObject, nullptr);
    EXPECT_EQ(state->versionCalls, 1);
    EXPECT_EQ(state->createCalls, 2);
    tvf::tvfFree(&first);
    tvf::tvfFree(&secondObject);
  });
}

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
    TvfLoadFailure(dir.c_str());  // its message: AMissingEntryIsReportedWithThePlatformsTextForTheNameAsWritten
    EXPECT_EQ(StateOfLoadedFake(dir, kFile, "tvf")->versionCalls, 0);
  });
}

// Of the three spellings tried, the platform's text is the one for the name that the message quotes.
TEST(LoadFailure, AMissingEntryIsReportedWithThePlatformsTextForTheNameAsWritten) {
  EXPECT_PASSES_IN_CHILD([] {
    for (const std::string entry : {"XFree", "CtvfOpenRead"}) {
      const std::string dir = FakeDirectory(entry == "XFree" ? "tvf_without_free" : "tvf_withholding_open_read");
      EXPECT_EQ(TvfLoadFailure(dir.c_str()),
                "Could not load symbol '" + entry + "': " + dir + "/" + kFile + ": undefined symbol: " + entry);
    }
  });
}

TEST(LoadFailure, RefusedApiVersionFailsWithTheLibrarysOwnMessage) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_refusing_api");
    EXPECT_EQ(TvfLoadFailure(dir.c_str()), "fake tvfdclib: API version 7 refused");
    EXPECT_EQ(TvfLoadFailure(dir.c_str(), 11), "fake tvfdc");
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    EXPECT_EQ(state->versionCalls, 2);
    EXPECT_EQ(state->checkCalls, 0);
    EXPECT_EQ(state->createCalls, 0);
  });
}

TEST(LoadFailure, ClaimedButUnexportedEntryFailsTheWholeLoadUntilARetrySucceeds) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_withholding_open_read");
    const std::string failure = TvfLoadFailure(dir.c_str());
    EXPECT_THAT(failure, StartsWith("Could not load symbol 'CtvfOpenRead': "));
    ASSERT_NE(LoadedModule(dir, kFile), nullptr);  // the file stays open

    // The library stops claiming the operation: the next create loads it from the start, with a stub.
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    std::strcpy(state->refused, "tvfOpenRead");
    tvfHandle_t pt = CreateTvf(dir);
    EXPECT_EQ(state->versionCalls, 2);
    EXPECT_EQ(state->createCalls, 1);
    testing::ExpectChildEnds(123, "tvfOpenRead could not be loaded: fake tvfdclib: tvfOpenRead is not in this build\n",
                             [&] { tvf::ops.tvfOpenRead(pt, "file.tvf", nullptr); });
    tvf::tvfFree(&pt);
  });
}

// The load succeeds, every other operation works, and a call of the missing one prints its name and the
// library's reason and ends the process with status 123.
TEST(MissingOperation, StubReportsTheLibrarysReasonAndEndsTheProcess) {
  testing::ExpectChildEnds(123, "tvfClose could not be loaded: fake tvfdclib: tvfClose is not in this build\n", [] {
    tvfHandle_t pt = CreateTvf(FakeDirectory("tvf_lacking_close"));
    EXPECT_EQ(tvf::ops.tvfErrorCount(pt), 1);  // the fake's own answer
    tvf::ops.tvfClose(pt);
  });
  const char* reason = "dctFindClose could not be loaded: fake runddclib: dctFindClose is not in this build\n";
  testing::ExpectChildEnds(123, reason, [] {
    char msg[256];
    ASSERT_TRUE(dct::dctGetReadyD(FakeDirectory("rundd_lacking_find_close").c_str(), msg, sizeof msg)) << msg;
    int dictionary = 0;
    EXPECT_EQ(dct::ops.dctNUels(&dictionary), 1);
    dct::ops.dctFindClose(&dictionary, nullptr);
  });
  // Before any load, without a reason.
  testing::ExpectChildEnds(123, "tvfClose could not be loaded: \n", [] { tvf::ops.tvfClose(nullptr); });
}

// Every slot of the four tables holds the fake's entry of the operation's lookup name.
void ExpectEveryModelOperationBoundTo(void* module) {
#define RUNDD_OP(library, name, lookup, ...) \
  EXPECT_EQ(reinterpret_cast<void*>(library::ops.name), dlsym(module, #lookup)) << #name;
#include "fakes/rundd_operations.inc"
}

// Created and freed as the TVF library's objects are (library_glue.inc serves both).
TEST(ModelLibraries, EachLibraryOfTheFileIsLoadedOnceWithItsOwnEntries) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("rundd_complete");
    char msg[256];
    cfgHandle_t cfg = nullptr;
    ASSERT_TRUE(cfg::cfgCreateD(&cfg, dir.c_str(), msg, sizeof msg)) << msg;  // the first to open the file
    ASSERT_NE(cfg, nullptr);
    ASSERT_TRUE(tvp::tvpGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    ASSERT_TRUE(tvh::tvhGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    ASSERT_TRUE(dct::dctGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    ExpectEveryModelOperationBoundTo(LoadedModule(dir, kRunddFile));
    for (const char* library : {"tvp", "tvh", "dct", "cfg"}) {
      EXPECT_EQ(StateOfLoadedFake(dir, kRunddFile, library)->versionCalls, 1) << library;
    }
    ASSERT_TRUE(tvp::tvpGetReady(msg, sizeof msg)) << msg;
    EXPECT_EQ(StateOfLoadedFake(dir, kRunddFile, "tvp")->versionCalls, 1) << "readying again loads nothing";
    cfg::cfgFree(&cfg);
  });
}

}  // namespace
}  // namespace tvb
