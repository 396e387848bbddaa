// A host program hands the database its read routines (written in C, host_program.c): records are read
// through them on first use, the host's special values mapped and element texts fetched; writing streams
// them into a file without loading; the log routine receives tvbPrintLog's messages.
#include "exchange/host_program.h"

#include <string>
#include <vector>

#include "exchange/exchange_support.h"

namespace {

using exchange_test::Database;
using exchange_test::recordLines;
using exchange_test::ScratchDir;
using Strings = std::vector<std::string>;

const int kParameterKeys[] = {1, 2, 3, 4, 5, 6};
const double kParameterValues[] = {2e300, 0, 0, 0, 0, 7.5,   0, 0, 0, 0, 3e300, 0, 0, 0, 0,
                                   4e300, 0, 0, 0, 0, 5e300, 0, 0, 0, 0, 1e300, 0, 0, 0, 0};
const int kVariableKeys[] = {1, 2};
const double kVariableValues[] = {1, 2e300, 4e300, 3e300, 5e300};
const int kSetKeys[] = {1, 2, 3};
const double kSetValues[] = {0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0};
const HostSymbol kSymbols[] = {{"p", 1, 6, kParameterKeys, kParameterValues},
                               {"x", 2, 1, kVariableKeys, kVariableValues},
                               {"s", 1, 3, kSetKeys, kSetValues}};
const char* const kTexts[] = {"one", "two", "two"};

class HostProgramTest : public ::testing::Test {
 protected:
  // The database knows the labels and symbols; the host holds the records.
  void SetUp() override {
    hostProgramStart(&host, kSymbols, 3, kTexts, 3);
    for (const char* label : {"a", "b", "c", "d", "e", "f"}) {
      int uel = 0;
      c__tvbmergeuel(db, label, &uel);
    }
    db.add("p", 1, TRV_DT_PAR);
    db.add("x", 2, TRV_DT_VAR);
    db.add("s", 1, TRV_DT_SET);
    db.add("missing", 1, TRV_DT_PAR);
  }

  void handOver() {
    ASSERT_EQ(1, c__tvbinitfromcmex(db, hostFindSymbol, hostDataReadRawStart, hostDataReadRaw, hostDataReadDone,
                                    hostElemText, hostLog, &host));
  }

  // Fails the first use of sym and returns the last error.
  std::string firstUseError(const char* name) {
    tvbRecordHandle* rec = nullptr;
    EXPECT_EQ(0, c__tvbfindfirstrecord(db, db.symbol(name), &rec));
    return db.lastError();
  }

  HostProgram host;
  Database db;
};

TEST_F(HostProgramTest, RecordsComeThroughTheHostWithSpecialValuesAndTextsMapped) {
  handOver();
  EXPECT_EQ(0, host.finds);  // nothing is read before it is needed
  const double mine[5] = {-1, -2, -3, -4, -5};
  c__tvbsetspecialvalues(db, mine);
  EXPECT_EQ((Strings{"a -2(c000000000000000)", "b 7.5(401e000000000000)", "c -3(c008000000000000)",
                     "d -4(c010000000000000)", "e -5(c014000000000000)", "f -1(bff0000000000000)"}),
            recordLines(db, db.symbol("p")));
  EXPECT_EQ((Strings{"a.b 1(3ff0000000000000) -2(c000000000000000) -4(c010000000000000) -3(c008000000000000) "
                     "-5(c014000000000000)"}),
            recordLines(db, db.symbol("x")));
  // Set values are text numbers, not mapped; the host's texts are interned.
  c__tvbsetdebug(db, 2);
  ::testing::internal::CaptureStdout();
  Strings set = recordLines(db, db.symbol("s"));
  std::string traced = ::testing::internal::GetCapturedStdout();
  c__tvbsetdebug(db, 0);
  EXPECT_EQ((Strings{"a ''", "b 'two'", "c 'two'"}), set);
  EXPECT_EQ("  Text already exists\n", traced);
  EXPECT_EQ(2, host.elemTexts);
  EXPECT_EQ(3, host.finds);
  recordLines(db, db.symbol("p"));
  EXPECT_EQ(3, host.finds);  // read once
}

TEST_F(HostProgramTest, HandingOverEmptiesEverySymbolAndKeepsLabelsAndSymbols) {
  db.record(db.symbol("p"), {"f"}, {99});
  db.record(db.symbol("missing"), {"a"}, {1});
  handOver();
  int count = 0;
  double unused;
  char text[TRV_SSSIZE];
  c__tvbinfo(db, TRV_INFO_UEL_COUNT, &count, &unused, text);
  EXPECT_EQ(6, count);
  EXPECT_EQ(6u, recordLines(db, db.symbol("p")).size());  // the host's, not the old record
  EXPECT_EQ("Problems with findSymbol for symbol missing", firstUseError("missing"));
  EXPECT_EQ("Cannot find a record in Symbol missing", firstUseError("missing"));  // tried once only
}

TEST_F(HostProgramTest, EachFailingRoutineIsNamed) {
  struct Case {
    HostFailure failure;
    const char* message;
  };
  for (const Case& c : {Case{HOST_FAIL_FIND_SYMBOL, "Problems with findSymbol for symbol p"},
                        Case{HOST_FAIL_READ_START, "Problems with dataReadRawStart for symbol p"},
                        Case{HOST_FAIL_READ, "Problems with dataReadRaw for symbol p"},
                        Case{HOST_FAIL_READ_DONE, "Problems with dataReadDone for symbol p"}}) {
    handOver();  // every symbol waits in the host again
    host.failure = c.failure;
    EXPECT_EQ(c.message, firstUseError("p"));
  }
  // A failing text routine ends the loading without a message of its own.
  handOver();
  host.failure = HOST_FAIL_ELEM_TEXT;
  EXPECT_EQ(nullptr, db.symbol("nosuch"));
  EXPECT_EQ("Cannot find symbol nosuch", firstUseError("s"));
  host.failure = HOST_FAIL_NOTHING;
  handOver();
  EXPECT_EQ(3u, recordLines(db, db.symbol("s")).size());
}

TEST_F(HostProgramTest, ALabelNumberOutsideTheTableIsRefused) {
  const int keys[] = {7};
  const double values[] = {1, 0, 0, 0, 0};
  const HostSymbol symbols[] = {{"p", 1, 1, keys, values}};
  hostProgramStart(&host, symbols, 1, nullptr, 0);
  handOver();
  EXPECT_EQ("Problems with dataReadRaw for symbol p: label number 7 outside [1,6]", firstUseError("p"));
}

TEST_F(HostProgramTest, WritingStreamsTheHostsRecordsWithoutLoadingThem) {
  handOver();
  ScratchDir dir;
  std::string path = dir.path("host.tvf");
  ASSERT_EQ(1, c__tvbclearsymbol(db, db.symbol("missing")));  // not in the host: emptied, so not read
  ASSERT_EQ(1, c__tvbwritetvf(db, path.c_str(), 0)) << db.lastError();
  EXPECT_EQ(3, host.finds);
  EXPECT_EQ(0, host.elemTexts);  // set values go to the file as the host gives them

  Database readBack;
  ASSERT_EQ(1, c__tvbinitfromtvf(readBack, path.c_str()));
  EXPECT_EQ((Strings{"a NA", "b 7.5(401e000000000000)", "c +INF", "d -INF", "e EPS", "f UNDF"}),
            recordLines(readBack, readBack.symbol("p")));
  // The database itself still reads each symbol from the host at its first use.
  EXPECT_EQ(6u, recordLines(db, db.symbol("p")).size());
  EXPECT_EQ(4, host.finds);

  host.failure = HOST_FAIL_READ;
  handOver();
  EXPECT_EQ(0, c__tvbwritetvf(db, path.c_str(), 0));
  EXPECT_EQ("Problems writing symbol p to TVF", db.lastError());
}

TEST_F(HostProgramTest, LogMessagesGoToTheHostCutTo255Characters) {
  ::testing::internal::CaptureStdout();
  c__tvbprintlog(db, "before the host");
  EXPECT_EQ("before the host\n", ::testing::internal::GetCapturedStdout());
  handOver();
  std::string longMessage(300, 'm');
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(1, c__tvbprintlog(db, longMessage.c_str()));
  EXPECT_EQ("", ::testing::internal::GetCapturedStdout());
  EXPECT_EQ(1, host.logCalls);
  EXPECT_EQ(255, static_cast<unsigned char>(host.logged[0]));
  EXPECT_EQ(std::string(255, 'm'), std::string(host.logged + 1, 255));
  char lengthPrefixed[TRV_SSSIZE] = {5, 'h', 'e', 'l', 'l', 'o'};
  EXPECT_EQ(1, d__tvbprintlog(db, lengthPrefixed));
  EXPECT_EQ("hello", std::string(host.logged + 1, static_cast<unsigned char>(host.logged[0])));
}

}  // namespace
