// The interface version and signature check that clients loading the library at run time rely on.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tvbcclib.h"

namespace {

#define TVB_UNPAREN(...) __VA_ARGS__
// Every row of the operation table (name and signature), whether or not its area is built: the check answers
// for all of them.
const std::vector<std::pair<const char*, std::vector<int>>> kRows = {
#define TVB_LABELS_IN
#define TVB_LABELS_OUT
#define TVB_OP(area, Name, lower, result, params, args, sig, family) {"tvb" #Name, {TVB_UNPAREN sig}},
#include "tvbcclib_operations.h"
#undef TVB_OP
};

// What c__xcheck answers, as "<result>:<message>".
std::string check(const char* name, int n, const int* sig) {
  char msg[TRV_SSSIZE] = "junk";
  const int rc = c__xcheck(name, n, sig, msg);
  return std::to_string(rc) + ":" + msg;
}

TEST(InterfaceCheck, EveryOperationIsConfirmedWithItsOwnSignatureOnly) {
  for (const auto& [name, signature] : kRows) {
    SCOPED_TRACE(name);
    const int n = static_cast<int>(signature.size()) - 1;
    EXPECT_EQ("1:", check(name, n, signature.data()));
    for (size_t i = 0; i < signature.size(); ++i) {
      std::vector<int> altered = signature;
      altered[i] = altered[i] == 1 ? 2 : 1;
      EXPECT_EQ(std::string("0:tvbcclib: ") + name + " has wrong argument types.", check(name, n, altered.data()));
    }
    EXPECT_EQ(std::string("0:tvbcclib: ") + name + " has wrong number of arguments.",
              check(name, n + 1, signature.data()));
  }
}

// Names are case sensitive; the message of a long one is cut.
TEST(InterfaceCheck, UnknownNamesAreRefused) {
  int sig[] = {15, 1, 14};
  EXPECT_EQ("0:tvbcclib: tvbgetlevel cannot be found in library.", check("tvbgetlevel", 2, sig));
  EXPECT_EQ(2u + 255u, check(std::string(400, 'n').c_str(), 2, sig).size());
}

TEST(InterfaceCheck, TheClientsVersionIsAnsweredByAge) {
  const struct {
    int version, rc, code;
    const char* message;
  } rows[] = {{1, 0, 0, "tvbcclib: The API is too old for the used library, API version: 1, library version: 2"},
              {2, 1, 1, "tvbcclib: Client version and DLL version are the same."},
              {3, 1, 3, "tvbcclib: Client version is newer than this DLL."}};
  char msg[TRV_SSSIZE];
  for (const auto& row : rows) {
    int code = -1;
    EXPECT_EQ(row.rc, c__xapiversion(row.version, msg, &code));
    EXPECT_EQ(row.code, code);
    EXPECT_STREQ(row.message, msg);
  }
}

// The d__ forms of both entries take the name and give the message length-prefixed.
TEST(InterfaceCheck, LengthPrefixedFormsReadTheNameOnlyToItsLength) {
  char msg[TRV_SSSIZE];
  const auto lp = [&] { return std::string(msg + 1, static_cast<unsigned char>(msg[0])); };
  int code;
  EXPECT_EQ(1, d__tvbxapiversion(2, msg, &code));
  EXPECT_EQ("tvbcclib: Client version and DLL version are the same.", lp());
  EXPECT_EQ(0, d__xapiversion(0, msg, &code));
  char name[TRV_SSSIZE] = "\x0btvbGetLevelX";  // only "tvbGetLevel" counts
  int sig[] = {15, 1, 14};
  EXPECT_EQ(1, d__xcheck(name, 2, sig, msg));
  EXPECT_EQ("", lp());
  EXPECT_EQ(0, d__tvbxcheck(name, 3, sig, msg));
  EXPECT_EQ("tvbcclib: tvbGetLevel has wrong number of arguments.", lp());
}

}  // namespace
