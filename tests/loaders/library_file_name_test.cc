// How the loader composes a library's file name and reports a file that it cannot open, seen through the
// message of a failed load. A failed load changes nothing, so these run in the test process itself, which
// never loads a library (scenarios that do run in child processes).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "loaders/cfgmcc.h"
#include "loaders/dctmcc.h"
#include "loaders/tvfcc.h"
#include "loaders/tvhmcc.h"
#include "loaders/tvpmcc.h"

namespace tvb {
namespace {

using ::testing::StartsWith;

std::string TvfLoadFailure(const char* dir) {
  char msg[2048] = "";
  tvfHandle_t pt = reinterpret_cast<tvfHandle_t>(&msg);  // any non-null value: a failure must clear it
  EXPECT_FALSE(dir != nullptr ? tvf::tvfCreateD(&pt, dir, msg, sizeof msg) : tvf::tvfCreate(&pt, msg, sizeof msg));
  EXPECT_EQ(pt, nullptr);
  EXPECT_FALSE(tvf::Loader().IsLoaded());
  return msg;
}

TEST(LibraryFileName, DirectoryGetsExactlyOneSlashBeforeTheFileName) {
  EXPECT_EQ(TvfLoadFailure("/no/such/dir"),
            "Could not load shared library /no/such/dir/libtvfdclib.so: /no/such/dir/libtvfdclib.so: cannot open "
            "shared object file: No such file or directory");
  EXPECT_THAT(TvfLoadFailure("/no/such/dir/"),
              StartsWith("Could not load shared library /no/such/dir/libtvfdclib.so: "));
}

TEST(LibraryFileName, NoDirectoryAndAnEmptyOneLeaveTheBareFileNameToTheSearch) {
  EXPECT_THAT(TvfLoadFailure(nullptr), StartsWith("Could not load shared library libtvfdclib.so: "));
  EXPECT_THAT(TvfLoadFailure(""), StartsWith("Could not load shared library libtvfdclib.so: "));
}

TEST(LibraryFileName, ModelLibrariesAllLiveInTheRunddFile) {
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

TEST(LibraryFileName, OverlongDirectoryIsCutTo511Characters) {
  const std::string dir = "/" + std::string(600, 'd');
  EXPECT_THAT(TvfLoadFailure(dir.c_str()), StartsWith("Could not load shared library " + dir.substr(0, 511) + ": "));
}

TEST(LoadFailureMessage, IsCutToTheCallersBufferSize) {
  char msg[32];
  std::memset(msg, 'x', sizeof msg);
  tvfHandle_t pt = nullptr;
  EXPECT_FALSE(tvf::tvfCreateD(&pt, "/no/such/dir", msg, 10));
  EXPECT_STREQ(msg, "Could not");
  EXPECT_EQ(msg[10], 'x');
}

TEST(LoadFailureMessage, NothingIsWrittenWithoutABuffer) {
  char msg[] = "intact";
  tvfHandle_t pt = nullptr;
  EXPECT_FALSE(tvf::tvfCreateD(&pt, "/no/such/dir", msg, 0));
  EXPECT_STREQ(msg, "intact");
  EXPECT_FALSE(tvf::tvfCreateD(&pt, "/no/such/dir", nullptr, 256));
}

}  // namespace
}  // namespace tvb
