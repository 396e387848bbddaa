// Writing TVF files, round trips through them and copies between databases: what a written file holds (labels
// and texts in database order, subtypes, aliases, checked and unchecked domains) and which errors fail a write;
// a database with every kind of symbol and value written, read back lazily and compared record by record; a
// file read and written again before any use, leaving every symbol unread; a copy that shares nothing.
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "exchange/exchange_support.h"

namespace {

using exchange_test::Database;
using exchange_test::dump;
using exchange_test::info;
using exchange_test::recordLines;
using exchange_test::TvfFileWriter;
using Strings = std::vector<std::string>;

constexpr double kUndf = 1e300, kNa = 2e300, kPinf = 3e300, kMinf = 4e300, kEps = 5e300;

class RoundTrip : public ::testing::Test {
 protected:
  // A file with what only a file can bring: aliases (of a set and of the Universe) and a symbol over one.
  void SetUp() override {
    TvfFileWriter file(base, {"a", "b", "c", "d"}, {"first plant", "second plant"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {1}}, {{2}, {2}}, {{3}, {0}}}, {}, "plants");
    file.alias("ii", "i");
    file.symbol("j", 1, TRV_DT_SET, 0, {{{3}, {0}}, {{4}, {0}}}, {}, "markets");
    file.alias("u", "*");
    // The library's own special values: +infinity is its PINF, read back as the database's.
    const double infinity = std::numeric_limits<double>::infinity();
    file.symbol("fromFile", 2, TRV_DT_PAR, 0, {{{1, 3}, {1.25}}, {{2, 4}, {infinity}}, {{3, 3}, {-0.0}}}, {"ii", "j"});
  }

  // The base file's symbols, still unread, and symbols added in memory with every feature.
  void fill(Database& db) {
    ASSERT_EQ(1, c__tvbinitfromtvf(db, base.c_str())) << db.lastError();
    tvbSymbol* k = db.add("k", 1, TRV_DT_SET, 0, "set with texts");
    std::string longest(255, 'x');
    db.record(k, {"a"}, {1}, "shared text");
    db.record(k, {"new1"}, {1}, "shared text");  // two records, one text
    db.record(k, {"new2"}, {0});
    db.record(k, {"new3"}, {1}, longest.c_str());
    db.record(k, {"b"}, {1}, "second plant");  // a text the file brought
    db.record(db.add("f", 0, TRV_DT_PAR, 0, "scalar"), {}, {90});
    tvbSymbol* v = db.add("v", 1, TRV_DT_PAR, 0, "every kind of value");
    const double values[] = {kUndf, kNa, kPinf, kMinf, kEps, 0.0, -0.0, 1.0, -1.0, 4.9e-322, 1e-300, 1e299, 3.25};
    for (size_t n = 0; n < std::size(values); ++n) db.record(v, {("v" + std::to_string(n)).c_str()}, {values[n]});
    tvbSymbol* x = db.add("x", 2, TRV_DT_VAR, TRV_VAR_BINARY, "special values in every field");
    const double specials[] = {kUndf, kNa, kPinf, kMinf, kEps};
    for (int r = 0; r < 5; ++r) {
      std::vector<double> fields;
      for (int field = 0; field < 5; ++field) fields.push_back(specials[(r + field) % 5]);
      db.record(x, {"a", ("v" + std::to_string(r)).c_str()}, fields);
    }
    db.record(x, {"b", "c"}, {0.5, -0.0, 0, 1, 1});
    db.record(db.add("e", 1, TRV_DT_EQU, TRV_EQU_LE, "equation"), {"c"}, {1, 2, kMinf, 3, 1});
    tvbSymbol* wide = db.add("wide", 20, TRV_DT_PAR, 0, "twenty dimensions");
    std::vector<std::string> labels;
    for (int n = 0; n < 21; ++n) labels.push_back("w" + std::to_string(n));
    for (int r = 0; r < 3; ++r) {
      std::vector<const char*> key;
      for (int pos = 0; pos < 20; ++pos) key.push_back(labels[(pos * 7 + r) % 21].c_str());
      db.record(wide, key, {r + 0.5});
    }
    // Domains: a set of the file, a relaxed name, the Universe.
    tvbSymbol* domains[3] = {db.symbol("i"), nullptr, nullptr};
    const char* names[3] = {"", "nowhere", "*"};
    tvbSymbol* relaxed = nullptr;
    ASSERT_EQ(1, c__tvbaddsymbolx(db, "relaxed", 3, TRV_DT_PAR, 0, "", domains, names, &relaxed)) << db.lastError();
    db.record(relaxed, {"a", "zz", "c"}, {7});
    db.add("empty", 1, TRV_DT_SET, 0, "no records");
  }

  // What a dump does not show: aliases, and where a domain was named by an alias.
  void expectAliases(Database& db) {
    EXPECT_EQ(db.symbol("i"), db.symbol("ii"));
    EXPECT_EQ(db.symbol("*"), db.symbol("u"));
    EXPECT_EQ("fromFile type 1 subtype 0 '' (ii,j)", exchange_test::describe(db, db.symbol("fromFile")));
  }

  static constexpr const char* kSymbols[] = {"i", "j", "fromFile", "k", "f", "v", "x", "e", "wide", "relaxed", "empty"};
  exchange_test::ScratchDir dir;
  std::string base = dir.path("base.tvf"), path = dir.path("out.tvf");
};

// Written, read back and written again before any use: the second file is streamed from the first without
// loading a symbol, and read back it equals the original in labels, symbols with domains, and every record.
TEST_F(RoundTrip, AFileRewrittenWithoutReadingItHoldsEveryKindOfSymbolAndValue) {
  Database original, unread, copy;
  fill(original);
  std::string first = dir.path("first.tvf"), second = dir.path("second.tvf");
  ASSERT_EQ(1, c__tvbwritetvf(original, first.c_str(), 0)) << original.lastError();
  ASSERT_EQ(1, c__tvbinitfromtvf(unread, first.c_str()));
  ASSERT_EQ(1, c__tvbwritetvf(unread, second.c_str(), 0)) << unread.lastError();
  ASSERT_EQ(1, c__tvbclosetvf(unread, 0));
  for (const char* name : kSymbols)
    EXPECT_TRUE(exchange_test::wasNeverLoaded(unread, name)) << name << ": " << unread.lastError();
  ASSERT_EQ(1, c__tvbinitfromtvf(copy, second.c_str()));
  EXPECT_EQ(dump(original), dump(copy));
  expectAliases(copy);
}

// Load, change, save under the same name: the symbols never used are streamed from the old file into the new
// one, which takes the old one's place only when complete; the database goes on reading the old file.
TEST_F(RoundTrip, WritingOntoTheFileBeingReadKeepsEverySymbol) {
  Database original, db, readBack;
  ASSERT_EQ(1, c__tvbinitfromtvf(original, base.c_str()));
  const Strings expected = dump(original);
  ASSERT_EQ(1, c__tvbinitfromtvf(db, base.c_str()));
  EXPECT_EQ(3u, recordLines(db, db.symbol("i")).size());  // loaded; j and fromFile are never used
  ASSERT_EQ(1, c__tvbwritetvf(db, base.c_str(), 0)) << db.lastError();
  ASSERT_EQ(1, c__tvbinitfromtvf(readBack, base.c_str())) << readBack.lastError();
  EXPECT_EQ(expected, dump(readBack));
  EXPECT_EQ(expected, dump(db));
}

TEST_F(RoundTrip, ASymbolReadAndChangedIsWrittenFromMemory) {
  Database db, readBack;
  ASSERT_EQ(1, c__tvbinitfromtvf(db, base.c_str()));
  db.record(db.symbol("fromFile"), {"c", "d"}, {4});   // raw addition does not read the symbol first
  db.setLevel(db.symbol("fromFile"), {"a", "c"}, 99);  // reads it, keeping the new record
  std::string written = dir.path("changed.tvf");
  ASSERT_EQ(1, c__tvbwritetvf(db, written.c_str(), 0)) << db.lastError();
  ASSERT_EQ(1, c__tvbinitfromtvf(readBack, written.c_str()));
  EXPECT_EQ((Strings{"a.c 99(4058c00000000000)", "b.d +INF", "c.c -0(8000000000000000)", "c.d 4(4010000000000000)"}),
            recordLines(readBack, readBack.symbol("fromFile")));
}

// The length-prefixed entries take file names as 256-byte buffers led by their length, read no further.
TEST_F(RoundTrip, FileNamesTravelLengthPrefixed) {
  char name[TRV_SSSIZE] = {static_cast<char>(path.size())};
  std::strcpy(name + 1, (path + ".extra").c_str());
  Database source, plain, readBack;
  source.record(source.add("p", 1, TRV_DT_PAR), {"a"}, {1.5});
  ASSERT_EQ(1, d__tvbwritetvf(source, name, 0)) << source.lastError();
  ASSERT_EQ(1, c__tvbinitfromtvf(plain, path.c_str())) << plain.lastError();
  ASSERT_EQ(1, d__tvbinitfromtvf(readBack, name)) << readBack.lastError();
  EXPECT_EQ(dump(source), dump(readBack));
}

// Symbols keep their numbers; those still in the source's file are read there for the copy.
TEST_F(RoundTrip, ACopyHoldsEverything) {
  Database source, target;
  fill(source);
  ASSERT_EQ(1, c__tvbinitfromdb(target, source)) << target.lastError();
  ASSERT_EQ(1, c__tvbclosetvf(source, 0));
  EXPECT_FALSE(exchange_test::wasNeverLoaded(source, "fromFile"));
  EXPECT_EQ(dump(source), dump(target));
  expectAliases(target);
  for (const char* name : kSymbols) {
    EXPECT_EQ(info(source, source.symbol(name), TRV_SYMINFO_NUMBER),
              info(target, target.symbol(name), TRV_SYMINFO_NUMBER))
        << name;
  }
}

// A change to the copy does not reach the source, nor a new text.
TEST_F(RoundTrip, ACopySharesNothing) {
  Database source, target;
  fill(source);
  ASSERT_EQ(1, c__tvbinitfromdb(target, source)) << target.lastError();
  target.setLevel(target.symbol("fromFile"), {"a", "c"}, 42);
  tvbRecordHandle* rec = nullptr;
  const char* key[1] = {"a"};
  ASSERT_EQ(1, c__tvbfindrecord(target, target.symbol("k"), key, &rec));
  c__tvbsetelemtext(target, rec, "changed");
  c__tvbfreesymboliterator(target, rec);
  EXPECT_EQ("a.c 1.25(3ff4000000000000)", recordLines(source, source.symbol("fromFile"))[0]);
  EXPECT_EQ("a 'shared text'", recordLines(source, source.symbol("k"))[0]);
}

TEST_F(RoundTrip, ACopyGoesOnlyIntoADatabaseThatHoldsNothing) {
  Database source, labelled, withSymbol, fromFile;
  source.add("s", 1, TRV_DT_SET);
  const auto copy = [&](Database& into) {
    const int rc = c__tvbinitfromdb(into, source);
    return std::to_string(rc) + " " + into.lastError();
  };
  int uel = 0;
  c__tvbmergeuel(labelled, "l", &uel);
  EXPECT_EQ("---- Entering InitFromDB ----\nUels present. Cannot load Uels from other database.\n",
            exchange_test::traced(labelled, 1, [&] {
              EXPECT_EQ("0 Uels present. Cannot load Uels from other database.", copy(labelled));
            }));
  EXPECT_EQ(Strings{"labels l"}, dump(labelled));
  withSymbol.add("t", 0, TRV_DT_PAR);
  EXPECT_EQ("0 Symbols present. Cannot load symbols from other database.", copy(withSymbol));
  TvfFileWriter(dir.path("empty.tvf"), {});
  ASSERT_EQ(1, c__tvbinitfromtvf(fromFile, dir.path("empty.tvf").c_str()));
  EXPECT_EQ("0 Database incorrectly initialized.", copy(fromFile));
  ASSERT_EQ(1, c__tvbclosetvf(fromFile, 0));  // closed, it counts as filled in memory, and empty
  EXPECT_EQ(1, c__tvbinitfromdb(fromFile, source)) << fromFile.lastError();
  EXPECT_EQ(0, c__tvbinitfromtvf(fromFile, base.c_str()));  // the copy counts as filled
}

TEST_F(RoundTrip, ACopyTakesSymbolsWaitingInAHostProgramEmpty) {
  Database host, copied;
  host.record(host.add("p", 1, TRV_DT_PAR), {"a"}, {1});
  ASSERT_EQ(1, c__tvbinitfromcmex(host, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  ASSERT_EQ(1, c__tvbinitfromdb(copied, host)) << copied.lastError();
  EXPECT_EQ(Strings{}, recordLines(copied, copied.symbol("p")));
}

// A written file as the TVF library reads it: its labels, its texts, and per symbol "name type subtype" and
// the domain kind the library reports (2 unchecked, 3 checked) with the domain names.
struct WrittenFile {
  explicit WrittenFile(const std::string& path) {
    tvfHandle_t pt = nullptr;
    XCreate(&pt);
    int errNr = 0, count = 0, unused = 0;
    EXPECT_EQ(1, CtvfOpenRead(pt, path.c_str(), &errNr)) << errNr;
    char text[TRV_SSSIZE];
    tvfUMUelInfo(pt, &count, &unused);
    for (int n = 1; n <= count; ++n) labels.push_back((CtvfUMUelGet(pt, n, text, &unused), text));
    for (int n = 1; CtvfGetElemText(pt, n, text, &unused); ++n) texts.push_back(text);
    tvfSystemInfo(pt, &count, &unused);
    for (int nr = 1; nr <= count; ++nr) {
      char buffers[GLOBAL_MAX_INDEX_DIM][TRV_SSSIZE] = {};
      char* names[GLOBAL_MAX_INDEX_DIM];
      for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) names[i] = buffers[i];
      int dim = 0, type = 0, records = 0, subtype = 0;
      CtvfSymbolInfo(pt, nr, text, &dim, &type);
      std::string symbol = text;
      CtvfSymbolInfoX(pt, nr, &records, &subtype, text);
      symbol += " " + std::to_string(type) + " " + std::to_string(subtype);
      if (dim > 0 && type != 4) {  // an alias has no domain of its own
        symbol += " " + std::to_string(CtvfSymbolGetDomainX(pt, nr, names)) + ":";
        for (int i = 0; i < dim; ++i) symbol += (i ? "," : "") + std::string(names[i]);
      }
      symbols.push_back(symbol);
    }
    XFree(&pt);
  }
  Strings labels, texts, symbols;
};

TEST_F(RoundTrip, AWrittenFileKeepsLabelsTextsAndSymbolsInDatabaseOrder) {
  Database empty, db;
  ASSERT_EQ(1, c__tvbwritetvf(empty, path.c_str(), 0)) << empty.lastError();
  WrittenFile nothing(path);
  EXPECT_TRUE(nothing.labels.empty() && nothing.texts.empty() && nothing.symbols.empty());
  ASSERT_EQ(1, c__tvbinitfromtvf(db, base.c_str()));
  tvbSymbol* s = db.add("s", 1, TRV_DT_SET);
  db.record(s, {"e"}, {1}, "gamma");
  db.record(s, {"B"}, {1}, "beta");  // an existing label, in any case
  db.record(s, {"a"}, {1}, "gamma");
  db.add("eq", 0, TRV_DT_EQU, TRV_EQU_LE);
  db.add("x", 2, TRV_DT_VAR, TRV_VAR_FREE);
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 0)) << db.lastError();
  WrittenFile file(path);
  EXPECT_EQ((Strings{"a", "b", "c", "d", "e"}), file.labels);
  EXPECT_EQ((Strings{"first plant", "second plant", "gamma", "beta"}), file.texts);
  // An alias's subtype is its set's number, 0 for the Universe; equation type 2 is stored plus 53.
  EXPECT_EQ((Strings{"i 0 0 3:*", "ii 4 1", "j 0 0 3:*", "u 4 0", "fromFile 1 0 3:ii,j", "s 0 0 3:*", "eq 3 55",
                     "x 2 5 3:*,*"}),
            file.symbols);
}

TEST_F(RoundTrip, AFileThatCannotBeCreatedIsNamed) {
  Database db;
  std::string nowhere = dir.path("no/such/dir.tvf");
  EXPECT_EQ(0, c__tvbwritetvf(db, nowhere.c_str(), 0));
  EXPECT_EQ(0u, db.lastError().find("cannot create TVF file")) << db.lastError();
  EXPECT_EQ(": " + nowhere, db.lastError().substr(db.lastError().size() - nowhere.size() - 2));
}

// p over i and "later", q over i and "*"; each with a record inside its domains.
tvbSymbol* addSymbolsOverDomains(Database& db) {
  tvbSymbol* i = db.add("i", 1, TRV_DT_SET);
  db.record(i, {"a"}, {0});
  tvbSymbol* domains[2] = {i, nullptr};
  const char* names[2] = {"", "later"};
  tvbSymbol *p = nullptr, *q = nullptr;
  EXPECT_EQ(1, c__tvbaddsymbolx(db, "p", 2, TRV_DT_PAR, 0, "", domains, names, &p));
  names[1] = "*";
  EXPECT_EQ(1, c__tvbaddsymbolx(db, "q", 2, TRV_DT_PAR, 0, "", domains, names, &q));
  db.record(p, {"a", "b"}, {1});
  db.record(q, {"a", "b"}, {2});
  db.add("later", 1, TRV_DT_SET);
  return q;
}

// Domains are checked by the library unless the caller says not to; a domain the library refuses (a set it
// does not have yet, a relaxed name) is stored unchecked, and its refusal is no error of the write.
TEST_F(RoundTrip, DomainsAreStoredCheckedWhereTheLibraryAcceptsThem) {
  Database db;
  addSymbolsOverDomains(db);
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 0)) << db.lastError();
  EXPECT_EQ((Strings{"i 0 0 3:*", "p 1 0 2:i,later", "q 1 0 3:i,*", "later 0 0 3:*"}), WrittenFile(path).symbols);
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 1)) << db.lastError();
  EXPECT_EQ((Strings{"i 0 0 2:*", "p 1 0 2:i,later", "q 1 0 2:i,*", "later 0 0 2:*"}), WrittenFile(path).symbols);
}

// In the database nor in the file.
TEST_F(RoundTrip, RecordsOutsideACheckedDomainFailTheWriteCleanly) {
  Database db;
  tvbSymbol* q = addSymbolsOverDomains(db);
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 1)) << db.lastError();
  for (const char* label : {"y", "z"}) db.record(q, {label, "b"}, {3});
  EXPECT_EQ(0, c__tvbwritetvf(db, path.c_str(), 0));
  EXPECT_EQ(
      "2 TVF Error(s). First Error: label 'y' at position 1 of a record of symbol 'q' is not in its domain set 'i'",
      db.lastError());
  EXPECT_EQ((Strings{"i 0 0 2:*", "p 1 0 2:i,later", "q 1 0 2:i,*", "later 0 0 2:*"}), WrittenFile(path).symbols);
  EXPECT_EQ(3u, exchange_test::recordLines(db, q).size());
}

}  // namespace
