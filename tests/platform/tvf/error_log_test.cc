// The error log: counting, taking errors off most recent first, texts of numbers already taken off, and a
// fresh log for each file opened.
#include <string>
#include <vector>

#include "tvf_test_support.h"

namespace tvf_test {
namespace {

class ErrorLog : public ::testing::Test {
 protected:
  void SetUp() override { OpenWriteWithLabels(writer_, dir_.Path("e.tvf"), {"a"}); }

  // Logs one error (a label registered outside registration).
  void LogOne() { EXPECT_EQ(CtvfUELRegisterRaw(writer_, "x"), 0); }

  ScratchDir dir_;
  Object writer_;
};

TEST_F(ErrorLog, ErrorsComeOffMostRecentFirstAndStillCount) {
  EXPECT_EQ(tvfErrorCount(writer_), 0);
  EXPECT_EQ(tvfGetLastError(writer_), 0);
  LogOne();
  EXPECT_EQ(tvfDataWriteDone(writer_), 0);
  ASSERT_EQ(tvfErrorCount(writer_), 2);
  EXPECT_EQ(tvfGetLastError(writer_), 2);
  EXPECT_EQ(tvfErrorCount(writer_), 2) << "taking an error off does not uncount it";
  LogOne();
  EXPECT_EQ(tvfGetLastError(writer_), 3);
  EXPECT_EQ(tvfGetLastError(writer_), 1);
  EXPECT_EQ(tvfGetLastError(writer_), 0);
  EXPECT_EQ(tvfErrorCount(writer_), 3);
  EXPECT_EQ(ErrorText(writer_, 2), "tvfDataWriteDone: no symbol is being written (tvfDataWriteRawStart comes first)")
      << "a number taken off keeps its text";
}

TEST_F(ErrorLog, TheDatabasesPatternForRefusedDomains) {
  // Note the count, let a checked domain be refused, take off exactly the errors it added: the errors logged
  // before and after stay on the log.
  LogOne();
  ASSERT_EQ(CtvfDataWriteRawStart(writer_, "p", "", 1, 1, 0), 1);
  const int noted = tvfErrorCount(writer_);
  const char *names[1] = {"nowhere"};
  ASSERT_EQ(CtvfSymbolSetDomain(writer_, names), 0);
  for (int n = tvfErrorCount(writer_) - noted; n > 0; --n) EXPECT_NE(tvfGetLastError(writer_), 0);
  int key[20] = {1};
  double values[5] = {};
  tvfDataWriteRaw(writer_, key, values);
  tvfDataWriteRaw(writer_, key, values);
  ASSERT_EQ(tvfDataWriteDone(writer_), 1);
  EXPECT_EQ(DrainErrors(writer_),
            (std::vector<std::string>{
                "duplicate key ('a') in the records of symbol 'p'",
                "tvfUELRegisterRaw: labels are registered between tvfUELRegisterRawStart and tvfUELRegisterDone"}));
}

TEST_F(ErrorLog, NumbersWithoutAnError) {
  EXPECT_EQ(ErrorText(writer_, 0), "no error");
  EXPECT_EQ(ErrorText(writer_, 99), "unknown error number 99");
  EXPECT_EQ(ErrorText(writer_, -1), "unknown error number -1");
  EXPECT_EQ(CtvfErrorStr(writer_, 0, nullptr), 0);
}

TEST_F(ErrorLog, OpeningAFileStartsAFreshLog) {
  LogOne();
  ASSERT_EQ(tvfClose(writer_), 1);
  int err = 0;
  ASSERT_EQ(CtvfOpenRead(writer_, dir_.Path("e.tvf").c_str(), &err), 1);
  EXPECT_EQ(tvfErrorCount(writer_), 0);
  EXPECT_EQ(tvfGetLastError(writer_), 0);
}

}  // namespace
}  // namespace tvf_test
