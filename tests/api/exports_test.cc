// The built library exports exactly the entries that the operation table and the fixed entries imply, and the
// public header declares exactly those.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "tvbcclib.h"
#include "tvbcclib_fixed_entries.h"

namespace {

std::set<std::string> expectedExports() {
  std::set<std::string> names = {"n__tvbgetdomain", "n__tvbgetkeys"};
#define TVB_LABELS_IN
#define TVB_LABELS_OUT
#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_IF_BUILT(area, names.insert("c__tvb" #lower); EXPECTED_FAMILY_##family(lower))
#define EXPECTED_FAMILY_C(lower) names.insert("tvb" #lower "_");
#define EXPECTED_FAMILY_D(lower) names.insert({"tvb" #lower "_", "d__tvb" #lower});
#define EXPECTED_FAMILY_CO(lower)
#include "tvbcclib_operations.h"
#undef TVB_OP
#define TVB_FIXED_NAME(result, name, target, params) names.insert(#name);
  TVB_FIXED_ENTRIES(TVB_FIXED_NAME)
  return names;
}

// Names in expected but not in actual are reported as missing, the others as unexpected.
void ExpectSameNames(const std::set<std::string>& expected, const std::set<std::string>& actual, const char* missing,
                     const char* unexpected) {
  for (const std::string& name : expected) EXPECT_TRUE(actual.count(name)) << missing << name;
  for (const std::string& name : actual) EXPECT_TRUE(expected.count(name)) << unexpected << name;
}

TEST(Exports, DynamicSymbolTableHoldsExactlyTheEntriesOfTheOperationTable) {
  std::set<std::string> actual;
  FILE* pipe = popen((std::string("nm -D --defined-only ") + TVBCCLIB_PATH).c_str(), "r");
  ASSERT_NE(nullptr, pipe);
  char line[512], kind, name[400];
  while (std::fgets(line, sizeof line, pipe)) {
    if (std::sscanf(line, "%*s %c %399s", &kind, name) == 2 && kind != 'A') actual.insert(name);
  }
  pclose(pipe);
  ASSERT_FALSE(actual.empty()) << "could not read the symbols of " << TVBCCLIB_PATH;
  ExpectSameNames(expectedExports(), actual, "missing export ", "unexpected export ");
}

TEST(Exports, FamilyNamesOfOneEntryShareItsAddress) {
  void* lib = dlopen(TVBCCLIB_PATH, RTLD_NOW);
  ASSERT_NE(nullptr, lib) << dlerror();
  EXPECT_EQ(dlsym(lib, "c__tvbgetlevel"), dlsym(lib, "tvbgetlevel_"));
  EXPECT_EQ(dlsym(lib, "d__tvbaddrecord"), dlsym(lib, "tvbaddrecord_"));
  EXPECT_NE(dlsym(lib, "c__tvbaddrecord"), dlsym(lib, "tvbaddrecord_"));
  EXPECT_EQ(dlsym(lib, "xcreate"), dlsym(lib, "tvbxcreate_"));
  EXPECT_EQ(dlsym(lib, "d__xcheck"), dlsym(lib, "d__tvbxcheck"));
  EXPECT_EQ(nullptr, dlsym(lib, "tvbinitfromcmex_"));
  dlclose(lib);
}

// The compiler holds each declaration to its table row; this finds the ones that have no row.
TEST(Exports, PublicHeaderDeclaresExactlyTheExportedEntries) {
  std::ifstream header(TVBCCLIB_HEADER);
  ASSERT_TRUE(header) << "cannot read " << TVBCCLIB_HEADER;
  // A prototype starts a line with its result type; comments, macros and continuations do not.
  const std::regex prototype(R"(^(?!typedef)\w+ \*?(\w+)\()");
  std::set<std::string> declared;
  std::smatch match;
  for (std::string line; std::getline(header, line);)
    if (std::regex_search(line, match, prototype)) declared.insert(match[1]);
  ExpectSameNames(expectedExports(), declared, "not declared in tvbcclib.h: ", "declared but not exported: ");
}

}  // namespace
