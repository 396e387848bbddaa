// Labels and symbols: registration rules, letter case, names, dimensions, types, domains, lookups.
#include <string>
#include <tuple>

#include "support/database_fixture.h"

namespace {

using Labels = DatabaseTest;

// Labels merged in turn: the number each gets and the spelling kept, or (number 0) the refusal message.
TEST_F(Labels, LetterCaseBlanksLengthQuotesAndManyLabels) {
  const std::string max(63, 'x'), tooLong(64, 'y');
  for (const auto& [label, number, expected] : std::vector<std::tuple<std::string, int, std::string>>{
           {"abc", 1, "abc"},
           {"ABC  ", 1, "abc"},      // letter case and trailing blanks: the same label, first spelling kept
           {"   ", 2, " "},          // only blanks: one blank, a label of its own
           {"", 3, ""},              // the empty label is valid
           {"  lead", 4, "  lead"},  // leading blanks are kept
           {max, 5, max},
           {max + "   ", 5, max},
           {"it's", 6, "it's"},
           {"say \"hi\"", 7, "say \"hi\""},
           {tooLong, 0, "Label exceeds maximum size of 63: >" + tooLong + "<"},
           {"it's \"x\"", 0, "Label with single and double quote not allowed >it's \"x\"<"}}) {
    SCOPED_TRACE(label);
    int nr = -7;  // untouched on failure
    char text[TRV_SSSIZE] = "";
    EXPECT_EQ(number != 0, c__tvbmergeuel(db, label.c_str(), &nr));
    EXPECT_EQ(number ? number : -7, nr);
    EXPECT_EQ(expected, number ? (c__tvbgetuelbyindex(db, nr, text), text) : lastError());
  }
  EXPECT_EQ(7, dbInfo(TRV_INFO_UEL_COUNT));  // failed checks registered nothing
  char text[TRV_SSSIZE] = "unchanged";
  for (int nr : {0, 8}) {
    EXPECT_EQ("Uel index " + std::to_string(nr) + " out of range [1,7]", errorOf(c__tvbgetuelbyindex(db, nr, text)));
  }
  EXPECT_STREQ("unchanged", text);

  // Many labels stay findable, regardless of case, as the table grows.
  char label[32];
  for (int i = 8; i < 20000; ++i) {
    std::snprintf(label, sizeof label, "Label%d", i);
    ASSERT_EQ(i, uel(label));
  }
  for (int i = 8; i < 20000; i += 997) {
    std::snprintf(label, sizeof label, "LABEL%d", i);
    EXPECT_EQ(i, uel(label));
  }
}

using Symbols = DatabaseTest;

// Symbols added in turn: accepted (no message), or refused with the message; names are unique regardless of
// case and keep the spelling they were added with.
TEST_F(Symbols, DimensionTypeNameAndTextRules) {
  const std::string text255(255, 't'), name63(63, 'n'), name64(64, 'm');
  const auto badName = [](const std::string& name) { return "'" + name + "' is not a valid name for a TORV symbol"; };
  const std::string badType = " is not valid: use 0 (set), 1 (parameter), 2 (variable) or 3 (equation)";
  const struct {
    const char* name;
    int dim, type, subtype;
    std::string text, message;
  } rows[] = {
      {"s", 0, TRV_DT_SET, 0, "", "Dimension must be greater than 0 for a Set"},
      {"p", 21, TRV_DT_PAR, 0, "", "Dimension must be greater or equal 0 and smaller or equal 20 (saw 21)"},
      {"p", -1, TRV_DT_PAR, 0, "", "Dimension must be greater or equal 0 and smaller or equal 20 (saw -1)"},
      {nullptr, 1, TRV_DT_PAR, 0, "", "Name of symbol cannot be NULL"},
      {"p", 1, 7, 0, "", "Symbol type 7" + badType},
      {"x", 1, TRV_DT_ALIAS, 0, "", "Symbol type 4" + badType},
      {"v", 1, TRV_DT_VAR, 10, "", "Variable type 10 of symbol v is not valid: use 0 to 9"},
      {"e", 1, TRV_DT_EQU, -1, "", "Equation type -1 of symbol e is not valid: use 0 to 5"},
      {"long", 1, TRV_DT_SET, 0, text255 + "t", "Explanatory text too long. Max length is 255"},
      {"1a", 1, TRV_DT_PAR, 0, "", badName("1a")},
      {"_a", 1, TRV_DT_PAR, 0, "", badName("_a")},
      {"a-b", 1, TRV_DT_PAR, 0, "", badName("a-b")},
      {"", 1, TRV_DT_PAR, 0, "", badName("")},
      {name64.c_str(), 1, TRV_DT_PAR, 0, "", badName(name64)},
      {"scalar", 0, TRV_DT_PAR, 0, "", ""},
      {"wide", 20, TRV_DT_VAR, TRV_VAR_FREE, "", ""},
      {"anyinfo", 1, TRV_DT_PAR, -12345, "", ""},  // the subtype of a parameter is free user information
      {"ok", 1, TRV_DT_SET, 0, text255, ""},
      {"a", 1, TRV_DT_PAR, 0, "", ""},
      {"Abc_12", 1, TRV_DT_PAR, 0, "", ""},
      {"x_", 1, TRV_DT_PAR, 0, "", ""},
      {name63.c_str(), 1, TRV_DT_PAR, 0, "", ""},
      {"ABC_12", 2, TRV_DT_SET, 0, "", "Symbol ABC_12 exists already"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name ? row.name : "(null)");
    tvbSymbol* sym = nullptr;
    const int rc = c__tvbaddsymbol(db, row.name, row.dim, row.type, row.subtype, row.text.c_str(), &sym);
    EXPECT_EQ(row.message.empty(), rc);
    EXPECT_EQ(row.message, rc ? "" : lastError());
  }
  EXPECT_EQ(8, dbInfo(TRV_INFO_SYMBOL_COUNT));
  tvbSymbol* found = nullptr;
  ASSERT_EQ(1, c__tvbfindsymbol(db, "abc_12", &found));
  char name[TRV_SSSIZE];
  int unusedInt;
  double unusedDouble;
  ASSERT_EQ(1, c__tvbsymbolinfo(db, found, TRV_SYMINFO_NAME, &unusedInt, &unusedDouble, name));
  EXPECT_STREQ("Abc_12", name);
}

TEST_F(Symbols, FindByNameAndByIndex) {
  tvbSymbol* first = addSymbol("first", 1, TRV_DT_SET);
  tvbSymbol* second = addSymbol("second", 0, TRV_DT_PAR);
  tvbSymbol* sym = nullptr;
  EXPECT_EQ("Cannot find symbol universe", errorOf(c__tvbfindsymbol(db, "universe", &sym)));
  EXPECT_EQ(nullptr, sym);
  EXPECT_EQ("Symbol name cannot be NULL", errorOf(c__tvbfindsymbol(db, nullptr, &sym)));
  for (auto [index, expected] : {std::pair{0, first}, {1, second}, {-1, universe()}, {2, nullptr}, {-2, nullptr}}) {
    SCOPED_TRACE(index);
    const int rc = c__tvbgetsymbolbyindex(db, index, &sym);
    EXPECT_EQ(expected ? "" : "Symbol index " + std::to_string(index) + " is out of range", rc ? "" : lastError());
    EXPECT_EQ(expected, rc ? sym : nullptr);
  }
  int status = 0;
  EXPECT_EQ(second, c__tvbfindsymbolpy(db, "SECOND", &status));
  EXPECT_EQ(1, status);
  EXPECT_EQ(nullptr, c__tvbgetsymbolbyindexpy(db, 9, &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ(1, intInfo(second, TRV_SYMINFO_NUMBER));
  EXPECT_EQ(0, intInfo(first, TRV_SYMINFO_NUMBER));
}

TEST_F(Symbols, DomainsOfSetsUniverseAndRelaxedNamesAndRefusedDomains) {
  tvbSymbol* i = addSymbol("i", 1, TRV_DT_SET);
  tvbSymbol *domains[3] = {i, nullptr, nullptr}, *x = nullptr, *got[3];
  const char* names[3] = {"", "j", "*"};
  ASSERT_EQ(1, c__tvbaddsymbolx(db, "x", 3, TRV_DT_PAR, 0, "", domains, names, &x)) << lastError();
  char buffers[3][TRV_SSSIZE];
  char* gotNames[3] = {buffers[0], buffers[1], buffers[2]};
  ASSERT_EQ(1, c__tvbgetdomain(db, x, 3, got, gotNames));
  EXPECT_EQ((std::vector<tvbSymbol*>{i, nullptr, universe()}), std::vector<tvbSymbol*>(got, got + 3));
  EXPECT_EQ((std::vector<std::string>{"i", "j", "*"}), std::vector<std::string>(gotNames, gotNames + 3));
  ASSERT_EQ(1, c__tvbgetdomain(db, addSymbol("plain", 2, TRV_DT_VAR), 2, got, gotNames));
  EXPECT_EQ(universe(), got[0]);
  EXPECT_STREQ("*", gotNames[1]);
  EXPECT_EQ("The Universe has no domain", errorOf(c__tvbgetdomain(db, universe(), 1, got, gotNames)));
  EXPECT_EQ("No symbol handle specified", errorOf(c__tvbgetdomain(db, nullptr, 1, got, gotNames)));

  // Domains that are refused.
  tvbHandle* other = nullptr;
  ASSERT_EQ(1, xcreate(&other));
  tvbSymbol* foreign = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(other, "f", 1, TRV_DT_SET, 0, "", &foreign));
  for (auto [domain, message] : {std::pair{addSymbol("pairs", 2, TRV_DT_SET), "1 <> Dim of Symbol pairs"},
                                 {universe(other), "Universe from different database"},
                                 {foreign, "Symbol f not in this database"},
                                 {addSymbol("par", 1, TRV_DT_PAR), "Symbol par not a set"}}) {
    tvbSymbol* sym;
    EXPECT_EQ(message, errorOf(c__tvbaddsymbolx(db, "y", 1, TRV_DT_PAR, 0, "", &domain, names, &sym)));
  }
  EXPECT_EQ(5, dbInfo(TRV_INFO_SYMBOL_COUNT));  // no "y"
  xfree(&other);
}

}  // namespace
