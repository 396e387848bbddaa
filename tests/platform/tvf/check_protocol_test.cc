// The loader's protocol as the library answers it: version agreement, the signature check for every
// operation of the tables, the exported entries under their lookup names, and nothing else exported.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "tvbcclib_signatures.h"
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

int Check(const Row &row, int nargs, const std::vector<int> &sig, std::string *message) {
  char msg[256] = "untouched";
  int result = CXCheck(row.name.c_str(), nargs, sig.data(), msg);
  *message = msg;
  return result;
}

TEST(CheckProtocol, EveryOperationIsConfirmedWithItsOwnSignatureOnly) {
  for (const Row &row : kRows) {
    SCOPED_TRACE(row.name);
    bool string_bearing = false;
    for (int code : row.signature) string_bearing = string_bearing || SIG_IS_STRING_BEARING(code);
    EXPECT_EQ(row.lookup, string_bearing ? "C" + row.name : row.name);
    const int nargs = static_cast<int>(row.signature.size()) - 1;
    std::string message;
    EXPECT_EQ(Check(row, nargs, row.signature, &message), 1);
    EXPECT_EQ(message, "");
    // One argument more or less.
    std::vector<int> longer = row.signature;
    longer.push_back(SIG_INT);
    EXPECT_EQ(Check(row, nargs + 1, longer, &message), 0);
    EXPECT_EQ(message, "tvfdclib: " + row.name + " has wrong number of arguments.");
    EXPECT_EQ(Check(row, nargs - 1, row.signature, &message), 0);
    // Another code at any position (the result's included).
    for (size_t i = 0; i < row.signature.size(); ++i) {
      std::vector<int> changed = row.signature;
      changed[i] = changed[i] == SIG_DOUBLE ? SIG_INT : SIG_DOUBLE;
      EXPECT_EQ(Check(row, nargs, changed, &message), 0) << i;
      EXPECT_EQ(message, "tvfdclib: " + row.name + " has wrong argument types.");
    }
  }
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
  FILE *nm = popen("nm -D --defined-only " TVF_LIBRARY_PATH " 2>/dev/null", "r");
  ASSERT_NE(nm, nullptr);
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, nm) != nullptr) {
    char address[64], kind[8], name[400];
    if (std::sscanf(line, "%63s %7s %399s", address, kind, name) == 3 && std::string(kind) == "T") {
      exported.insert(name);
    }
  }
  if (pclose(nm) != 0 && exported.empty()) GTEST_SKIP() << "nm is not available";
  EXPECT_EQ(exported, expected);
}

}  // namespace
}  // namespace tvf_test
