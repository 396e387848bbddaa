// The dictionary of a loaded model: symbols and labels from the row and column names, their numbering,
// types, user information and texts, the keys of columns and rows, and enumerations.
#include "rundd_test_support.h"

namespace rundd_test {
namespace {

std::string SymName(dctHandle_t d, int nr) {
  char name[64];
  CdctSymName(d, nr, name, sizeof name);
  return name;
}

std::string Label(dctHandle_t d, int nr, char *quote = nullptr) {
  char label[64], q;
  CdctUelLabel(d, nr, quote != nullptr ? quote : &q, label, sizeof label);
  return label;
}

TEST(Dictionary, SymbolsComeInOrderWithTypeDimensionUserInfoAndText) {
  Instance model;
  ASSERT_EQ(model.Load("transport.mod"), 1);
  dctHandle_t d = model.dict();
  struct Expected {
    const char *name;
    int type, dim, user_info;
    const char *text;
  };
  const Expected symbols[] = {
      {"x", RUNDD_DCT_VARIABLE, 2, RUNDD_VAR_POSITIVE, "shipment quantities in cases"},
      {"cost", RUNDD_DCT_EQUATION, 0, RUNDD_EQU_FREE, "total transportation costs in thousands of dollars"},
      {"supply", RUNDD_DCT_EQUATION, 1, RUNDD_EQU_LESS, "observe supply limit at plant i"},
      {"demand", RUNDD_DCT_EQUATION, 1, RUNDD_EQU_GREATER, "satisfy demand at market j"},
  };
  ASSERT_EQ(dctNLSyms(d), 4);
  for (int nr = 1; nr <= 4; ++nr) {
    const Expected &e = symbols[nr - 1];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(SymName(d, nr), e.name);
    EXPECT_EQ(dctSymType(d, nr), e.type);
    EXPECT_EQ(dctSymDim(d, nr), e.dim);
    EXPECT_EQ(dctSymUserInfo(d, nr), e.user_info);
    char text[256], quote;
    EXPECT_EQ(CdctSymText(d, nr, &quote, text, sizeof text), 1);
    EXPECT_STREQ(text, e.text);
  }
  EXPECT_EQ(CdctSymIndex(d, "SUPPLY"), 3) << "names are matched without regard to letter case";
  EXPECT_EQ(CdctSymIndex(d, "a"), 0) << "parameters are not in the dictionary";

  Instance integer;
  ASSERT_EQ(integer.Load("integer.mod"), 1);
  const int user_info[] = {RUNDD_VAR_BINARY, RUNDD_VAR_INTEGER, RUNDD_VAR_NEGATIVE, RUNDD_VAR_POSITIVE};
  for (int nr = 1; nr <= 4; ++nr) EXPECT_EQ(dctSymUserInfo(integer.dict(), nr), user_info[nr - 1]) << nr;
  Instance features;
  ASSERT_EQ(features.Load("features.mod"), 1);
  EXPECT_EQ(dctSymUserInfo(features.dict(), CdctSymIndex(features.dict(), "w")), RUNDD_VAR_FREE);
}

TEST(Dictionary, LabelsAreNumberedInOrderOfFirstAppearanceWithoutTheirQuotes) {
  Instance model;
  ASSERT_EQ(model.Load("transport.mod", "transport.dat"), 1);
  dctHandle_t d = model.dict();
  // x[seattle,'New York'], x[seattle,chicago], x['san diego','New York'], ...
  const std::vector<std::pair<std::string, char>> labels = {
      {"seattle", ' '}, {"New York", '\''}, {"chicago", ' '}, {"san diego", '\''}};
  ASSERT_EQ(dctNUels(d), 4);
  for (int nr = 1; nr <= 4; ++nr) {
    char quote = 0;
    EXPECT_EQ(Label(d, nr, &quote), labels[nr - 1].first);
    EXPECT_EQ(quote, labels[nr - 1].second);
  }
  int sym = 0, dim = 0, key[20];
  ASSERT_EQ(dctColUels(d, 2, &sym, key, &dim), 1);
  EXPECT_EQ(sym, 1);
  EXPECT_EQ(std::vector<int>(key, key + dim), (std::vector<int>{4, 2}));
  ASSERT_EQ(dctRowUels(d, 2, &sym, key, &dim), 1) << "supply['san diego']";
  EXPECT_EQ(sym, 3);
  EXPECT_EQ(std::vector<int>(key, key + dim), (std::vector<int>{4}));
}

TEST(Dictionary, EnumerationsFollowIndexOrderAndHonourFixedLabels) {
  Instance model;
  ASSERT_EQ(model.Load("transport.mod"), 1);
  dctHandle_t d = model.dict();
  struct Enumeration {
    const char *symbol;
    std::vector<int> uels;
    std::vector<int> expected;
  };
  // Labels: 1 seattle, 2 new-york, 3 chicago, 4 topeka, 5 san-diego.
  const Enumeration enumerations[] = {
      {"x", {0, 0}, {0, 1, 2, 3, 4, 5}},
      {"x", {5, 0}, {3, 4, 5}},
      {"x", {0, 3}, {1, 4}},
      {"x", {1, 1}, {}},
      {"cost", {}, {0}},
      {"demand", {0}, {3, 4, 5}},
  };
  for (const Enumeration &e : enumerations) {
    SCOPED_TRACE(e.symbol);
    std::vector<int> found;
    int index = 0;
    void *search = dctFindFirstRowCol(d, CdctSymIndex(d, e.symbol), e.uels.data(), &index);
    ASSERT_NE(search, nullptr);
    for (; index >= 0; dctFindNextRowCol(d, search, &index)) found.push_back(index);
    dctFindClose(d, search);
    EXPECT_EQ(found, e.expected);
  }
  int index = 0;
  dctFindFirstRowCol(d, 1, nullptr, &index);  // left open: freed with the dictionary
  EXPECT_EQ(index, 0);
}

}  // namespace
}  // namespace rundd_test
