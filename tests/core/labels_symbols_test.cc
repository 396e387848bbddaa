// Labels and symbols: registration rules, letter case, names, dimensions, types, domains, lookups.
#include <string>
#include <tuple>

#include "support/database_fixture.h"

namespace {

class Labels : public DatabaseTest {
 protected:
  // "number spelling" of the label merged now, or the message of its refusal.
  std::string merge(const std::string& label) {
    int nr = -7;  // untouched on failure
    if (!c__tvbmergeuel(db, label.c_str(), &nr)) return (nr == -7 ? "" : "number set: ") + lastError();
    char text[TRV_SSSIZE];
    c__tvbgetuelbyindex(db, nr, text);
    return std::to_string(nr) + " " + text;
  }
  const std::string max = std::string(63, 'x');
};

TEST_F(Labels, LetterCaseAndTrailingBlanksMakeNoNewLabel) {
  EXPECT_EQ("1 abc", merge("abc"));
  EXPECT_EQ("1 abc", merge("ABC  "));
  EXPECT_EQ("2 " + max, merge(max));
  EXPECT_EQ("2 " + max, merge(max + "   "));
}

TEST_F(Labels, TrailingBlanksAreRemovedDownToOne) {
  EXPECT_EQ("1  ", merge("   "));
  EXPECT_EQ("2   lead", merge("  lead"));
}

TEST_F(Labels, TheEmptyLabelAndQuotesOfOneKindAreValid) {
  EXPECT_EQ("1 ", merge(""));
  EXPECT_EQ("2 it's", merge("it's"));
  EXPECT_EQ("3 say \"hi\"", merge("say \"hi\""));
}

TEST_F(Labels, OverlongOrDoublyQuotedLabelsAreRefused) {
  const std::string tooLong(64, 'y');
  EXPECT_EQ("Label exceeds maximum size of 63: >" + tooLong + "<", merge(tooLong));
  EXPECT_EQ("Label with single and double quote not allowed >it's \"x\"<", merge("it's \"x\""));
  EXPECT_EQ(0, dbInfo(TRV_INFO_UEL_COUNT));
}

TEST_F(Labels, NumbersOutsideTheTableAreRefused) {
  merge("a");
  char text[TRV_SSSIZE] = "unchanged";
  for (int nr : {0, 2}) {
    EXPECT_EQ("Uel index " + std::to_string(nr) + " out of range [1,1]", errorOf(c__tvbgetuelbyindex(db, nr, text)));
  }
  EXPECT_STREQ("unchanged", text);
}

TEST_F(Labels, ManyLabelsStayFindableInAnyLetterCase) {
  char label[32];
  for (int i = 1; i < 20000; ++i) {
    std::snprintf(label, sizeof label, "Label%d", i);
    ASSERT_EQ(i, uel(label));
  }
  for (int i = 1; i < 20000; i += 997) {
    std::snprintf(label, sizeof label, "LABEL%d", i);
    EXPECT_EQ(i, uel(label));
  }
}

class Symbols : public DatabaseTest {
 protected:
  // "" when the symbol is added, else the message of its refusal.
  std::string added(const char* name, int dim, int type, int subtype = 0, const std::string& text = "") {
    tvbSymbol* sym = nullptr;
    return c__tvbaddsymbol(db, name, dim, type, subtype, text.c_str(), &sym) ? "" : lastError();
  }
};

TEST_F(Symbols, BadDefinitionsAreRefusedWithTheirReason) {
  const auto badName = [](const std::string& name) { return "'" + name + "' is not a valid name for a TORV symbol"; };
  const std::string badType = " is not valid: use 0 (set), 1 (parameter), 2 (variable) or 3 (equation)";
  const std::string name64(64, 'm');
  const std::tuple<const char*, int, int, int, std::string, std::string> rows[] = {
      {"s", 0, TRV_DT_SET, 0, "", "Dimension must be greater than 0 for a Set"},
      {"p", 21, TRV_DT_PAR, 0, "", "Dimension must be greater or equal 0 and smaller or equal 20 (saw 21)"},
      {"p", -1, TRV_DT_PAR, 0, "", "Dimension must be greater or equal 0 and smaller or equal 20 (saw -1)"},
      {nullptr, 1, TRV_DT_PAR, 0, "", "Name of symbol cannot be NULL"},
      {"p", 1, 7, 0, "", "Symbol type 7" + badType},
      {"x", 1, TRV_DT_ALIAS, 0, "", "Symbol type 4" + badType},
      {"v", 1, TRV_DT_VAR, 10, "", "Variable type 10 of symbol v is not valid: use 0 to 9"},
      {"e", 1, TRV_DT_EQU, -1, "", "Equation type -1 of symbol e is not valid: use 0 to 5"},
      {"long", 1, TRV_DT_SET, 0, std::string(256, 't'), "Explanatory text too long. Max length is 255"},
      {"1a", 1, TRV_DT_PAR, 0, "", badName("1a")},
      {"_a", 1, TRV_DT_PAR, 0, "", badName("_a")},
      {"a-b", 1, TRV_DT_PAR, 0, "", badName("a-b")},
      {"", 1, TRV_DT_PAR, 0, "", badName("")},
      {name64.c_str(), 1, TRV_DT_PAR, 0, "", badName(name64)},
  };
  for (const auto& [name, dim, type, subtype, text, message] : rows) EXPECT_EQ(message, added(name, dim, type, subtype, text));
  EXPECT_EQ(0, dbInfo(TRV_INFO_SYMBOL_COUNT));
}

TEST_F(Symbols, DefinitionsAtTheLimitsAreAccepted) {
  EXPECT_EQ("", added("scalar", 0, TRV_DT_PAR));
  EXPECT_EQ("", added("wide", 20, TRV_DT_VAR, TRV_VAR_FREE));
  EXPECT_EQ("", added("anyinfo", 1, TRV_DT_PAR, -12345));  // the subtype of a parameter is free user information
  EXPECT_EQ("", added("ok", 1, TRV_DT_SET, 0, std::string(255, 't')));
  EXPECT_EQ("", added("a", 1, TRV_DT_PAR));
  EXPECT_EQ("", added("x_", 1, TRV_DT_PAR));
  EXPECT_EQ("", added(std::string(63, 'n').c_str(), 1, TRV_DT_PAR));
}

TEST_F(Symbols, NamesIgnoreLetterCase) {
  tvbSymbol* sym = addSymbol("Abc_12", 1, TRV_DT_PAR);
  EXPECT_EQ("Symbol ABC_12 exists already", added("ABC_12", 2, TRV_DT_SET));
  int status = 0;
  EXPECT_EQ(sym, c__tvbfindsymbolpy(db, "abc_12", &status));
  EXPECT_EQ(1, status);
  char name[TRV_SSSIZE];
  int unusedInt;
  double unusedDouble;
  ASSERT_EQ(1, c__tvbsymbolinfo(db, sym, TRV_SYMINFO_NAME, &unusedInt, &unusedDouble, name));
  EXPECT_STREQ("Abc_12", name);
}

TEST_F(Symbols, AnUnknownOrMissingNameIsReported) {
  tvbSymbol* found = universe();
  EXPECT_EQ("Cannot find symbol universe", errorOf(c__tvbfindsymbol(db, "universe", &found)));
  EXPECT_EQ(nullptr, found);
  EXPECT_EQ("Symbol name cannot be NULL", errorOf(c__tvbfindsymbol(db, nullptr, &found)));
}

// Symbols are numbered from 0 in the order they were added; -1 is the Universe.
TEST_F(Symbols, AreFoundByTheirNumber) {
  tvbSymbol* first = addSymbol("first", 1, TRV_DT_SET);
  tvbSymbol* second = addSymbol("second", 0, TRV_DT_PAR);
  tvbSymbol* sym = nullptr;
  for (auto [index, expected] : {std::pair{0, first}, {1, second}, {-1, universe()}, {2, nullptr}, {-2, nullptr}}) {
    SCOPED_TRACE(index);
    const int rc = c__tvbgetsymbolbyindex(db, index, &sym);
    EXPECT_EQ(expected ? "" : "Symbol index " + std::to_string(index) + " is out of range", rc ? "" : lastError());
    EXPECT_EQ(expected, rc ? sym : nullptr);
  }
  int status = 0;
  EXPECT_EQ(nullptr, c__tvbgetsymbolbyindexpy(db, 9, &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ(1, intInfo(second, TRV_SYMINFO_NUMBER));
}

// A domain is a one-dimensional set (named by it), a relaxed name without a set, or the Universe "*".
TEST_F(Symbols, DomainsAreSetsRelaxedNamesOrTheUniverse) {
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
}

TEST_F(Symbols, DomainsOfAnotherKindOrDatabaseAreRefused) {
  tvbHandle* other = nullptr;
  ASSERT_EQ(1, xcreate(&other));
  tvbSymbol* foreign = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbol(other, "f", 1, TRV_DT_SET, 0, "", &foreign));
  const char* names[1] = {""};
  for (auto [domain, message] : {std::pair{addSymbol("pairs", 2, TRV_DT_SET), "1 <> Dim of Symbol pairs"},
                                 {universe(other), "Universe from different database"},
                                 {foreign, "Symbol f not in this database"},
                                 {addSymbol("par", 1, TRV_DT_PAR), "Symbol par not a set"}}) {
    tvbSymbol* sym;
    EXPECT_EQ(message, errorOf(c__tvbaddsymbolx(db, "y", 1, TRV_DT_PAR, 0, "", &domain, names, &sym)));
  }
  EXPECT_EQ(2, dbInfo(TRV_INFO_SYMBOL_COUNT));  // no "y"
  xfree(&other);
}

}  // namespace
