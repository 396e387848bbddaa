// The data-exchange operations through their other entry families: length-prefixed file names (d__ and the
// underscore names that alias them) and the underscore names of the operations without strings.
#include <cstring>
#include <string>

#include "exchange/exchange_support.h"

namespace {

using exchange_test::Database;
using exchange_test::dump;
using exchange_test::ScratchDir;

// A 256-byte length-prefixed copy of text.
struct LengthPrefixed {
  explicit LengthPrefixed(const std::string& text) {
    buffer[0] = static_cast<char>(text.size());
    std::memcpy(buffer + 1, text.data(), text.size());
  }
  char buffer[TRV_SSSIZE] = {};
};

TEST(ExchangeEntryFamilies, FileNamesTravelLengthPrefixed) {
  ScratchDir dir;
  std::string path = dir.path("families.tvf");
  Database source;
  source.record(source.add("p", 1, TRV_DT_PAR), {"a"}, {1.5});
  ASSERT_EQ(1, d__tvbwritetvf(source, LengthPrefixed(path).buffer, 0)) << source.lastError();
  ASSERT_EQ(1, tvbwritetvf_(source, LengthPrefixed(path).buffer, 1)) << source.lastError();

  Database viaD, viaUnderscore;
  ASSERT_EQ(1, d__tvbinitfromtvf(viaD, LengthPrefixed(path).buffer)) << viaD.lastError();
  ASSERT_EQ(1, tvbinitfromtvf_(viaUnderscore, LengthPrefixed(path).buffer)) << viaUnderscore.lastError();
  EXPECT_EQ(dump(source), dump(viaD));
  EXPECT_EQ(1, tvbclosetvf_(viaD, 0));

  Database copy;
  EXPECT_EQ(1, tvbinitfromdb_(copy, viaUnderscore));
  EXPECT_EQ(dump(source), dump(copy));

  // A length-prefixed name is not read past its length.
  LengthPrefixed trailing(path);
  std::strcpy(trailing.buffer + 1 + path.size(), ".extra");
  Database again;
  ASSERT_EQ(1, d__tvbinitfromtvf(again, trailing.buffer)) << again.lastError();
}

}  // namespace
