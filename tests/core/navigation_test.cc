// Walking records where the comparison with a reference model (record_differential_test.cc) does not go: the
// Universe, missing arguments, and slice patterns that it never builds.
#include <string>

#include "support/database_fixture.h"

namespace {

using Navigation = DatabaseTest;

// The Universe's records are its labels in number order; at either end a step fails naming the Universe and
// leaves the handle where it was.
TEST_F(Navigation, TheUniverseWalksItsLabelsAndStopsAtEitherEnd) {
  for (const char* label : {"b", "a", "c"}) uel(label);
  EXPECT_EQ((std::vector<std::string>{"b", "a", "c"}), keys(universe()));
  tvbRecordHandle *rec = nullptr, *copy = nullptr;
  ASSERT_EQ(1, c__tvbfindlastrecord(db, universe(), &rec));
  EXPECT_EQ(0, c__tvbrecordhasnext(db, rec));
  EXPECT_EQ("Last record reached in Universe", errorOf(c__tvbrecordmovenext(db, rec)));
  while (c__tvbrecordhasprev(db, rec)) ASSERT_EQ(1, c__tvbrecordmoveprev(db, rec));
  EXPECT_EQ("First record reached in Universe", errorOf(c__tvbrecordmoveprev(db, rec)));
  EXPECT_EQ("b", keyOf(rec, 1));
  ASSERT_EQ(1, c__tvbcopysymboliterator(db, rec, &copy));
  EXPECT_EQ(1, c__tvbsamerecord(db, rec, copy));
  EXPECT_EQ(1, c__tvbrecordmovenext(db, copy));
  EXPECT_EQ(0, c__tvbsamerecord(db, rec, copy));
  c__tvbfreesymboliterator(db, rec);
  c__tvbfreesymboliterator(db, copy);
}

TEST_F(Navigation, AnEmptySymbolOrUniverseHasNoFirstRecord) {
  tvbRecordHandle* rec = nullptr;
  EXPECT_EQ("Cannot find a record in Universe", errorOf(c__tvbfindfirstrecord(db, universe(), &rec)));
  int status = 3;
  EXPECT_EQ(nullptr, c__tvbfindfirstrecordpy(db, addSymbol("empty", 1, TRV_DT_SET), &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ("Cannot find a record in Symbol empty", lastError());
}

// Of two handles compared, only two missing ones are the same record.
TEST_F(Navigation, MissingSymbolsAndHandlesAreRefused) {
  tvbRecordHandle* rec = nullptr;
  EXPECT_EQ("No symbol handle specified", errorOf(c__tvbfindlastrecord(db, nullptr, &rec)));
  EXPECT_EQ("No symbol record handle specified", errorOf(c__tvbrecordmovenext(db, nullptr)));
  EXPECT_EQ("No iterator to be freed defined", errorOf(c__tvbfreesymboliterator(db, nullptr)));
  uel("a");
  ASSERT_EQ(1, c__tvbfindfirstrecord(db, universe(), &rec));
  EXPECT_EQ(0, c__tvbsamerecord(db, rec, nullptr));
  EXPECT_EQ(1, c__tvbsamerecord(db, nullptr, nullptr));
  c__tvbfreesymboliterator(db, rec);
}

// A slice position is free when it holds blanks only: an empty label is a label like any other.
TEST_F(Navigation, AnEmptySlicePositionIsNoFreePosition) {
  tvbSymbol* p = addSymbol("p", 2, TRV_DT_PAR);
  addAndFree(p, {"a", "x"});
  tvbRecordHandle* rec = nullptr;
  const char* slice[2] = {"", "x"};
  EXPECT_EQ("Cannot find slice element  (on position 1) in Symbol p",
            errorOf(c__tvbfindfirstrecordslice(db, p, slice, &rec)));
}

TEST_F(Navigation, TheUniverseTakesNoSlice) {
  tvbRecordHandle* rec = nullptr;
  const char* slice[1] = {" "};
  EXPECT_EQ("Cannot define a slice on the Universe", errorOf(c__tvbfindfirstrecordslice(db, universe(), slice, &rec)));
}

// The comparison with the reference model reads such handles through the raw read and the key labels.
TEST_F(Navigation, AHandleWhoseRecordWasRemovedReadsNothing) {
  tvbSymbol* p = addSymbol("p", 1, TRV_DT_PAR);
  tvbRecordHandle* rec = add(p, {"a"});
  ASSERT_EQ(1, c__tvbclearsymbol(db, p));
  double value;
  char label[TRV_SSSIZE];
  EXPECT_EQ("The record handle of symbol p stands on no record (its record was removed)",
            errorOf(c__tvbgetlevel(db, rec, &value)));
  EXPECT_EQ(0, c__tvbgetkey(db, rec, 0, label));
  c__tvbfreesymboliterator(db, rec);
}

}  // namespace
