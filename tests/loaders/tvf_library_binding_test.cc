// The loader against the real TVF library of this build (platform/tvf): the library's check entry and the
// loader come from the same operation table, so every operation must be bound to the library's own entry.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "loaders/tvfcc.h"

namespace tvb {
namespace {

constexpr const char* kDirectory = TVB_TVF_LIBRARY_DIR;

void ExpectEveryOperationBoundTo(void* module) {
#define TVF_OP(name, lookup, ...) EXPECT_EQ(reinterpret_cast<void*>(tvf::ops.name), dlsym(module, #lookup)) << #name;
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP
}

TEST(TvfLibraryBinding, EveryOperationIsBoundAndAnObjectMakesTheRoundTrip) {
  EXPECT_PASSES_IN_CHILD([] {
    tvfHandle_t pt = nullptr;
    char msg[256];
    ASSERT_TRUE(tvf::tvfCreateD(&pt, kDirectory, msg, sizeof msg)) << msg;
    ASSERT_NE(pt, nullptr);
    void* module = dlopen((std::string(kDirectory) + "/libtvfdclib.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr);
    ExpectEveryOperationBoundTo(module);

    EXPECT_EQ(tvf::ops.tvfErrorCount(pt), 0);
    char loadPath[256] = "";
    reinterpret_cast<int (*)(char*)>(dlsym(module, "CtvfGetLoadPath"))(loadPath);
    EXPECT_STREQ(loadPath, kDirectory);
    EXPECT_TRUE(tvf::tvfFree(&pt));
    EXPECT_EQ(pt, nullptr);
  });
}

}  // namespace
}  // namespace tvb
