// An operation that the library does not have (its check entry says no): the load succeeds, every other
// operation works, and a call of that one prints its name and the library's reason and ends the process
// with status 123. Each scenario runs in a fresh child process.
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "fake_libraries.h"
#include "loaders/dctmcc.h"
#include "loaders/tvfcc.h"

namespace tvb {
namespace {

using testing::FakeDirectory;
using testing::StateOfLoadedFake;

TEST(MissingOperation, StubReportsTheLibrarysReasonAndEndsTheProcess) {
  const testing::ChildResult child = testing::RunInChild([] {
    const std::string dir = FakeDirectory("tvf_lacking_close");
    tvfHandle_t pt = nullptr;
    char msg[256];
    ASSERT_TRUE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg)) << msg;
    int errNr = 0;
    EXPECT_EQ(tvf::ops.tvfOpenRead(pt, "file.tvf", &errNr), 1);
    EXPECT_EQ(tvf::ops.tvfErrorCount(pt), 1);
    EXPECT_STREQ(StateOfLoadedFake(dir, "libtvfdclib.so", "tvf")->lastCall, "tvfErrorCount");
    tvf::ops.tvfClose(pt);
  });
  EXPECT_EQ(child.exitStatus, 123);
  EXPECT_EQ(child.output, "tvfClose could not be loaded: fake tvfdclib: tvfClose is not in this build\n");
}

TEST(MissingOperation, StubOfAModelLibraryAsksItsOwnLibrary) {
  const testing::ChildResult child = testing::RunInChild([] {
    char msg[256];
    ASSERT_TRUE(dct::dctGetReadyD(FakeDirectory("rundd_lacking_find_close").c_str(), msg, sizeof msg)) << msg;
    int dummy = 0;
    void* const dictionary = &dummy;
    EXPECT_EQ(dct::ops.dctNUels(dictionary), 1);
    dct::ops.dctFindClose(dictionary, nullptr);
  });
  EXPECT_EQ(child.exitStatus, 123);
  EXPECT_EQ(child.output, "dctFindClose could not be loaded: fake runddclib: dctFindClose is not in this build\n");
}

}  // namespace
}  // namespace tvb
