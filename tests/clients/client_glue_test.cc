// The C client glue against fake libtvbcclib.so variants built from tvbcclib's own tables: binding, the stub
// of a missing operation, refused version, an entry claimed but not exported, a missing creation entry, and a
// library that yields no database. The glue's state is process-wide, so each scenario runs in a fresh child.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "tvbcc_client.h"

namespace tvb {
namespace {

using ::testing::StartsWith;

std::string FakeDirectory(const std::string& variant) { return std::string(TVB_CLIENT_FAKES) + "/" + variant; }

void* LoadedFake(const std::string& directory) {
  return dlopen((directory + "/libtvbcclib.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
}

template <class R>
R CallFake(const std::string& directory, const char* entry) {
  void* module = LoadedFake(directory);
  EXPECT_NE(module, nullptr);
  return reinterpret_cast<R (*)()>(dlsym(module, entry))();
}

void ExpectEveryOperationBoundTo(void* module) {
#define TVB_LABELS_IN const char* const*
#define TVB_LABELS_OUT char**
#define TVB_EXPECT_BOUND(Name, lower) \
  EXPECT_EQ(reinterpret_cast<void*>(tvb##Name), dlsym(module, "c__tvb" #lower)) << "tvb" #Name;
#define TVB_OP(area, Name, lower, result, params, args, sig, family) TVB_IF_BUILT(area, TVB_EXPECT_BOUND(Name, lower))
#include "tvbcclib_operations.h"
}

// Loaded once: readying again, from anywhere, opens nothing.
TEST(ClientGlue, BindsEveryOperationToTheLibrarysEntryOnce) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("complete");
    char msg[256] = "not cleared";
    ASSERT_TRUE(tvbGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    EXPECT_STREQ(msg, "");
    EXPECT_TRUE(tvbLibraryLoaded());
    ExpectEveryOperationBoundTo(LoadedFake(dir));
    tvbSetDebug(nullptr, 0);
    EXPECT_STREQ(CallFake<const char*>(dir, "fakeLastCall"), "tvbSetDebug");
    ASSERT_TRUE(tvbGetReadyD("/no/such/dir", msg, sizeof msg)) << msg;
    EXPECT_EQ(CallFake<int>(dir, "fakeVersionCalls"), 1);
  });
}

// The fake's create entries yield no database; the failed create clears the handle.
TEST(ClientGlue, ACreateThatYieldsNoDatabaseFails) {
  EXPECT_PASSES_IN_CHILD([] {
    char msg[256];
    tvbHandle* db = reinterpret_cast<tvbHandle*>(&db);
    EXPECT_FALSE(tvbCreateD(&db, FakeDirectory("complete").c_str(), msg, sizeof msg));
    EXPECT_EQ(db, nullptr);
    EXPECT_STREQ(msg, "Error while creating object");
    EXPECT_TRUE(tvbFree(&db));
  });
}

TEST(ClientGlue, ADirectoryGetsExactlyOneSlashBeforeTheFileName) {
  char msg[1024];
  for (const char* dir : {"/no/such/dir", "/no/such/dir/"}) {
    EXPECT_FALSE(tvbGetReadyD(dir, msg, sizeof msg));
    EXPECT_THAT(msg, StartsWith("Could not load shared library /no/such/dir/libtvbcclib.so: "));
  }
  EXPECT_FALSE(tvbLibraryLoaded());
}

TEST(ClientGlue, TheLoadMessageIsCutToTheCallersBuffer) {
  char msg[16];
  EXPECT_FALSE(tvbGetReadyD("/no/such/dir", msg, 10));
  EXPECT_STREQ(msg, "Could not");
}

// A stub stands for an operation the library could not give: it reports why and ends the process.
TEST(ClientGlue, MissingOperationStubReportsTheLibrarysReasonAndEndsTheProcess) {
  const char* reason = "tvbSetDebug could not be loaded: fake tvbcclib: tvbSetDebug is not in this build\n";
  testing::ExpectChildEnds(123, reason, [] {
    const std::string dir = FakeDirectory("lacking_setdebug");
    char msg[256];
    ASSERT_TRUE(tvbGetReadyD(dir.c_str(), msg, sizeof msg)) << msg;
    double level = 0;
    tvbGetLevel(nullptr, nullptr, &level);
    EXPECT_STREQ(CallFake<const char*>(dir, "fakeLastCall"), "tvbGetLevel");
    tvbSetDebug(nullptr, 1);
  });
  // Called before any load.
  testing::ExpectChildEnds(123, "tvbSetDebug could not be loaded: \n", [] { tvbSetDebug(nullptr, 1); });
}

TEST(ClientGlue, RefusedVersionFailsTheLoadWithTheLibrarysMessageUntilRetried) {
  EXPECT_PASSES_IN_CHILD([] {
    const std::string dir = FakeDirectory("refusing_api");
    char msg[256];
    EXPECT_FALSE(tvbGetReadyD(dir.c_str(), msg, sizeof msg));
    EXPECT_STREQ(msg, "fake tvbcclib: API version 2 refused");
    EXPECT_FALSE(tvbLibraryLoaded());
    EXPECT_FALSE(tvbGetReadyD(dir.c_str(), msg, sizeof msg));
    EXPECT_EQ(CallFake<int>(dir, "fakeVersionCalls"), 2);
  });
}

// A claimed operation or a creation entry.
TEST(ClientGlue, AMissingEntryFailsTheLoad) {
  for (auto [variant, message] : {std::pair{"withholding_getlevel", "Could not load symbol 'c__tvbgetlevel': "},
                                  std::pair{"without_free", "Could not load symbol 'tvbfree': "}}) {
    EXPECT_PASSES_IN_CHILD([variant = variant, message = message] {
      char msg[1024];
      EXPECT_FALSE(tvbGetReadyD(FakeDirectory(variant).c_str(), msg, sizeof msg));
      EXPECT_THAT(msg, StartsWith(message));
      EXPECT_FALSE(tvbLibraryLoaded());
    });
  }
}

}  // namespace
}  // namespace tvb
