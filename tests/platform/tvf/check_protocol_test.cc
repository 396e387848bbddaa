// The loader's protocol as the library answers it: version agreement, the signature check for every
// operation of the tables, the exported entries under their lookup names, and nothing else exported.
#include <set>
#include <string>
#include <vector>

#include "support/exported_functions.h"
#include "support/signature_check.h"
#include "tvf_test_support.h"

namespace tvf_test {
namespace {

struct Row {
  std::string name;
  std::string lookup;
  std::vector<int> signature;
};

#define TVF_CODES(...) __VA_ARGS__
#define TVF_OP(name, lookup, result, parameters, arguments, signature) {#name, #lookup, {TVF_CODES signature}},
// The operations that the database calls, and those for the library's own tools and tests.
const std::vector<Row> kRows = {
#include "tvf_extra_operations.h"
#include "tvf_operations.h"
};
#undef TVF_OP
#undef TVF_CODES

TEST(CheckProtocol, EveryOperationIsConfirmedWithItsOwnSignatureOnly) {
  for (const Row &row : kRows) tvbtest::ExpectOnlyItsOwnSignatureConfirmed(CXCheck, "tvfdclib", row.name, row.lookup, row.signature);
}

// Names are compared exactly; the message buffer may be absent, and a message is cut to it.
TEST(CheckProtocol, OnlyTheExactNameOfAnOperationIsFound) {
  const int sig[] = {SIG_INT};
  char msg[256] = "untouched";
  for (const char *name : {"tvfclose", "TVFCLOSE", "CtvfOpenRead", "tvfAcronymAdd", ""}) {
    EXPECT_EQ(CXCheck(name, 0, sig, msg), 0) << name;
    EXPECT_EQ(std::string(msg), std::string("tvfdclib: ") + name + " cannot be found in library.");
  }
  EXPECT_EQ(CXCheck("tvfClose", 0, sig, nullptr), 1);
  EXPECT_EQ(CXCheck(std::string(1000, 'x').c_str(), 0, sig, msg), 0);
  EXPECT_EQ(std::string(msg).size(), 255u);
}

TEST(CheckProtocol, ClientsOfApiVersionSevenOnAreAccepted) {
  char msg[256];
  int compatibility = 0;
  EXPECT_EQ(CXAPIVersion(7, msg, &compatibility), 1);
  EXPECT_EQ(compatibility, 1);
  EXPECT_STREQ(msg, "");
  EXPECT_EQ(CXAPIVersion(9, msg, &compatibility), 1);
  EXPECT_EQ(compatibility, 3);
  EXPECT_EQ(CXAPIVersion(6, msg, &compatibility), 0);
  EXPECT_EQ(std::string(msg),
            "tvfdclib: client API version 6 is older than the library's API version 7, which it needs");
  EXPECT_EQ(CXAPIVersion(7, nullptr, nullptr), 1);
}

// Cut to 255 characters.
TEST(CheckProtocol, TheLoadPathIsKept) {
  char path[256];
  ASSERT_EQ(CtvfSetLoadPath("/opt/tvb/lib"), 1);
  ASSERT_EQ(CtvfGetLoadPath(path), 1);
  EXPECT_STREQ(path, "/opt/tvb/lib");
  ASSERT_EQ(CtvfSetLoadPath(std::string(400, 'd').c_str()), 1);
  ASSERT_EQ(CtvfGetLoadPath(path), 1);
  EXPECT_EQ(std::string(path), std::string(255, 'd'));
}

TEST(CheckProtocol, TheLibraryExportsEveryEntryUnderItsLookupNameAndNothingElse) {
  std::set<std::string> expected = {"XCreate",      "XFree",           "CXCheck",
                                    "CXAPIVersion", "CtvfSetLoadPath", "CtvfGetLoadPath"};
  for (const Row &row : kRows) expected.insert(row.lookup);
  const std::set<std::string> exported = tvbtest::ExportedFunctions(TVF_LIBRARY_PATH);
  if (exported.empty()) GTEST_SKIP() << "nm is not available";
  EXPECT_EQ(exported, expected);
}

}  // namespace
}  // namespace tvf_test
