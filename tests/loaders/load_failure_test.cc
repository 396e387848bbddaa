// Loads that fail: a mandatory entry missing, the API version refused, an operation claimed by the check
// entry but not exported. A failed load leaves the library unloaded (its file open) and the next call tries
// again from the start. Each scenario runs in a fresh child process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "child_process.h"
#include "fake_libraries.h"
#include "loaders/tvfcc.h"

namespace tvb {
namespace {

using testing::FakeDirectory;
using ::testing::HasSubstr;
using testing::LoadedFake;
using ::testing::StartsWith;
using testing::StateOfLoadedFake;

constexpr const char* kFile = "libtvfdclib.so";

TEST(LoadFailure, MissingMandatoryEntryFailsTheLoad) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("tvf_without_free");
    tvfHandle_t pt = nullptr;
    char msg[1024];
    EXPECT_FALSE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg));
    EXPECT_THAT(msg, StartsWith("Could not load symbol 'XFree': "));
    EXPECT_EQ(pt, nullptr);
    EXPECT_FALSE(tvf::Loader().IsLoaded());
    EXPECT_EQ(StateOfLoadedFake(dir, kFile, "tvf")->versionCalls, 0);  // stopped before the handshake
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
    ASSERT_NE(LoadedFake(dir, kFile), nullptr);  // the file stays open

    // The library stops claiming the operation: the next create loads it from the start, with a stub.
    FakeState* state = StateOfLoadedFake(dir, kFile, "tvf");
    std::strcpy(state->refused, "tvfOpenRead");
    ASSERT_TRUE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg)) << msg;
    EXPECT_STREQ(msg, "");
    EXPECT_EQ(state->versionCalls, 2);
    EXPECT_EQ(state->createCalls, 1);

    const testing::ChildResult call = testing::RunInChild([&] {
      int errNr = 0;
      tvf::ops.tvfOpenRead(pt, "file.tvf", &errNr);
    });
    EXPECT_EQ(call.exitStatus, 123);
    EXPECT_EQ(call.output, "tvfOpenRead could not be loaded: fake tvfdclib: tvfOpenRead is not in this build\n");
    tvf::tvfFree(&pt);
  });
}

}  // namespace
}  // namespace tvb
