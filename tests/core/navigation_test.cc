// Walking records: first and last, slices, steps at both ends, the Universe, comparing and copying handles,
// and handles whose record went away.
#include <string>

#include "support/database_fixture.h"

namespace {

class Navigation : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    int nr;
    for (const char* label : {"a", "b", "x", "y"}) c__tvbmergeuel(db, label, &nr);
    sym = addSymbol("p", 2, TRV_DT_PAR);
    addAndFree(sym, {"a", "x"});
    addAndFree(sym, {"b", "x"});
    addAndFree(sym, {"a", "y"});
  }
  tvbRecordHandle* slice(bool first, std::vector<const char*> pattern) {
    tvbRecordHandle* rec = nullptr;
    first ? c__tvbfindfirstrecordslice(db, sym, pattern.data(), &rec)
          : c__tvbfindlastrecordslice(db, sym, pattern.data(), &rec);
    return rec;
  }
  tvbSymbol* sym = nullptr;
};

TEST_F(Navigation, FirstLastAndStepsStopAtTheEnds) {
  EXPECT_EQ((std::vector<std::string>{"a.x", "a.y", "b.x"}), keys(sym));
  tvbRecordHandle* rec = nullptr;
  ASSERT_EQ(1, c__tvbfindlastrecord(db, sym, &rec));
  EXPECT_EQ("b.x", keyOf(rec, 2));
  EXPECT_EQ(0, c__tvbrecordhasnext(db, rec));
  EXPECT_EQ(1, c__tvbrecordhasprev(db, rec));
  EXPECT_EQ(0, c__tvbrecordmovenext(db, rec));
  EXPECT_EQ("Last record reached in symbol p", lastError());
  EXPECT_EQ("b.x", keyOf(rec, 2));
  EXPECT_EQ(1, c__tvbrecordmoveprev(db, rec));
  EXPECT_EQ(1, c__tvbrecordmoveprev(db, rec));
  EXPECT_EQ(0, c__tvbrecordmoveprev(db, rec));
  EXPECT_EQ("First record reached in symbol p", lastError());
  EXPECT_EQ("a.x", keyOf(rec, 2));
  c__tvbfreesymboliterator(db, rec);

  tvbSymbol* empty = addSymbol("empty", 1, TRV_DT_SET);
  int status = 3;
  EXPECT_EQ(nullptr, c__tvbfindfirstrecordpy(db, empty, &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ("Cannot find a record in Symbol empty", lastError());
  EXPECT_EQ(0, c__tvbfindlastrecord(db, nullptr, &rec));
  EXPECT_EQ("No symbol handle specified", lastError());
  EXPECT_EQ(0, c__tvbrecordmovenext(db, nullptr));
  EXPECT_EQ("No symbol record handle specified", lastError());
  EXPECT_EQ(0, c__tvbfreesymboliterator(db, nullptr));
  EXPECT_EQ("No iterator to be freed defined", lastError());
}

TEST_F(Navigation, SlicesVisitOnlyMatchingRecords) {
  tvbRecordHandle* first = slice(true, {" ", "x"});
  tvbRecordHandle* last = slice(false, {"  ", "X"});  // several blanks are a free position too
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, last);
  EXPECT_EQ("a.x", keyOf(first, 2));
  EXPECT_EQ("b.x", keyOf(last, 2));
  EXPECT_EQ(1, c__tvbrecordhasnext(db, first));
  EXPECT_EQ(1, c__tvbrecordmovenext(db, first));
  EXPECT_EQ("b.x", keyOf(first, 2));
  EXPECT_EQ(0, c__tvbrecordhasnext(db, first));
  EXPECT_EQ(0, c__tvbrecordmovenext(db, first));
  EXPECT_EQ("Last record reached in slice of symbol p", lastError());
  EXPECT_EQ("b.x", keyOf(first, 2));
  EXPECT_EQ(1, c__tvbsamerecord(db, first, last));
  EXPECT_EQ(1, c__tvbrecordmoveprev(db, first));
  EXPECT_EQ("a.x", keyOf(first, 2));
  EXPECT_EQ(0, c__tvbrecordmoveprev(db, first));  // on the symbol's first record: the symbol message
  EXPECT_EQ("First record reached in symbol p", lastError());

  // A copy forgets the slice and visits what it skips.
  tvbRecordHandle* copy = nullptr;
  ASSERT_EQ(1, c__tvbcopysymboliterator(db, first, &copy));
  EXPECT_EQ(1, c__tvbrecordmovenext(db, copy));
  EXPECT_EQ("a.y", keyOf(copy, 2));
  EXPECT_EQ(0, c__tvbsamerecord(db, first, copy));

  tvbRecordHandle* y = slice(true, {" ", "y"});
  ASSERT_NE(nullptr, y);
  EXPECT_EQ(0, c__tvbrecordmoveprev(db, y));  // (a,x) before it does not match
  EXPECT_EQ("First record reached in slice of symbol p", lastError());
  EXPECT_EQ("a.y", keyOf(y, 2));
  for (tvbRecordHandle* h : {first, last, copy, y}) c__tvbfreesymboliterator(db, h);
}

TEST_F(Navigation, SliceFailures) {
  EXPECT_EQ(nullptr, slice(true, {"a", "nolabel"}));
  EXPECT_EQ("Cannot find slice element nolabel (on position 2) in Symbol p", lastError());
  EXPECT_EQ(nullptr, slice(true, {"", "x"}));  // empty is not free
  EXPECT_EQ("Cannot find slice element  (on position 1) in Symbol p", lastError());
  EXPECT_EQ(nullptr, slice(false, {"y", " "}));
  EXPECT_EQ("Cannot find a record for slice (\"y\",\" \") in Symbol p", lastError());
  tvbSymbol* universe;
  c__tvbfindsymbol(db, "*", &universe);
  tvbRecordHandle* rec = nullptr;
  const char* pattern[1] = {" "};
  EXPECT_EQ(0, c__tvbfindfirstrecordslice(db, universe, pattern, &rec));
  EXPECT_EQ("Cannot define a slice on the Universe", lastError());
  tvbRecordHandle* all = slice(true, {" ", " "});
  ASSERT_NE(nullptr, all);
  EXPECT_EQ("a.x", keyOf(all, 2));
  c__tvbfreesymboliterator(db, all);
}

TEST_F(Navigation, UniverseHandlesWalkTheLabels) {
  tvbSymbol* universe;
  c__tvbfindsymbol(db, "*", &universe);
  tvbRecordHandle* rec = nullptr;
  ASSERT_EQ(1, c__tvbfindlastrecord(db, universe, &rec));
  EXPECT_EQ("y", keyOf(rec, 1));
  EXPECT_EQ(0, c__tvbrecordmovenext(db, rec));
  EXPECT_EQ("Last record reached in Universe", lastError());
  EXPECT_EQ("y", keyOf(rec, 1));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(1, c__tvbrecordmoveprev(db, rec));
  EXPECT_EQ(0, c__tvbrecordhasprev(db, rec));
  EXPECT_EQ(0, c__tvbrecordmoveprev(db, rec));
  EXPECT_EQ("First record reached in Universe", lastError());
  EXPECT_EQ("a", keyOf(rec, 1));
  tvbRecordHandle* copy = nullptr;
  ASSERT_EQ(1, c__tvbcopysymboliterator(db, rec, &copy));
  EXPECT_EQ(1, c__tvbsamerecord(db, rec, copy));
  c__tvbrecordmovenext(db, copy);
  EXPECT_EQ(0, c__tvbsamerecord(db, rec, copy));
  EXPECT_EQ(1, c__tvbsamerecord(db, nullptr, nullptr));
  EXPECT_EQ(0, c__tvbsamerecord(db, rec, nullptr));
  c__tvbfreesymboliterator(db, rec);
  c__tvbfreesymboliterator(db, copy);

  tvbHandle* fresh = nullptr;
  ASSERT_EQ(1, xcreate(&fresh));
  tvbSymbol* emptyUniverse;
  c__tvbfindsymbol(fresh, "*", &emptyUniverse);
  EXPECT_EQ(0, c__tvbfindfirstrecord(fresh, emptyUniverse, &rec));
  char msg[TRV_SSSIZE];
  c__tvbgetlasterror(fresh, msg);
  EXPECT_STREQ("Cannot find a record in Universe", msg);
  xfree(&fresh);
}

TEST_F(Navigation, HandlesSurviveAdditionsAndDetectRemovedRecords) {
  tvbRecordHandle* rec = find(sym, {"a", "y"});
  ASSERT_NE(nullptr, rec);
  // Thousands of additions around it restructure the store; the handle still stands on (a,y).
  char label[16];
  int nr;
  for (int i = 0; i < 5000; ++i) {
    std::snprintf(label, sizeof label, "n%d", i);
    c__tvbmergeuel(db, label, &nr);
    int key[2] = {i % 2 ? 1 : nr, nr};
    double values[5] = {double(i)};
    ASSERT_EQ(1, c__tvbaddrecordraw(db, sym, key, values, ""));
  }
  EXPECT_EQ("a.y", keyOf(rec, 2));
  double level = -1;
  c__tvbsetlevel(db, rec, 9);
  tvbRecordHandle* again = find(sym, {"a", "y"});
  EXPECT_EQ(1, c__tvbsamerecord(db, rec, again));
  c__tvbgetlevel(db, again, &level);
  EXPECT_EQ(9, level);

  // Removed through another handle: every use fails cleanly, freeing still works.
  ASSERT_EQ(1, c__tvbdeleterecord(db, again));
  EXPECT_EQ(0, c__tvbgetlevel(db, rec, &level));
  EXPECT_EQ("The record handle of symbol p stands on no record (its record was removed)", lastError());
  EXPECT_EQ(0, c__tvbsetlevel(db, rec, 1));
  EXPECT_EQ(0, c__tvbrecordmovenext(db, rec));
  EXPECT_EQ(0, c__tvbrecordhasnext(db, rec));
  EXPECT_EQ(0, c__tvbsamerecord(db, rec, again));
  char text[TRV_SSSIZE];
  EXPECT_EQ(0, c__tvbgetkey(db, rec, 0, text));
  tvbRecordHandle* copy = nullptr;
  EXPECT_EQ(0, c__tvbcopysymboliterator(db, rec, &copy));
  EXPECT_EQ(0, c__tvbdeleterecord(db, rec));

  // Cleared: the same.
  ASSERT_EQ(1, c__tvbclearsymbol(db, sym));
  EXPECT_EQ(0, c__tvbgetlevel(db, again, &level));
  EXPECT_EQ(1, c__tvbfreesymboliterator(db, rec));
  EXPECT_EQ(1, c__tvbfreesymboliterator(db, again));
}

}  // namespace
