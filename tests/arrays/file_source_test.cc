// Array transfers of a database read from a TVF file: a write replaces a symbol without reading it, and a
// symbol that cannot be read fails the read. (That a read takes the symbol and its domain sets from the file
// on first use, the Python package's file tests show.)
#include <string>
#include <vector>

#include "arrays/array_fixture.h"
#include "exchange/exchange_support.h"

namespace {

class FileSource : public ArrayTest {
 protected:
  // Labels a, b, x, y, z; p(i,j) with four records, written first (so that damage spoils it); then the sets
  // i = {a, b}, j = {x, y, z}.
  void open(bool damaged) {
    {
      exchange_test::TvfFileWriter file(path, {"a", "b", "x", "y", "z"});
      file.symbol("p", 2, TRV_DT_PAR, 0, {{{1, 3}, {1}}, {{1, 5}, {2}}, {{2, 4}, {3}}, {{2, 5}, {4}}}, {"i", "j"});
      file.symbol("i", 1, TRV_DT_SET, 0, {{{1}, {0}}, {{2}, {0}}});
      file.symbol("j", 1, TRV_DT_SET, 0, {{{3}, {0}}, {{4}, {0}}, {{5}, {0}}});
    }
    if (damaged) exchange_test::damageFirstRecordBlock(path);
    ASSERT_EQ(1, c__tvbinitfromtvf(db, path.c_str())) << lastError();
    for (auto [name, sym] : {std::pair{"p", &p}, {"i", &i}, {"j", &j}}) c__tvbfindsymbol(db, name, sym);
  }

  exchange_test::ScratchDir dir;
  std::string path = dir.path("source.tvf");
  tvbSymbol *p = nullptr, *i = nullptr, *j = nullptr;
};

TEST_F(FileSource, ARefusedWriteLeavesTheSymbolToBeReadFromTheFile) {
  open(false);
  EXPECT_EQ("Cube dimension 2 is 2 while card(j) is 3.", write(p, {i, j}, {2, 2}));
  EXPECT_EQ("1 2 3 4", read(p, {2, 2}));  // its four records, in store order
}

TEST_F(FileSource, AWriteReplacesASymbolStillInTheFileWithoutReadingIt) {
  open(true);  // reading p would fail
  ASSERT_EQ("", write(p, {i, j}, {2, 3}, {0, 0, 0, 0, 0, 9}, {i, j}));
  EXPECT_EQ((std::map<std::string, double>{{"b.z", 9}}), contents(p));
}

TEST_F(FileSource, ASymbolThatCannotBeReadFailsTheReadLeavingTheCube) {
  open(true);
  std::vector<double> cube(6, -1);
  tvbSymbol* domains[2] = {i, j};
  int extents[2] = {2, 3}, dropped = 7;
  EXPECT_EQ(0, c__tvbsparsesymboltodensearray(db, cube.data(), extents, p, domains, 0, &dropped));
  EXPECT_EQ(0u, lastError().find("Error reading the records of symbol p from the TVF file")) << lastError();
  EXPECT_EQ(-1, dropped);
  EXPECT_EQ(std::vector<double>(6, -1), cube);
}

}  // namespace
