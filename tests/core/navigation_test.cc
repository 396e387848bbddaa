// Walking records: first and last, slices, steps at both ends, the Universe, comparing and copying handles,
// and handles whose record went away.
#include <string>
#include <tuple>

#include "support/database_fixture.h"

namespace {

class Navigation : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    for (const char* label : {"a", "b", "x", "y"}) uel(label);
    sym = addSymbol("p", 2, TRV_DT_PAR);
    for (auto [i, j] : {std::pair{"a", "x"}, {"b", "x"}, {"a", "y"}}) addAndFree(sym, {i, j});
  }
  tvbRecordHandle* slice(bool first, std::vector<const char*> pattern) {
    tvbRecordHandle* rec = nullptr;
    (first ? c__tvbfindfirstrecordslice : c__tvbfindlastrecordslice)(db, sym, pattern.data(), &rec);
    return rec;
  }
  tvbSymbol* sym = nullptr;
};

// A symbol's records walk in label-number order, the Universe's labels likewise; at either end a step fails
// naming what is walked and leaves the handle where it was. A copy of a handle stands on the same record.
TEST_F(Navigation, FirstLastAndStepsStopAtTheEnds) {
  EXPECT_EQ((std::vector<std::string>{"a.x", "a.y", "b.x"}), keys(sym));
  for (auto [symbol, dim, first, last, name] :
       {std::tuple{sym, 2, "a.x", "b.x", "symbol p"}, {universe(), 1, "a", "y", "Universe"}}) {
    SCOPED_TRACE(name);
    tvbRecordHandle *rec = nullptr, *copy = nullptr;
    ASSERT_EQ(1, c__tvbfindlastrecord(db, symbol, &rec));
    EXPECT_EQ(last, keyOf(rec, dim));
    EXPECT_EQ(0, c__tvbrecordhasnext(db, rec));
    EXPECT_EQ(std::string("Last record reached in ") + name, errorOf(c__tvbrecordmovenext(db, rec)));
    EXPECT_EQ(last, keyOf(rec, dim));
    while (c__tvbrecordhasprev(db, rec)) ASSERT_EQ(1, c__tvbrecordmoveprev(db, rec));
    EXPECT_EQ(std::string("First record reached in ") + name, errorOf(c__tvbrecordmoveprev(db, rec)));
    EXPECT_EQ(first, keyOf(rec, dim));

    ASSERT_EQ(1, c__tvbcopysymboliterator(db, rec, &copy));
    EXPECT_EQ(1, c__tvbsamerecord(db, rec, copy));
    EXPECT_EQ(1, c__tvbrecordmovenext(db, copy));
    EXPECT_EQ(0, c__tvbsamerecord(db, rec, copy));
    EXPECT_EQ(0, c__tvbsamerecord(db, rec, nullptr));
    c__tvbfreesymboliterator(db, rec);
    c__tvbfreesymboliterator(db, copy);
  }
  EXPECT_EQ(1, c__tvbsamerecord(db, nullptr, nullptr));

  tvbRecordHandle* rec = nullptr;
  int status = 3;
  EXPECT_EQ(nullptr, c__tvbfindfirstrecordpy(db, addSymbol("empty", 1, TRV_DT_SET), &status));
  EXPECT_EQ(0, status);
  EXPECT_EQ("Cannot find a record in Symbol empty", lastError());
  EXPECT_EQ("No symbol handle specified", errorOf(c__tvbfindlastrecord(db, nullptr, &rec)));
  EXPECT_EQ("No symbol record handle specified", errorOf(c__tvbrecordmovenext(db, nullptr)));
  EXPECT_EQ("No iterator to be freed defined", errorOf(c__tvbfreesymboliterator(db, nullptr)));
  tvbfree(&db);
  ASSERT_EQ(1, xcreate(&db));  // no labels at all
  EXPECT_EQ("Cannot find a record in Universe", errorOf(c__tvbfindfirstrecord(db, universe(), &rec)));
}

TEST_F(Navigation, SlicesVisitOnlyMatchingRecordsAndReportWhatMatchesNothing) {
  tvbRecordHandle* first = slice(true, {" ", "x"});
  tvbRecordHandle* last = slice(false, {"  ", "X"});  // several blanks are a free position too
  ASSERT_TRUE(first && last);
  EXPECT_EQ("a.x", keyOf(first, 2));
  EXPECT_EQ("b.x", keyOf(last, 2));
  EXPECT_EQ(1, c__tvbrecordhasnext(db, first));
  EXPECT_EQ(1, c__tvbrecordmovenext(db, first));
  EXPECT_EQ("b.x", keyOf(first, 2));
  EXPECT_EQ(0, c__tvbrecordhasnext(db, first));
  EXPECT_EQ("Last record reached in slice of symbol p", errorOf(c__tvbrecordmovenext(db, first)));
  EXPECT_EQ("b.x", keyOf(first, 2));
  EXPECT_EQ(1, c__tvbsamerecord(db, first, last));
  EXPECT_EQ(1, c__tvbrecordmoveprev(db, first));
  EXPECT_EQ("a.x", keyOf(first, 2));
  // On the symbol's first record the symbol's message; after a record that does not match, the slice's.
  EXPECT_EQ("First record reached in symbol p", errorOf(c__tvbrecordmoveprev(db, first)));
  tvbRecordHandle* y = slice(true, {" ", "y"});
  EXPECT_EQ("First record reached in slice of symbol p", errorOf(c__tvbrecordmoveprev(db, y)));
  EXPECT_EQ("a.y", keyOf(y, 2));

  // A copy forgets the slice and visits what it skips.
  tvbRecordHandle* copy = nullptr;
  ASSERT_EQ(1, c__tvbcopysymboliterator(db, first, &copy));
  EXPECT_EQ(1, c__tvbrecordmovenext(db, copy));
  EXPECT_EQ("a.y", keyOf(copy, 2));
  tvbRecordHandle* all = slice(true, {" ", " "});
  EXPECT_EQ("a.x", keyOf(all, 2));
  for (tvbRecordHandle* h : {first, last, copy, y, all}) c__tvbfreesymboliterator(db, h);

  for (auto [fromFirst, pattern, message] :
       {std::tuple{true, std::vector{"a", "nolabel"}, "Cannot find slice element nolabel (on position 2) in Symbol p"},
        {true, {"", "x"}, "Cannot find slice element  (on position 1) in Symbol p"},  // empty is not free
        {false, {"y", " "}, "Cannot find a record for slice (\"y\",\" \") in Symbol p"}}) {
    EXPECT_EQ(nullptr, slice(fromFirst, pattern));
    EXPECT_EQ(message, lastError());
  }
  tvbRecordHandle* rec = nullptr;
  const char* pattern[1] = {" "};
  EXPECT_EQ("Cannot define a slice on the Universe",
            errorOf(c__tvbfindfirstrecordslice(db, universe(), pattern, &rec)));
}

TEST_F(Navigation, HandlesSurviveAdditionsAndDetectRemovedRecords) {
  tvbRecordHandle* rec = find(sym, {"a", "y"});
  ASSERT_NE(nullptr, rec);
  // Thousands of additions around it restructure the store; the handle still stands on (a,y).
  char label[16];
  for (int i = 0; i < 5000; ++i) {
    std::snprintf(label, sizeof label, "n%d", i);
    const int nr = uel(label);
    int key[2] = {i % 2 ? 1 : nr, nr};
    double values[5] = {double(i)};
    ASSERT_EQ(1, c__tvbaddrecordraw(db, sym, key, values, ""));
  }
  EXPECT_EQ("a.y", keyOf(rec, 2));
  c__tvbsetlevel(db, rec, 9);
  tvbRecordHandle* again = find(sym, {"a", "y"});
  EXPECT_EQ(1, c__tvbsamerecord(db, rec, again));
  EXPECT_EQ(9, level(again));

  // Removed through another handle: every use fails cleanly, freeing still works.
  double value;
  ASSERT_EQ(1, c__tvbdeleterecord(db, again));
  EXPECT_EQ("The record handle of symbol p stands on no record (its record was removed)",
            errorOf(c__tvbgetlevel(db, rec, &value)));
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
  EXPECT_EQ(0, c__tvbgetlevel(db, again, &value));
  EXPECT_EQ(1, c__tvbfreesymboliterator(db, rec));
  EXPECT_EQ(1, c__tvbfreesymboliterator(db, again));
}

}  // namespace
