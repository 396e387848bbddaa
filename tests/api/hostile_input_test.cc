// Hostile input for every operation of the table (cases generated in hostile_input.cc), and the regression tests
// of handles of another database and of null pointers.
#include "api/hostile_input.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "support/database_fixture.h"
#include "tvbcclib.h"

namespace {

using tvbtest::hostile::Kind;
using tvbtest::hostile::Operation;
using tvbtest::hostile::Outcome;
using tvbtest::hostile::Variant;

bool isValueAccessor(const std::string& op) {
  for (const char* field : {"Level", "Marginal", "Lower", "Upper", "Scale"})
    if (op == std::string("tvbGet") + field || op == std::string("tvbSet") + field) return true;
  return false;
}

// The fatal assertions that the interface specifies; every other hostile argument is answered with a message.
bool assertionSpecified(const Operation& op, const Variant& v) {
  const std::string& p = op.parameters[v.parameter].name;
  if (v.parameter == 0) return v.kind == Kind::kNull;                        // "ptvb != NULL"
  if (isValueAccessor(op.name)) return v.kind == Kind::kNull && p == "rec";  // "symIterPtr != NULL"
  if (op.name == "tvbInitFromDB") return v.kind == Kind::kNull;              // "ptvbsrc != NULL"
  if (op.name.rfind("tvbAddSymbolX", 0) == 0) return v.kind == Kind::kIndex && (p == "dim" || p == "type");
  return false;
}

// Operations whose 0 is an answer, not a failure (the record has no neighbour, the handles differ, no message
// is stored), and the reader of the last error, which would overwrite the text it is asked for.
bool answersWithoutMessage(const std::string& op) {
  return op == "tvbRecordHasNext" || op == "tvbRecordHasPrev" || op == "tvbSameRecord" || op == "tvbGetLastError";
}

struct Figures {
  std::set<std::string> operations;
  int pointerArguments = 0, databases = 0, inputs = 0, assertions = 0;
};

// Runs every hostile variant of every operation through one entry family and checks each answer.
void checkEveryOperation(bool lengthPrefixed, Figures* figures) {
  char msg[TRV_SSSIZE];
  tvbHandle* warm = nullptr;  // the TVF library is loaded once, before the children are made
  tvbcreate(&warm, msg, sizeof msg);
  for (const Operation& op : tvbtest::hostile::operations()) {
    if (lengthPrefixed && !op.lengthPrefixed) continue;
    const Outcome base = tvbtest::hostile::run(op, nullptr, lengthPrefixed);
    EXPECT_TRUE(base.exited) << op.name << " with ordinary arguments: " << base.errorOutput;
    for (const Variant& v : tvbtest::hostile::variantsOf(op, lengthPrefixed)) {
      const Outcome o = tvbtest::hostile::run(op, &v, lengthPrefixed);
      const std::string what = (lengthPrefixed ? "d__ " : "c__ ") + op.name + ", " + v.describe(op);
      ++figures->inputs;
      figures->operations.insert(op.name);
      if (v.kind == Kind::kNull) ++figures->pointerArguments, figures->databases += v.parameter == 0;
      EXPECT_EQ(std::string::npos, o.errorOutput.find("runtime error")) << what << "\n" << o.errorOutput;
      if (!o.exited) {
        const bool specified =
            o.assertion && assertionSpecified(op, v) && o.errorOutput.find(", file tvbcoorg") != std::string::npos;
        EXPECT_TRUE(specified) << what << ": signal " << o.signal << ", exit " << o.exitCode << "\n" << o.errorOutput;
        figures->assertions += specified;
        continue;
      }
      if (v.parameter == 0) continue;  // no database to keep a message in
      if (o.failed && !answersWithoutMessage(op.name)) EXPECT_NE("", o.message) << what << ": failed without a message";
      // Copies go between databases, and model data may come from any database (compared by label numbers).
      const bool copiesAcross = op.name == "tvbCopySymbol" ||
                                (op.name == "tvbUpdateModelSymbol" && op.parameters[v.parameter].name == "dataSym");
      if (v.kind == Kind::kForeignHandle && !copiesAcross) {
        EXPECT_TRUE(o.failed) << what << " was accepted";
        EXPECT_NE(std::string::npos, o.message.find("database")) << what << ": " << o.message;
      }
    }
  }
  tvbfree(&warm);
}

void print(const char* family, const Figures& f) {
  std::printf(
      "hostile input, %s entries: %zu operations, %d pointer arguments set to NULL (%d of them the database), "
      "%d hostile inputs tried (%d ended in their specified assertion)\n",
      family, f.operations.size(), f.pointerArguments, f.databases, f.inputs, f.assertions);
}

TEST(HostileInput, EveryZeroTerminatedEntryAnswersEveryHostileArgument) {
  Figures figures;
  checkEveryOperation(false, &figures);
  print("c__", figures);
  EXPECT_EQ(static_cast<size_t>(tvbtest::hostile::operations().size()), figures.operations.size());
}

TEST(HostileInput, EveryLengthPrefixedEntryAnswersEveryHostileArgument) {
  Figures figures;
  checkEveryOperation(true, &figures);
  print("d__", figures);
}

using ForeignHandles = DatabaseTest;

TEST_F(ForeignHandles, AreRefusedBeforeEitherDatabaseChanges) {
  tvbHandle* other = nullptr;
  char msg[TRV_SSSIZE];
  ASSERT_EQ(1, tvbcreate(&other, msg, sizeof msg));
  tvbSymbol* p = addSymbol("p", 1, TRV_DT_PAR);
  tvbRecordHandle* rec = add(p, {"a"});
  ASSERT_NE(nullptr, rec);

  char label[TRV_SSSIZE];
  EXPECT_EQ(0, c__tvbgetkey(other, rec, 0, label));
  c__tvbgetlasterror(other, msg);
  EXPECT_STREQ("Record handle of symbol p does not belong to this database", msg);

  const char* key[] = {"b"};
  tvbRecordHandle* added = nullptr;
  EXPECT_EQ(0, c__tvbaddrecord(other, p, key, &added));
  c__tvbgetlasterror(other, msg);
  EXPECT_STREQ("Symbol p does not belong to this database", msg);
  int labels = -1;
  c__tvbinfo(other, TRV_INFO_UEL_COUNT, &labels, nullptr, nullptr);
  EXPECT_EQ(0, labels);                               // nothing registered in the other database
  EXPECT_EQ(std::vector<std::string>{"a"}, keys(p));  // nor added to this one
  c__tvbfreesymboliterator(db, rec);
  tvbfree(&other);
}

using NullPointers = DatabaseTest;

TEST_F(NullPointers, AreAnsweredWithAMessageOrTheSpecifiedAssertion) {
  tvbSymbol* sym = nullptr;
  EXPECT_EQ(0, d__tvbfindsymbol(db, nullptr, &sym));
  EXPECT_EQ("Symbol name cannot be NULL", lastError());

  tvbSymbol* const stale = addSymbol("t", 1, TRV_DT_SET);
  sym = stale;  // the out symbol is emptied before any check fails
  EXPECT_EQ(0, c__tvbaddsymbol(db, "s", -1, TRV_DT_PAR, 0, "", &sym));
  EXPECT_EQ(0, c__tvbaddsymbol(db, "s", -1, TRV_DT_PAR, 0, "", &sym));
  EXPECT_EQ(nullptr, sym);

  EXPECT_EQ(0, c__tvbmergeuel(db, "a", nullptr));
  EXPECT_EQ("tvbMergeUel: argument uelNr cannot be NULL", lastError());
  tvbSymbol* p = addSymbol("p", 1, TRV_DT_PAR);
  tvbRecordHandle* rec = add(p, {"a"});
  EXPECT_EQ(0, n__tvbgetkeys(db, rec, 1, nullptr));
  EXPECT_EQ("tvbGetKeys: argument labels cannot be NULL", lastError());
  c__tvbfreesymboliterator(db, rec);

  char msg[TRV_SSSIZE];
  EXPECT_EQ(0, c__xcheck(nullptr, 0, nullptr, msg));
  EXPECT_STREQ("tvbcclib: no operation name or signature given (NULL).", msg);
  EXPECT_DEATH(tvbfree(nullptr), "Assertion failed: ptvb != NULL, file tvbcoorg");
  EXPECT_DEATH(xfree(nullptr), "Assertion failed: ptvb != NULL, file tvbcoorg");
}

}  // namespace
