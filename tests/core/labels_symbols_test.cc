// Labels and symbols: registration rules, letter case, names, dimensions, types, domains, lookups.
#include <string>

#include "support/database_fixture.h"

namespace {

using Labels = DatabaseTest;

TEST_F(Labels, LetterCaseAndTrailingBlanksMapToOneLabelKeepingTheFirstSpelling) {
  int a = 0, b = 0, c = 0;
  ASSERT_EQ(1, c__tvbmergeuel(db, "abc", &a));
  ASSERT_EQ(1, c__tvbmergeuel(db, "ABC  ", &b));
  EXPECT_EQ(1, a);
  EXPECT_EQ(a, b);
  char label[TRV_SSSIZE];
  ASSERT_EQ(1, c__tvbgetuelbyindex(db, 1, label));
  EXPECT_STREQ("abc", label);

  ASSERT_EQ(1, c__tvbmergeuel(db, "   ", &c));  // only blanks: one blank, a label of its own
  EXPECT_EQ(2, c);
  ASSERT_EQ(1, c__tvbgetuelbyindex(db, 2, label));
  EXPECT_STREQ(" ", label);
  ASSERT_EQ(1, c__tvbmergeuel(db, "", &c));  // the empty label is valid
  EXPECT_EQ(3, c);
  ASSERT_EQ(1, c__tvbmergeuel(db, "  lead", &c));  // leading blanks are kept
  ASSERT_EQ(1, c__tvbgetuelbyindex(db, 4, label));
  EXPECT_STREQ("  lead", label);
}

TEST_F(Labels, LengthAndQuoteRules) {
  int nr = -7;
  std::string max(63, 'x');
  EXPECT_EQ(1, c__tvbmergeuel(db, max.c_str(), &nr));
  EXPECT_EQ(1, c__tvbmergeuel(db, (max + "   ").c_str(), &nr));
  EXPECT_EQ(1, nr);
  std::string tooLong(64, 'y');
  nr = -7;
  EXPECT_EQ(0, c__tvbmergeuel(db, tooLong.c_str(), &nr));
  EXPECT_EQ("Label exceeds maximum size of 63: >" + tooLong + "<", lastError());
  EXPECT_EQ(-7, nr);  // untouched on failure
  EXPECT_EQ(1, c__tvbmergeuel(db, "it's", &nr));
  EXPECT_EQ(1, c__tvbmergeuel(db, "say \"hi\"", &nr));
  EXPECT_EQ(0, c__tvbmergeuel(db, "it's \"x\"", &nr));
  EXPECT_EQ("Label with single and double quote not allowed >it's \"x\"<", lastError());
  int count = 0;
  double d;
  char text[TRV_SSSIZE];
  c__tvbinfo(db, TRV_INFO_UEL_COUNT, &count, &d, text);
  EXPECT_EQ(3, count);  // failed checks registered nothing
}

TEST_F(Labels, NumbersOutsideTheTableAreRefused) {
  int nr;
  c__tvbmergeuel(db, "a", &nr);
  c__tvbmergeuel(db, "b", &nr);
  char label[TRV_SSSIZE] = "unchanged";
  EXPECT_EQ(0, c__tvbgetuelbyindex(db, 0, label));
  EXPECT_EQ("Uel index 0 out of range [1,2]", lastError());
  EXPECT_EQ(0, c__tvbgetuelbyindex(db, 3, label));
  EXPECT_EQ("Uel index 3 out of range [1,2]", lastError());
  EXPECT_STREQ("unchanged", label);
}

TEST_F(Labels, ManyLabelsStayFindableAcrossTableGrowth) {
  char label[32];
  for (int i = 0; i < 20000; ++i) {
    int nr = 0;
    std::snprintf(label, sizeof label, "Label%d", i);
    ASSERT_EQ(1, c__tvbmergeuel(db, label, &nr));
    ASSERT_EQ(i + 1, nr);
  }
  for (int i = 0; i < 20000; i += 997) {
    int nr = 0;
    std::snprintf(label, sizeof label, "LABEL%d", i);
    ASSERT_EQ(1, c__tvbmergeuel(db, label, &nr));
    EXPECT_EQ(i + 1, nr);
  }
}

using Symbols = DatabaseTest;

TEST_F(Symbols, DimensionAndTypeRulesInCheckingOrder) {
  tvbSymbol* sym = reinterpret_cast<tvbSymbol*>(0x1);
  EXPECT_EQ(0, c__tvbaddsymbol(db, "s", 0, TRV_DT_SET, 0, "", &sym));
  EXPECT_EQ("Dimension must be greater than 0 for a Set", lastError());
  EXPECT_EQ(0, c__tvbaddsymbol(db, "p", 21, TRV_DT_PAR, 0, "", &sym));
  EXPECT_EQ("Dimension must be greater or equal 0 and smaller or equal 20 (saw 21)", lastError());
  EXPECT_EQ(0, c__tvbaddsymbol(db, "p", -1, TRV_DT_PAR, 0, "", &sym));
  EXPECT_EQ("Dimension must be greater or equal 0 and smaller or equal 20 (saw -1)", lastError());
  EXPECT_EQ(0, c__tvbaddsymbol(db, nullptr, 1, TRV_DT_PAR, 0, "", &sym));
  EXPECT_EQ("Name of symbol cannot be NULL", lastError());
  EXPECT_EQ(0, c__tvbaddsymbol(db, "p", 1, 7, 0, "", &sym));
  EXPECT_EQ("Symbol type 7 is not valid: use 0 (set), 1 (parameter), 2 (variable) or 3 (equation)", lastError());
  EXPECT_EQ(0, c__tvbaddsymbol(db, "x", 1, TRV_DT_ALIAS, 0, "", &sym));
  EXPECT_EQ(0, c__tvbaddsymbol(db, "v", 1, TRV_DT_VAR, 10, "", &sym));
  EXPECT_EQ("Variable type 10 of symbol v is not valid: use 0 to 9", lastError());
  EXPECT_EQ(0, c__tvbaddsymbol(db, "e", 1, TRV_DT_EQU, -1, "", &sym));
  EXPECT_EQ("Equation type -1 of symbol e is not valid: use 0 to 5", lastError());

  EXPECT_EQ(1, c__tvbaddsymbol(db, "scalar", 0, TRV_DT_PAR, 0, "", &sym));
  EXPECT_EQ(1, c__tvbaddsymbol(db, "wide", 20, TRV_DT_VAR, TRV_VAR_FREE, "", &sym));
  EXPECT_EQ(1, c__tvbaddsymbol(db, "anyinfo", 1, TRV_DT_PAR, -12345, "", &sym));
}

TEST_F(Symbols, NamesAreCheckedAndUniqueRegardlessOfCase) {
  tvbSymbol* sym;
  std::string longest(63, 'n');
  for (const char* good : {"a", "Abc_12", "x_", longest.c_str()}) {
    SCOPED_TRACE(good);
    EXPECT_EQ(1, c__tvbaddsymbol(db, good, 1, TRV_DT_PAR, 0, "", &sym)) << lastError();
  }
  std::string tooLong(64, 'm');
  for (const char* bad : {"1a", "_a", "a-b", "", tooLong.c_str(), "a b"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(0, c__tvbaddsymbol(db, bad, 1, TRV_DT_PAR, 0, "", &sym));
    EXPECT_EQ("'" + std::string(bad) + "' is not a valid name for a TORV symbol", lastError());
  }
  EXPECT_EQ(0, c__tvbaddsymbol(db, "ABC_12", 2, TRV_DT_SET, 0, "", &sym));
  EXPECT_EQ("Symbol ABC_12 exists already", lastError());
  tvbSymbol* found = nullptr;
  ASSERT_EQ(1, c__tvbfindsymbol(db, "abc_12", &found));
  char name[TRV_SSSIZE];
  int unusedInt;
  double unusedDouble;
  ASSERT_EQ(1, c__tvbsymbolinfo(db, found, TRV_SYMINFO_NAME, &unusedInt, &unusedDouble, name));
  EXPECT_STREQ("Abc_12", name);
}

TEST_F(Symbols, ExplanatoryTextUpTo255Characters) {
  tvbSymbol* sym;
  std::string text(255, 't');
  EXPECT_EQ(1, c__tvbaddsymbol(db, "ok", 1, TRV_DT_SET, 0, text.c_str(), &sym));
  text += 't';
  EXPECT_EQ(0, c__tvbaddsymbol(db, "long", 1, TRV_DT_SET, 0, text.c_str(), &sym));
  EXPECT_EQ("Explanatory text too long. Max length is 255", lastError());
}

TEST_F(Symbols, FindByNameAndByIndex) {
  tvbSymbol* first = addSymbol("first", 1, TRV_DT_SET);
  tvbSymbol* second = addSymbol("second", 0, TRV_DT_PAR);
  tvbSymbol* sym = nullptr;
  ASSERT_EQ(1, c__tvbfindsymbol(db, "*", &sym));
  tvbSymbol* universe = sym;
  EXPECT_EQ(0, c__tvbfindsymbol(db, "universe", &sym));
  EXPECT_EQ("Cannot find symbol universe", lastError());
  EXPECT_EQ(nullptr, sym);
  EXPECT_EQ(0, c__tvbfindsymbol(db, nullptr, &sym));
  EXPECT_EQ("Symbol name cannot be NULL", lastError());

  ASSERT_EQ(1, c__tvbgetsymbolbyindex(db, 0, &sym));
  EXPECT_EQ(first, sym);
  ASSERT_EQ(1, c__tvbgetsymbolbyindex(db, 1, &sym));
  EXPECT_EQ(second, sym);
  ASSERT_EQ(1, c__tvbgetsymbolbyindex(db, -1, &sym));
  EXPECT_EQ(universe, sym);
  EXPECT_EQ(0, c__tvbgetsymbolbyindex(db, 2, &sym));
  EXPECT_EQ("Symbol index 2 is out of range", lastError());
  EXPECT_EQ(0, c__tvbgetsymbolbyindex(db, -2, &sym));

  int status = 0;
  EXPECT_EQ(second, c__tvbfindsymbolpy(db, "SECOND", &status));
  EXPECT_EQ(1, status);
  EXPECT_EQ(nullptr, c__tvbgetsymbolbyindexpy(db, 9, &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ(1, intInfo(second, TRV_SYMINFO_NUMBER));
  EXPECT_EQ(0, intInfo(first, TRV_SYMINFO_NUMBER));
}

TEST_F(Symbols, DomainsOfSetsUniverseAndRelaxedNames) {
  tvbSymbol* i = addSymbol("i", 1, TRV_DT_SET);
  tvbSymbol* universe;
  c__tvbfindsymbol(db, "*", &universe);
  tvbSymbol* domains[3] = {i, nullptr, nullptr};
  const char* names[3] = {"", "j", "*"};
  tvbSymbol* x = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbolx(db, "x", 3, TRV_DT_PAR, 0, "", domains, names, &x)) << lastError();

  tvbSymbol* got[3];
  char buffers[3][TRV_SSSIZE];
  char* gotNames[3] = {buffers[0], buffers[1], buffers[2]};
  ASSERT_EQ(1, c__tvbgetdomain(db, x, 3, got, gotNames));
  EXPECT_EQ(i, got[0]);
  EXPECT_STREQ("i", gotNames[0]);
  EXPECT_EQ(nullptr, got[1]);
  EXPECT_STREQ("j", gotNames[1]);
  EXPECT_EQ(universe, got[2]);
  EXPECT_STREQ("*", gotNames[2]);

  tvbSymbol* plain = addSymbol("plain", 2, TRV_DT_VAR);
  ASSERT_EQ(1, c__tvbgetdomain(db, plain, 2, got, gotNames));
  EXPECT_EQ(universe, got[0]);
  EXPECT_STREQ("*", gotNames[1]);

  EXPECT_EQ(0, c__tvbgetdomain(db, universe, 1, got, gotNames));
  EXPECT_EQ("The Universe has no domain", lastError());
  EXPECT_EQ(0, c__tvbgetdomain(db, nullptr, 1, got, gotNames));
  EXPECT_EQ("No symbol handle specified", lastError());
}

TEST_F(Symbols, UnacceptableDomainSets) {
  tvbSymbol* twoDim = addSymbol("pairs", 2, TRV_DT_SET);
  tvbSymbol* par = addSymbol("par", 1, TRV_DT_PAR);
  tvbHandle* other = nullptr;
  ASSERT_EQ(1, xcreate(&other));
  tvbSymbol* foreign = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(other, "f", 1, TRV_DT_SET, 0, "", &foreign));
  tvbSymbol* foreignUniverse = nullptr;
  ASSERT_EQ(1, c__tvbfindsymbol(other, "*", &foreignUniverse));

  const char* names[1] = {""};
  tvbSymbol* sym;
  struct Case {
    tvbSymbol* domain;
    const char* message;
  } cases[] = {{twoDim, "1 <> Dim of Symbol pairs"},
               {foreignUniverse, "Universe from different database"},
               {foreign, "Symbol f not in this database"},
               {par, "Symbol par not a set"}};
  for (const Case& c : cases) {
    tvbSymbol* domains[1] = {c.domain};
    EXPECT_EQ(0, c__tvbaddsymbolx(db, "y", 1, TRV_DT_PAR, 0, "", domains, names, &sym));
    EXPECT_EQ(c.message, lastError());
  }
  int count;
  double d;
  char text[TRV_SSSIZE];
  c__tvbinfo(db, TRV_INFO_SYMBOL_COUNT, &count, &d, text);
  EXPECT_EQ(2, count);
  xfree(&other);
}

}  // namespace
