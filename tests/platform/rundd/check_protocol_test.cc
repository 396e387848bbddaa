// The loader's protocol as the four libraries answer it: version agreement, the signature check for every
// operation of their tables, and the exported entries under their lookup names and nothing else.
#include <set>
#include <string>
#include <vector>

#include "rundd_test_support.h"
#include "support/exported_functions.h"
#include "support/signature_check.h"

namespace rundd_test {
namespace {

struct Row {
  std::string name;
  std::string lookup;
  std::vector<int> signature;
};

using tvbtest::CheckEntry;
using VersionEntry = int (*)(int, char *, int *);

struct Library {
  const char *prefix;
  CheckEntry check;
  VersionEntry version;
  int api;
  size_t called;  // operations that tvbcclib calls
  std::vector<Row> rows;
};

#define RUNDD_CODES(...) __VA_ARGS__
#define RUNDD_ROW(name, lookup, result, parameters, arguments, signature) {#name, #lookup, {RUNDD_CODES signature}},
#define TVP_OP RUNDD_ROW
#define TVH_OP RUNDD_ROW
#define DCT_OP RUNDD_ROW
#define CFG_OP RUNDD_ROW
// clang-format off
const Library kLibraries[] = {
    {"tvp", CtvpXCheck, CtvpXAPIVersion, 16, 40, {
#include "tvp_operations.h"
#include "tvp_extra_operations.h"
    }},
    {"tvh", CtvhXCheck, CtvhXAPIVersion, 6, 3, {
#include "tvh_operations.h"
#include "tvh_extra_operations.h"
    }},
    {"dct", CdctXCheck, CdctXAPIVersion, 1, 14, {
#include "dct_operations.h"
#include "dct_extra_operations.h"
    }},
    {"cfg", CcfgXCheck, CcfgXAPIVersion, 1, 8, {
#include "cfg_operations.h"
#include "cfg_extra_operations.h"
    }},
};
// clang-format on
#undef TVP_OP
#undef TVH_OP
#undef DCT_OP
#undef CFG_OP
#undef RUNDD_ROW
#undef RUNDD_CODES

using tvbtest::Check;

TEST(CheckProtocol, EveryOperationIsConfirmedWithItsOwnSignatureOnlyByItsOwnLibrary) {
  for (const Library &library : kLibraries) {
    ASSERT_GE(library.rows.size(), library.called);
    for (const Row &row : library.rows) {
      tvbtest::ExpectOnlyItsOwnSignatureConfirmed(library.check, "runddclib", row.name, row.lookup, row.signature);
      const int nargs = static_cast<int>(row.signature.size()) - 1;
      std::string message;
      for (const Library &other : kLibraries) {
        if (&other == &library) continue;
        EXPECT_EQ(Check(other.check, row.name, nargs, row.signature, &message), 0) << other.prefix;
        EXPECT_EQ(message, "runddclib: " + row.name + " cannot be found in library.");
      }
    }
  }
}

TEST(CheckProtocol, EachLibraryAcceptsItsOwnVersionAndNewerOnes) {
  for (const Library &library : kLibraries) {
    SCOPED_TRACE(library.prefix);
    char msg[256];
    int compatibility = 0;
    EXPECT_EQ(library.version(library.api, msg, &compatibility), 1);
    EXPECT_EQ(compatibility, 1);
    EXPECT_EQ(library.version(library.api + 1, msg, &compatibility), 1);
    EXPECT_EQ(compatibility, 3);
    EXPECT_EQ(library.version(library.api - 1, msg, &compatibility), 0);
    EXPECT_EQ(std::string(msg), "runddclib: client API version " + std::to_string(library.api - 1) +
                                    " is older than the " + library.prefix + " library's API version " +
                                    std::to_string(library.api) + ", which it needs");
    EXPECT_EQ(library.version(library.api, nullptr, nullptr), 1);
  }
}

TEST(CheckProtocol, TheLibraryExportsTheMandatoryEntriesAndEveryLookupNameAndNothingElse) {
  std::set<std::string> expected;
  for (const Library &library : kLibraries) {
    const std::string p = library.prefix;
    for (const std::string &entry : {p + "XCreate", p + "XFree", "C" + p + "XCheck", "C" + p + "XAPIVersion"}) {
      expected.insert(entry);
    }
    if (p != "cfg") expected.insert("C" + p + "XCreateD");
    for (const Row &row : library.rows) expected.insert(row.lookup);
  }
  const std::set<std::string> exported = tvbtest::ExportedFunctions(RUNDD_LIBRARY_PATH);
  if (exported.empty()) GTEST_SKIP() << "nm is not available";
  EXPECT_EQ(exported, expected);
}

}  // namespace
}  // namespace rundd_test
