// Resolving an entry: the name in lower case, as written, then in upper case; the first that the library
// exports is bound. The fake answers with 1, 2 or 3 depending on which spelling was bound.
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "fake_libraries.h"
#include "loaders/tvfcc.h"

namespace tvb {
namespace {

TEST(EntryNames, FirstSpellingFoundOfLowerAsWrittenUpperIsBound) {
  EXPECT_PASSES_IN_CHILD([] {
    // The mandatory entries exist only in upper case: loading at all needs the third try.
    const std::string dir = testing::FakeDirectory("tvf_entry_names");
    tvfHandle_t pt = nullptr;
    char msg[256];
    ASSERT_TRUE(tvf::tvfCreateD(&pt, dir.c_str(), msg, sizeof msg)) << msg;
    EXPECT_EQ(tvf::ops.tvfErrorCount(pt), 1);    // lower case wins over the other two
    EXPECT_EQ(tvf::ops.tvfGetLastError(pt), 2);  // as written wins over upper case
    EXPECT_EQ(tvf::ops.tvfClose(pt), 3);         // only in upper case
    EXPECT_TRUE(tvf::tvfFree(&pt));
    EXPECT_EQ(pt, nullptr);
  });
}

}  // namespace
}  // namespace tvb
