// The model-instance, environment, dictionary and configuration libraries: four loaders of one file, each
// agreeing its own API version and binding its own table. A scenario that loads runs in a fresh child process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "fake_libraries.h"
#include "loaders/cfgmcc.h"
#include "loaders/dctmcc.h"
#include "loaders/tvhmcc.h"
#include "loaders/tvpmcc.h"

namespace tvb {
namespace {

using ::testing::StartsWith;
using testing::StateOfLoadedFake;

constexpr const char* kFile = "librunddclib.so";

// Every slot of the four tables holds the fake's entry of the operation's lookup name.
void ExpectEveryOperationBoundTo(void* module) {
#define TVB_BOUND(library, name, lookup) \
  EXPECT_EQ(reinterpret_cast<void*>(library::ops.name), dlsym(module, #lookup)) << #name;
#define TVP_OP(name, lookup, ...) TVB_BOUND(tvp, name, lookup)
#define TVH_OP(name, lookup, ...) TVB_BOUND(tvh, name, lookup)
#define DCT_OP(name, lookup, ...) TVB_BOUND(dct, name, lookup)
#define CFG_OP(name, lookup, ...) TVB_BOUND(cfg, name, lookup)
#include "loaders/tables/cfg_operations.h"
#include "loaders/tables/dct_operations.h"
#include "loaders/tables/tvh_operations.h"
#include "loaders/tables/tvp_operations.h"
}

TEST(LibraryFileName, ModelLibrariesAllLiveInTheRunddFile) {
  // A failed load changes nothing, so this runs in the test process itself.
  char msg[1024];
  const char* expected = "Could not load shared library /no/such/dir/librunddclib.so: ";
  EXPECT_FALSE(tvp::tvpGetReadyD("/no/such/dir", msg, sizeof msg));
  EXPECT_THAT(msg, StartsWith(expected));
  EXPECT_FALSE(tvh::tvhGetReadyD("/no/such/dir", msg, sizeof msg));
  EXPECT_THAT(msg, StartsWith(expected));
  EXPECT_FALSE(dct::dctGetReadyD("/no/such/dir", msg, sizeof msg));
  EXPECT_THAT(msg, StartsWith(expected));
  cfgHandle_t cfg = nullptr;
  EXPECT_FALSE(cfg::cfgCreateD(&cfg, "/no/such/dir", msg, sizeof msg));
  EXPECT_THAT(msg, StartsWith(expected));
  EXPECT_FALSE(tvp::tvpGetReady(msg, sizeof msg));
  EXPECT_THAT(msg, StartsWith("Could not load shared library librunddclib.so: "));
}

TEST(ModelLibraries, EachLibraryBindsItsOwnEntriesAndItsOperationsReachItWithTheirObject) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = testing::FakeDirectory("rundd_complete");
    char msg[256];
    cfgHandle_t cfg = nullptr;
    ASSERT_TRUE(cfg::cfgCreateD(&cfg, dir.c_str(), msg, sizeof msg)) << msg;  // the first to open the file
    ASSERT_NE(cfg, nullptr);
    ASSERT_TRUE(tvp::tvpGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    ASSERT_TRUE(tvh::tvhGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    ASSERT_TRUE(dct::dctGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    ExpectEveryOperationBoundTo(testing::LoadedModule(dir, kFile));
    for (const char* library : {"tvp", "tvh", "dct", "cfg"}) {
      EXPECT_EQ(StateOfLoadedFake(dir, kFile, library)->versionCalls, 1) << library;
    }
    ASSERT_TRUE(tvp::tvpGetReady(msg, sizeof msg)) << msg;
    EXPECT_EQ(StateOfLoadedFake(dir, kFile, "tvp")->versionCalls, 1) << "readying again loads nothing";

    int model = 0;
    int environment = 0;
    EXPECT_EQ(tvp::ops.tvpN(&model), 1);
    EXPECT_STREQ(StateOfLoadedFake(dir, kFile, "tvp")->lastCall, "tvpN");
    EXPECT_EQ(StateOfLoadedFake(dir, kFile, "tvp")->lastObject, &model);
    tvh::ops.tvhTerminateClear(&environment);
    EXPECT_STREQ(StateOfLoadedFake(dir, kFile, "tvh")->lastCall, "tvhTerminateClear");
    EXPECT_EQ(StateOfLoadedFake(dir, kFile, "tvh")->lastObject, &environment);

    FakeState* state = StateOfLoadedFake(dir, kFile, "cfg");
    EXPECT_EQ(cfg::ops.cfgAlgNumber(cfg, "glpk"), 1);
    EXPECT_EQ(state->lastObject, cfg);
    EXPECT_TRUE(cfg::cfgFree(&cfg));
    EXPECT_EQ(cfg, nullptr);
    EXPECT_EQ(state->freeCalls, 1);
    state->createYieldsNothing = 1;
    EXPECT_FALSE(cfg::cfgCreate(&cfg, msg, sizeof msg));
    EXPECT_STREQ(msg, "Error while creating object");
    EXPECT_EQ(cfg, nullptr);
  });
}

}  // namespace
}  // namespace tvb
