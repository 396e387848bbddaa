// The interface version and signature check that clients loading the library at run time rely on.
#include <gtest/gtest.h>

#include <cstring>

#include <string>
#include <vector>

#include "tvbcclib.h"

namespace {

#define TVB_UNPAREN(...) __VA_ARGS__
struct Row {
  const char* name;
  std::vector<int> signature;
};
// Every row of the operation table, whether or not its area is built: the check answers for all of them.
const std::vector<Row> kRows = {
#define TVB_LABELS_IN
#define TVB_LABELS_OUT
#define TVB_OP(area, Name, lower, result, params, args, sig, family) {"tvb" #Name, {TVB_UNPAREN sig}},
#include "tvbcclib_operations.h"
#undef TVB_OP
};

std::string check(const char* name, int n, const int* sig, int* rc) {
  char msg[TRV_SSSIZE] = "junk";
  *rc = c__xcheck(name, n, sig, msg);
  return msg;
}

TEST(InterfaceCheck, AcceptsAllNinetyFourOperationsAndRefusesEachAlteration) {
  ASSERT_EQ(94u, kRows.size());
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    int n = static_cast<int>(row.signature.size()) - 1;
    int rc = -1;
    EXPECT_EQ("", check(row.name, n, row.signature.data(), &rc));
    EXPECT_EQ(1, rc);
    for (size_t i = 0; i < row.signature.size(); ++i) {
      std::vector<int> altered = row.signature;
      altered[i] = altered[i] == 1 ? 2 : 1;
      EXPECT_EQ(std::string("tvbcclib: ") + row.name + " has wrong argument types.",
                check(row.name, n, altered.data(), &rc));
      EXPECT_EQ(0, rc);
    }
    EXPECT_EQ(std::string("tvbcclib: ") + row.name + " has wrong number of arguments.",
              check(row.name, n + 1, row.signature.data(), &rc));
    EXPECT_EQ(0, rc);
  }
}

TEST(InterfaceCheck, NamesAreCaseSensitiveAndLongNamesAreCut) {
  int sig[] = {15, 1, 14};
  int rc;
  EXPECT_EQ("tvbcclib: tvbgetlevel cannot be found in library.", check("tvbgetlevel", 2, sig, &rc));
  EXPECT_EQ(0, rc);
  std::string longName(400, 'n');
  EXPECT_EQ(255u, check(longName.c_str(), 2, sig, &rc).size());
  int none[] = {15};
  EXPECT_EQ("", check("tvbStartWriteRecording", 0, none, &rc));
  EXPECT_EQ(1, rc);
  int wrongResult[] = {1, 1, 14};  // count right, result kind wrong: a type mismatch
  EXPECT_EQ("tvbcclib: tvbGetLevel has wrong argument types.", check("tvbGetLevel", 2, wrongResult, &rc));
}

TEST(InterfaceCheck, VersionAnswers) {
  char msg[TRV_SSSIZE];
  int code = -1;
  EXPECT_EQ(0, c__xapiversion(1, msg, &code));
  EXPECT_EQ(0, code);
  EXPECT_STREQ("tvbcclib: The API is too old for the used library, API version: 1, library version: 2", msg);
  EXPECT_EQ(1, c__xapiversion(2, msg, &code));
  EXPECT_EQ(1, code);
  EXPECT_STREQ("tvbcclib: Client version and DLL version are the same.", msg);
  EXPECT_EQ(1, c__xapiversion(3, msg, &code));
  EXPECT_EQ(3, code);
  EXPECT_STREQ("tvbcclib: Client version is newer than this DLL.", msg);
}

TEST(InterfaceCheck, LengthPrefixedFormsConvertNameAndMessage) {
  char name[TRV_SSSIZE];
  const char* plain = "tvbGetLevelX";
  name[0] = 11;  // only "tvbGetLevel" counts
  std::memcpy(name + 1, plain, 12);
  int sig[] = {15, 1, 14};
  char msg[TRV_SSSIZE];
  EXPECT_EQ(1, d__xcheck(name, 2, sig, msg));
  EXPECT_EQ(0, msg[0]);
  EXPECT_EQ(0, d__tvbxcheck(name, 3, sig, msg));
  std::string expected = "tvbcclib: tvbGetLevel has wrong number of arguments.";
  EXPECT_EQ(expected.size(), static_cast<unsigned char>(msg[0]));
  EXPECT_EQ(expected, std::string(msg + 1, msg[0]));
  int code;
  EXPECT_EQ(1, d__tvbxapiversion(2, msg, &code));
  EXPECT_EQ("tvbcclib: Client version and DLL version are the same.", std::string(msg + 1, msg[0]));
  EXPECT_EQ(0, d__xapiversion(0, msg, &code));
}

}  // namespace
