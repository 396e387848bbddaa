// Array transfers of a database read from a TVF file: symbols and domain sets still in the file are read on
// first use, a write replaces a symbol without reading it, and a symbol that cannot be read fails the read.
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "arrays/array_fixture.h"
#include "exchange/exchange_support.h"

namespace {

using exchange_test::ScratchDir;
using exchange_test::TvfFileWriter;
using Contents = std::map<std::string, double>;

class FileSource : public ArrayTest {
 protected:
  // Labels a, b, x, y, z; p(i,j) with four records, written first; then the sets i = {a, b}, j = {x, y, z}.
  void writeFile() {
    TvfFileWriter file(path, {"a", "b", "x", "y", "z"});
    file.symbol("p", 2, TRV_DT_PAR, 0, {{{1, 3}, {1}}, {{1, 5}, {2}}, {{2, 4}, {3}}, {{2, 5}, {4}}}, {"i", "j"});
    file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {0}}, {{2}, {0}}});
    file.symbol("j", 1, TRV_DT_SET, 0, {{{3}, {0}}, {{4}, {0}}, {{5}, {0}}});
  }

  void open() {
    ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str())) << lastError();
    c__tvbfindsymbol(db, "p", &p);
    c__tvbfindsymbol(db, "i", &i);
    c__tvbfindsymbol(db, "j", &j);
  }

  // p, the first symbol written, can then not be read.
  void damageP() { exchange_test::damageFirstRecordBlock(path); }

  ScratchDir dir;
  std::string path = dir.path("source.tvf");
  tvbSymbol *p = nullptr, *i = nullptr, *j = nullptr;
};

TEST_F(FileSource, ReadsTakeTheSymbolAndItsDomainSetsFromTheFile) {
  writeFile();
  open();
  tvbSymbol* domains[2] = {i, j};
  int extents[2] = {2, 3};
  std::vector<double> cube(6, -1);
  int dropped = 7;
  ASSERT_EQ(1, c__tvbsparsesymboltodensearray(db, cube.data(), extents, p, domains, 0, &dropped)) << lastError();
  EXPECT_EQ((std::vector<double>{1, 0, 2, 0, 3, 4}), cube);
  EXPECT_EQ(0, dropped);
}

TEST_F(FileSource, AWriteReplacesASymbolStillInTheFileWithoutReadingIt) {
  writeFile();
  damageP();  // reading p would fail
  open();
  tvbSymbol* domains[2] = {i, j};
  int extents[2] = {2, 3};
  double cube[6] = {0, 0, 0, 0, 0, 9};
  ASSERT_EQ(1, c__tvbdensearrayslicestosymbol(db, p, domains, domains, cube, extents)) << lastError();
  EXPECT_EQ((Contents{{"b.z", 9}}), contents(p));
}

TEST_F(FileSource, ARefusedWriteLeavesTheSymbolToBeReadFromTheFile) {
  writeFile();
  open();
  tvbSymbol* domains[2] = {i, j};
  int wrong[2] = {2, 2};
  double cube[6] = {};
  EXPECT_EQ(0, c__tvbdensearraytosymbol(db, p, domains, cube, wrong));
  EXPECT_EQ("Cube dimension 2 is 2 while card(j) is 3.", lastError());
  EXPECT_EQ((Contents{{"a.x", 1}, {"a.z", 2}, {"b.y", 3}, {"b.z", 4}}), contents(p));
}

TEST_F(FileSource, ASymbolThatCannotBeReadFailsTheRead) {
  writeFile();
  damageP();
  open();
  tvbSymbol* domains[2] = {i, j};
  int extents[2] = {2, 3};
  std::vector<double> cube(6, -1);
  int dropped = 7;
  EXPECT_EQ(0, c__tvbsparsesymboltodensearray(db, cube.data(), extents, p, domains, 0, &dropped));
  EXPECT_EQ(0u, lastError().find("Error reading the records of symbol p from the TVF file")) << lastError();
  EXPECT_EQ(-1, dropped);
  EXPECT_EQ(std::vector<double>(6, -1), cube);
}

}  // namespace
