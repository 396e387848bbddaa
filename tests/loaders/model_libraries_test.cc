// The model-instance, environment, dictionary and configuration libraries: four loaders of one file, each
// agreeing its own API version and binding its own table. Each scenario runs in a fresh child process.
#include <dlfcn.h>
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

using testing::FakeDirectory;
using testing::LoadedFake;
using testing::StateOfLoadedFake;

constexpr const char* kFile = "librunddclib.so";

// Every slot of the four tables holds the fake's entry of the operation's lookup name.
void ExpectEveryOperationBoundTo(void* module) {
#define TVB_EXPECT_BOUND(library, name, lookup) \
  EXPECT_EQ(reinterpret_cast<void*>(library::ops.name), dlsym(module, #lookup)) << #name;
#define TVP_OP(name, lookup, ...) TVB_EXPECT_BOUND(tvp, name, lookup)
#include "loaders/tables/tvp_operations.h"
#undef TVP_OP
#define TVH_OP(name, lookup, ...) TVB_EXPECT_BOUND(tvh, name, lookup)
#include "loaders/tables/tvh_operations.h"
#undef TVH_OP
#define DCT_OP(name, lookup, ...) TVB_EXPECT_BOUND(dct, name, lookup)
#include "loaders/tables/dct_operations.h"
#undef DCT_OP
#define CFG_OP(name, lookup, ...) TVB_EXPECT_BOUND(cfg, name, lookup)
#include "loaders/tables/cfg_operations.h"
#undef CFG_OP
#undef TVB_EXPECT_BOUND
}

TEST(ModelLibraries, EachLibraryBindsEveryOperationToItsOwnEntry) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("rundd_complete");
    char msg[256];
    ASSERT_TRUE(tvp::tvpGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    ASSERT_TRUE(tvh::tvhGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    ASSERT_TRUE(dct::dctGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    cfgHandle_t cfg = nullptr;
    ASSERT_TRUE(cfg::cfgCreateD(&cfg, dir.c_str(), msg, sizeof msg)) << msg;

    ExpectEveryOperationBoundTo(LoadedFake(dir, kFile));

    for (const char* library : {"tvp", "tvh", "dct", "cfg"}) {
      EXPECT_EQ(StateOfLoadedFake(dir, kFile, library)->versionCalls, 1) << library;
    }
    // Readying again loads nothing.
    ASSERT_TRUE(tvp::tvpGetReady(msg, sizeof msg)) << msg;
    EXPECT_EQ(StateOfLoadedFake(dir, kFile, "tvp")->versionCalls, 1);
    cfg::cfgFree(&cfg);
  });
}

TEST(ModelLibraries, OperationsReachTheLibraryWithTheirObject) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("rundd_complete");
    char msg[256];
    ASSERT_TRUE(tvp::tvpGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    ASSERT_TRUE(tvh::tvhGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    int model = 0;
    int environment = 0;
    EXPECT_EQ(tvp::ops.tvpN(&model), 1);
    EXPECT_STREQ(StateOfLoadedFake(dir, kFile, "tvp")->lastCall, "tvpN");
    EXPECT_EQ(StateOfLoadedFake(dir, kFile, "tvp")->lastObject, &model);
    tvh::ops.tvhTerminateClear(&environment);
    EXPECT_STREQ(StateOfLoadedFake(dir, kFile, "tvh")->lastCall, "tvhTerminateClear");
    EXPECT_EQ(StateOfLoadedFake(dir, kFile, "tvh")->lastObject, &environment);
  });
}

TEST(ModelLibraries, ConfigurationObjectsAreCreatedAndFreed) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("rundd_complete");
    cfgHandle_t cfg = nullptr;
    char msg[256];
    ASSERT_TRUE(cfg::cfgCreateD(&cfg, dir.c_str(), msg, sizeof msg)) << msg;
    ASSERT_NE(cfg, nullptr);
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
