// Writing a database to a TVF file: what the file holds (labels and texts in database order, subtypes,
// aliases, checked and unchecked domains), which library errors fail the write, and what a failed open says.
#include <string>
#include <vector>

#include "exchange/exchange_support.h"
#include "support/allocation_failures.h"

namespace {

using exchange_test::Database;
using exchange_test::ScratchDir;
using exchange_test::TvfFileWriter;

// A written file, opened with the TVF library for inspection.
class WrittenFile {
 public:
  explicit WrittenFile(const std::string& path) {
    XCreate(&pt_);
    int errNr = 0;
    EXPECT_EQ(1, CtvfOpenRead(pt_, path.c_str(), &errNr)) << errNr;
  }
  ~WrittenFile() { XFree(&pt_); }

  int symbolCount() {
    int symbols = 0, labels = 0;
    tvfSystemInfo(pt_, &symbols, &labels);
    return symbols;
  }
  std::vector<std::string> labels() {
    int count = 0, unused = 0;
    tvfUMUelInfo(pt_, &count, &unused);
    std::vector<std::string> result;
    char label[TRV_SSSIZE];
    for (int i = 1; i <= count; ++i) result.push_back((CtvfUMUelGet(pt_, i, label, &unused), label));
    return result;
  }
  std::vector<std::string> texts() {
    std::vector<std::string> result;
    char text[TRV_SSSIZE];
    int node = 0;
    for (int n = 1; CtvfGetElemText(pt_, n, text, &node); ++n) result.push_back(text);
    return result;
  }
  // "name type subtype", by the file's number.
  std::string symbol(int nr) {
    char name[TRV_SSSIZE], text[TRV_SSSIZE];
    int dim = 0, type = 0, count = 0, subtype = 0;
    CtvfSymbolInfo(pt_, nr, name, &dim, &type);
    CtvfSymbolInfoX(pt_, nr, &count, &subtype, text);
    return std::string(name) + " " + std::to_string(type) + " " + std::to_string(subtype);
  }
  // The domain names joined by ',', after the kind the library reports (1 none, 2 unchecked, 3 checked).
  std::string domain(int nr) {
    char buffers[GLOBAL_MAX_INDEX_DIM][TRV_SSSIZE] = {};
    char* names[GLOBAL_MAX_INDEX_DIM];
    for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) names[i] = buffers[i];
    char name[TRV_SSSIZE];
    int dim = 0, type = 0;
    CtvfSymbolInfo(pt_, nr, name, &dim, &type);
    std::string result = std::to_string(CtvfSymbolGetDomainX(pt_, nr, names)) + ":";
    for (int i = 0; i < dim; ++i) result += (i ? "," : "") + std::string(names[i]);
    return result;
  }

 private:
  tvfHandle_t pt_ = nullptr;
};

class Write : public ::testing::Test {
 protected:
  ScratchDir dir;
  std::string path = dir.path("out.tvf");
};

TEST_F(Write, AnEmptyDatabaseWritesAnEmptyFile) {
  Database db;
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 0)) << db.lastError();
  WrittenFile file(path);
  EXPECT_EQ(0, file.symbolCount());
  EXPECT_TRUE(file.labels().empty());
  EXPECT_TRUE(file.texts().empty());
}

TEST_F(Write, LabelsTextsAndSymbolsKeepTheirNumbersAndSubtypes) {
  {
    TvfFileWriter base(dir.path("base.tvf"), {"a", "b"});
    base.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {0}}, {{2}, {0}}});
    base.alias("ii", "i");
    base.alias("u", "*");
  }
  Database db;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, dir.path("base.tvf").c_str()));
  tvbSymbol* s = db.add("s", 1, TRV_DT_SET);
  db.record(s, {"c"}, {1}, "gamma");
  db.record(s, {"B"}, {1}, "beta");  // an existing label, in any case
  db.record(s, {"a"}, {1}, "gamma");
  db.add("e", 0, TRV_DT_EQU, TRV_EQU_LE);
  db.add("x", 2, TRV_DT_VAR, TRV_VAR_FREE);
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 0)) << db.lastError();

  WrittenFile file(path);
  EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), file.labels());
  EXPECT_EQ((std::vector<std::string>{"gamma", "beta"}), file.texts());
  EXPECT_EQ("i 0 0", file.symbol(1));
  EXPECT_EQ("ii 4 1", file.symbol(2));  // an alias's subtype is its set's number
  EXPECT_EQ("u 4 0", file.symbol(3));   // 0 for the Universe
  EXPECT_EQ("s 0 0", file.symbol(4));
  EXPECT_EQ("e 3 55", file.symbol(5));  // equation type 2, stored plus 53
  EXPECT_EQ("x 2 5", file.symbol(6));
}

// Domains are checked by the library unless the caller says not to; a domain the library refuses (a set it
// does not have yet, a relaxed name) is stored unchecked, and its refusal is no error of the write.
TEST_F(Write, DomainsAreStoredCheckedWhereTheLibraryAcceptsThem) {
  Database db;
  tvbSymbol* i = db.add("i", 1, TRV_DT_SET);
  db.record(i, {"a"}, {0});
  tvbSymbol* domains[2] = {i, nullptr};
  const char* names[2] = {"", "later"};
  tvbSymbol *p = nullptr, *q = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbolx(db, "p", 2, TRV_DT_PAR, 0, "", domains, names, &p));
  names[1] = "*";
  ASSERT_EQ(1, c__tvbaddsymbolx(db, "q", 2, TRV_DT_PAR, 0, "", domains, names, &q));
  db.record(p, {"a", "b"}, {1});
  db.record(q, {"a", "b"}, {2});
  db.add("later", 1, TRV_DT_SET);

  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 0)) << db.lastError();
  {
    WrittenFile file(path);
    EXPECT_EQ("3:*", file.domain(1));
    EXPECT_EQ("2:i,later", file.domain(2));  // "later" comes after p: refused, stored unchecked
    EXPECT_EQ("3:i,*", file.domain(3));
  }
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 1)) << db.lastError();
  WrittenFile file(path);
  EXPECT_EQ("2:*", file.domain(1));
  EXPECT_EQ("2:i,later", file.domain(2));
  EXPECT_EQ("2:i,*", file.domain(3));
}

TEST_F(Write, RecordsOutsideACheckedDomainFailTheWrite) {
  Database db;
  tvbSymbol* i = db.add("i", 1, TRV_DT_SET);
  db.record(i, {"a"}, {0});
  tvbSymbol* domains[1] = {i};
  const char* names[1] = {""};
  tvbSymbol* p = nullptr;
  ASSERT_EQ(1, c__tvbaddsymbolx(db, "p", 1, TRV_DT_PAR, 0, "", domains, names, &p));
  db.record(p, {"a"}, {1});
  db.record(p, {"y"}, {2});
  db.record(p, {"z"}, {3});

  EXPECT_EQ(0, c__tvbwritetvf(db, path.c_str(), 0));
  EXPECT_EQ(
      "2 TVF Error(s). First Error: label 'y' at position 1 of a record of symbol 'p' is not in its domain set 'i'",
      db.lastError());
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 1)) << db.lastError();
  EXPECT_EQ(3u, exchange_test::recordLines(db, p).size());  // the database is unchanged
}

TEST_F(Write, AFileThatCannotBeCreatedIsNamed) {
  Database db;
  std::string nowhere = dir.path("no/such/dir.tvf");
  EXPECT_EQ(0, c__tvbwritetvf(db, nowhere.c_str(), 0));
  std::string error = db.lastError();
  EXPECT_EQ(0u, error.find("cannot create TVF file")) << error;
  EXPECT_EQ(": " + nowhere, error.substr(error.size() - nowhere.size() - 2)) << error;
}

TEST_F(Write, RunningOutOfMemoryFailsCleanly) {
  Database db;
  tvbSymbol* p = db.add("p", 2, TRV_DT_PAR);
  for (const char* a : {"a", "b", "c"})
    for (const char* b : {"x", "y"}) db.record(p, {a, b}, {1});
  db.record(db.add("s", 1, TRV_DT_SET), {"a"}, {1}, "text");
  for (long n = 0;; ++n) {
    long before = tvbtest::liveAllocations();
    tvbtest::failAllocationAfter(n);
    int rc = c__tvbwritetvf(db, path.c_str(), 0);
    bool injected = tvbtest::injectedFailure();
    tvbtest::stopFailing();
    EXPECT_EQ(before, tvbtest::liveAllocations()) << "after " << n << " allocations";
    if (!rc) {
      EXPECT_NE("", db.lastError());
    }
    if (!injected) {
      EXPECT_EQ(1, rc) << db.lastError();
      break;
    }
  }
  Database readBack;
  ASSERT_EQ(1, c__tvbinitfromtvf(readBack, path.c_str())) << readBack.lastError();
  EXPECT_EQ(exchange_test::dump(db), exchange_test::dump(readBack));
}

}  // namespace
