// What the writer refuses or reports, and the error log it reports on: duplicate keys, domain checks, label
// and symbol rules, calls in the wrong order; errors taken off most recent first, texts of numbers already taken
// off, a fresh log for each file opened. A file written with errors is not written at all.
#include <filesystem>
#include <string>
#include <vector>

#include "tvf_test_support.h"

namespace tvf_test {
namespace {

using Errors = std::vector<std::string>;

class WriteRules : public ::testing::Test {
 protected:
  void SetUp() override { OpenWriteWithLabels(writer_, path_, {"a", "b", "c"}); }

  // Closing after `errors` logged errors: the file is not written.
  void ExpectNotWritten(int errors) {
    EXPECT_EQ(tvfClose(writer_), 0);
    EXPECT_EQ(DrainErrors(writer_), Errors{"file '" + path_ + "' is left as it was: " + std::to_string(errors) +
                                           " error(s) were logged while writing it"});
    EXPECT_FALSE(std::filesystem::exists(path_));
  }

  ScratchDir dir_;
  std::string path_ = dir_.path("w.tvf");
  Object writer_;
  Object reader_;
};

// Duplicate keys, a second scalar record, labels outside a checked domain.
TEST_F(WriteRules, RecordErrorsAreLoggedAndFailTheFile) {
  WriteSymbol(writer_, "i", 1, 0, {{{1}, {0}}, {{2}, {0}}});
  WriteSymbol(writer_, "none", 1, 0, {});
  ASSERT_EQ(CtvfAddAlias(writer_, "ai", "i"), 1);
  ASSERT_EQ(CtvfAddAlias(writer_, "all", "*"), 1);
  WriteSymbol(writer_, "p", 2, 1, {{{3, 1}, {1}}, {{1, 3}, {2}}, {{3, 3}, {3}}}, {"*", "i"});
  WriteSymbol(writer_, "q", 3, 1, {{{2, 3, 1}, {1}}}, {"ai", "all", "none"});  // through aliases, into an empty set
  WriteSymbol(writer_, "d2", 2, 1, {{{1, 2}, {1}}, {{1, 2}, {2}}, {{2, 1}, {3}}});
  WriteSymbol(writer_, "d1", 1, 1, {{{3}, {1}}, {{1}, {2}}, {{3}, {4}}});
  WriteSymbol(writer_, "s", 0, 1, {{{}, {1}}, {{}, {2}}});
  EXPECT_EQ(DrainErrors(writer_),
            (Errors{"more than one record of scalar symbol 's'", "duplicate key ('c') in the records of symbol 'd1'",
                    "duplicate key ('a','b') in the records of symbol 'd2'",
                    "label 'a' at position 3 of a record of symbol 'q' is not in its domain set 'none'",
                    "label 'c' at position 2 of a record of symbol 'p' is not in its domain set 'i'",
                    "label 'c' at position 2 of a record of symbol 'p' is not in its domain set 'i'"}));
  ExpectNotWritten(6);
}

TEST_F(WriteRules, ACheckedDomainMustNameOneDimensionalSetsAlreadyInTheFile) {
  WriteSymbol(writer_, "i", 1, 0, {{{1}, {0}}});
  WriteSymbol(writer_, "q", 1, 1, {});
  WriteSymbol(writer_, "ij", 2, 0, {});
  ASSERT_EQ(CtvfDataWriteRawStart(writer_, "p", "", 4, 1, 0), 1);
  const char *names[4] = {"nowhere", "q", "ij", "p"};
  EXPECT_EQ(CtvfSymbolSetDomain(writer_, names), 0);
  EXPECT_EQ(DrainErrors(writer_),
            (Errors{"domain 'p' at position 4 of symbol 'p' is not a set written to the file before it",
                    "domain 'ij' at position 3 of symbol 'p' is not a one-dimensional set",
                    "domain 'q' at position 2 of symbol 'p' is not a one-dimensional set",
                    "domain 'nowhere' at position 1 of symbol 'p' is not a set written to the file before it"}));
  // Refused, the domain checks nothing; the names can still be stored as given.
  int key[20] = {3, 3, 3, 3};
  double values[5] = {1};
  EXPECT_EQ(tvfDataWriteRaw(writer_, key, values), 1);
  ASSERT_EQ(tvfDataWriteDone(writer_), 1);
  ASSERT_EQ(CtvfSymbolSetDomainX(writer_, 4, names), 1);
  EXPECT_EQ(tvfGetLastError(writer_), 0);
  // A domain comes before the records.
  ASSERT_EQ(CtvfDataWriteRawStart(writer_, "r", "", 1, 1, 0), 1);
  ASSERT_EQ(tvfDataWriteRaw(writer_, key, values), 1);
  const char *set[1] = {"i"};
  EXPECT_EQ(CtvfSymbolSetDomain(writer_, set), 0);
  EXPECT_EQ(DrainErrors(writer_), Errors{"the domain of symbol 'r' is set after its first record"});
}

TEST_F(WriteRules, BadLabelsAndSymbolsAreRefused) {
  ASSERT_EQ(tvfUELRegisterRawStart(writer_), 1);
  EXPECT_EQ(CtvfUELRegisterRaw(writer_, std::string(63, 'x').c_str()), 1);
  EXPECT_EQ(CtvfUELRegisterRaw(writer_, std::string(64, 'y').c_str()), 0);
  EXPECT_EQ(CtvfUELRegisterRaw(writer_, "B"), 0);
  ASSERT_EQ(tvfUELRegisterDone(writer_), 1);
  EXPECT_EQ(CtvfUELRegisterRaw(writer_, "d"), 0);
  EXPECT_EQ(DrainErrors(writer_),
            (Errors{"tvfUELRegisterRaw: labels are registered between tvfUELRegisterRawStart and tvfUELRegisterDone",
                    "label 'B' is registered twice (first as number 2)",
                    "label '" + std::string(64, 'y') + "...' is longer than 63 characters"}));
  int uels = 0, high = 0;
  ASSERT_EQ(tvfUMUelInfo(writer_, &uels, &high), 1);
  EXPECT_EQ(uels, 4);
  // Symbol names, dimensions, types, texts and aliases.
  EXPECT_EQ(CtvfDataWriteRawStart(writer_, "1x", "", 1, 1, 0), 0);
  EXPECT_EQ(CtvfDataWriteRawStart(writer_, "a-b", "", 1, 1, 0), 0);
  EXPECT_EQ(CtvfDataWriteRawStart(writer_, std::string(64, 'n').c_str(), "", 1, 1, 0), 0);
  EXPECT_EQ(CtvfDataWriteRawStart(writer_, "d21", "", 21, 1, 0), 0);
  EXPECT_EQ(CtvfDataWriteRawStart(writer_, "alias", "", 1, 4, 0), 0);
  EXPECT_EQ(CtvfDataWriteRawStart(writer_, "t", std::string(256, 't').c_str(), 1, 1, 0), 0);
  WriteSymbol(writer_, "Name_1", 1, 1, {});
  EXPECT_EQ(CtvfDataWriteRawStart(writer_, "NAME_1", "", 1, 1, 0), 0);
  EXPECT_EQ(CtvfAddAlias(writer_, "name_1", "*"), 0);
  EXPECT_EQ(CtvfAddAlias(writer_, "al", "missing"), 0);
  EXPECT_EQ(CtvfAddAlias(writer_, "al", "Name_1"), 0);
  const std::string invalid =
      "' is not a valid symbol name (1 to 63 letters, digits and underscores, starting "
      "with a letter)";
  EXPECT_EQ(DrainErrors(writer_),
            (Errors{"alias 'al': symbol 'Name_1' is not a set", "alias 'al': there is no set 'missing' in the file",
                    "symbol 'name_1' is already in the file", "symbol 'NAME_1' is already in the file",
                    "symbol 't': explanatory text is longer than 255 characters",
                    "symbol 'alias': type 4 is not a set (0), parameter (1), variable (2) or equation (3)",
                    "symbol 'd21': dimension 21 is outside 0 to 20", "'" + std::string(64, 'n') + invalid,
                    "'a-b" + invalid, "'1x" + invalid}));
  // Records use registered labels only.
  WriteSymbol(writer_, "p", 2, 1, {{{1, 0}, {1}}, {{5, 1}, {1}}, {{1, 1}, {1}}});
  EXPECT_EQ(DrainErrors(writer_),
            (Errors{"label number 5 out of range in the records of symbol 'p' (the file has 4 labels)",
                    "label number 0 out of range in the records of symbol 'p' (the file has 4 labels)"}));
  ExpectNotWritten(15);
}

TEST_F(WriteRules, NullPointersAreLoggedNotFollowed) {
  EXPECT_EQ(CtvfUELRegisterRaw(writer_, nullptr), 0);
  EXPECT_EQ(tvfDataWriteRaw(writer_, nullptr, nullptr), 0);
  ASSERT_EQ(CtvfDataWriteRawStart(writer_, "n", nullptr, 1, 1, 0), 1);
  EXPECT_EQ(CtvfSymbolSetDomain(writer_, nullptr), 0);
  const char *names[1] = {nullptr};
  EXPECT_EQ(CtvfSymbolSetDomain(writer_, names), 0);
  EXPECT_EQ(DrainErrors(writer_), (Errors{"tvfSymbolSetDomain: argument domainNames[i] is a null pointer",
                                          "tvfSymbolSetDomain: argument domainNames is a null pointer",
                                          "tvfDataWriteRaw: argument keys is a null pointer",
                                          "tvfUELRegisterRaw: argument label is a null pointer"}));
  EXPECT_EQ(tvfClose(nullptr), 0);
  EXPECT_EQ(XFree(nullptr), 1);
}

// It has no domain names to read: an absent list is fine.
TEST_F(WriteRules, AScalarNeedsNoDomainNames) {
  WriteSymbol(writer_, "n", 1, 1, {});
  ASSERT_EQ(CtvfDataWriteRawStart(writer_, "s", "", 0, 1, 0), 1);
  EXPECT_EQ(CtvfSymbolSetDomain(writer_, nullptr), 1);
  ASSERT_EQ(tvfDataWriteDone(writer_), 1);
  EXPECT_EQ(CtvfSymbolSetDomainX(writer_, 2, nullptr), 1);
  EXPECT_EQ(tvfGetLastError(writer_), 0);
}

TEST_F(WriteRules, CallsInTheWrongOrderAreRefused) {
  int key[20] = {1};
  double values[5] = {1};
  EXPECT_EQ(tvfDataWriteRaw(writer_, key, values), 0);
  EXPECT_EQ(tvfDataWriteDone(writer_), 0);
  ASSERT_EQ(CtvfDataWriteRawStart(writer_, "p", "", 1, 1, 0), 1);
  EXPECT_EQ(CtvfDataWriteRawStart(writer_, "q", "", 1, 1, 0), 0);
  EXPECT_EQ(CtvfAddAlias(writer_, "r", "*"), 0);
  EXPECT_EQ(tvfUELRegisterRawStart(writer_), 0);
  int count = 0;
  EXPECT_EQ(tvfDataReadRawStart(writer_, 1, &count), 0);
  int err = 0;
  EXPECT_EQ(CtvfOpenWrite(writer_, path_.c_str(), "", &err), 0);
  EXPECT_EQ(ErrorText(writer_, err), "tvfOpenWrite: a file is open; close it first");
  const std::string being_written = ": the records of symbol 'p' are being written (tvfDataWriteDone comes first)";
  const std::string none_written = ": no symbol is being written (tvfDataWriteRawStart comes first)";
  EXPECT_EQ(DrainErrors(writer_),
            (Errors{"tvfOpenWrite: a file is open; close it first", "tvfDataReadRawStart: no file is open for reading",
                    "tvfUELRegisterRawStart" + being_written, "tvfAddAlias" + being_written,
                    "tvfDataWriteRawStart" + being_written, "tvfDataWriteDone" + none_written,
                    "tvfDataWriteRaw" + none_written}));
  ExpectNotWritten(7);
  EXPECT_EQ(tvfClose(writer_), 0);
  EXPECT_EQ(DrainErrors(writer_), Errors{"tvfClose: no file is open"});
  WriteSample(path_);
  EXPECT_EQ(CtvfOpenRead(reader_, path_.c_str(), &err), 1);
  EXPECT_EQ(tvfUELRegisterRawStart(reader_), 0);
  EXPECT_EQ(DrainErrors(reader_), Errors{"tvfUELRegisterRawStart: no file is open for writing"});
}

using ErrorLog = WriteRules;

TEST_F(ErrorLog, ErrorsComeOffMostRecentFirstAndKeepTheirTexts) {
  EXPECT_EQ(tvfErrorCount(writer_), 0);
  EXPECT_EQ(tvfGetLastError(writer_), 0);
  EXPECT_EQ(CtvfUELRegisterRaw(writer_, "x"), 0);
  EXPECT_EQ(tvfDataWriteDone(writer_), 0);
  ASSERT_EQ(tvfErrorCount(writer_), 2);
  EXPECT_EQ(tvfGetLastError(writer_), 2);
  EXPECT_EQ(tvfErrorCount(writer_), 2) << "taking an error off does not uncount it";
  EXPECT_EQ(CtvfUELRegisterRaw(writer_, "x"), 0);
  EXPECT_EQ(tvfGetLastError(writer_), 3);
  EXPECT_EQ(tvfGetLastError(writer_), 1);
  EXPECT_EQ(tvfGetLastError(writer_), 0);
  EXPECT_EQ(tvfErrorCount(writer_), 3);
  EXPECT_EQ(ErrorText(writer_, 2), "tvfDataWriteDone: no symbol is being written (tvfDataWriteRawStart comes first)")
      << "a number taken off keeps its text";
  EXPECT_EQ(ErrorText(writer_, 0), "no error");
  EXPECT_EQ(ErrorText(writer_, 99), "unknown error number 99");
  EXPECT_EQ(ErrorText(writer_, -1), "unknown error number -1");
  EXPECT_EQ(CtvfErrorStr(writer_, 0, nullptr), 0);
}

TEST_F(ErrorLog, OpeningAFileStartsAFreshLog) {
  EXPECT_EQ(CtvfUELRegisterRaw(writer_, "x"), 0);
  ASSERT_EQ(tvfClose(writer_), 0);
  OpenWriteWithLabels(writer_, path_, {});
  EXPECT_EQ(tvfErrorCount(writer_), 0);
  EXPECT_EQ(tvfGetLastError(writer_), 0);
}

}  // namespace
}  // namespace tvf_test
