// Every operation of the operation table with its first, second, third, ... allocation failing until it
// succeeds: each failure ends in "Out of memory in <operation>" and leaves the database usable (the same call
// then succeeds in it, and the whole database can still be written); once its databases are freed, nothing of
// the operation is left (LeakSanitizer checks the same in the sanitizer build). The calls are generated from
// the table's rows: each argument is a member named after the row's parameter, whose type converts to what
// each operation takes under that name. The model libraries' interface carries no reason for some failures and
// lets a solver's log line go when it cannot be stored: those are counted and printed, not failed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "exchange/host_program.h"
#include "rundd.h"
#include "support/allocation_failures.h"
#include "support/scratch_dir.h"
#include "tvbcclib.h"

namespace {

constexpr int kSlots = GLOBAL_MAX_INDEX_DIM;

// An int, or an int array / out int.
struct Int {
  int v[kSlots] = {};
  Int(int first = 0) : v{first} {}
  operator int() const { return v[0]; }
  operator int*() { return v; }
};
struct Double {
  double v[kSlots] = {};
  Double(std::initializer_list<double> values = {}) { std::copy(values.begin(), values.end(), v); }
  operator double() const { return v[0]; }
  operator double*() { return v; }
};
// A string in or a buffer out.
struct Text {
  char v[TRV_SSSIZE] = {};
  Text(const char* text = "") { std::snprintf(v, sizeof v, "%s", text); }
  operator char*() { return v; }
};
// Strings per position, in or out.
struct Labels {
  char v[kSlots][TRV_SSSIZE] = {};
  char* p[kSlots];
  Labels(const char* first = "") {
    for (int i = 0; i < kSlots; ++i) p[i] = v[i];
    set(first);
  }
  Labels(const Labels&) = delete;  // p points into this object's own v
  Labels& operator=(const Labels&) = delete;
  void set(const char* first) { std::snprintf(v[0], TRV_SSSIZE, "%s", first); }
  operator char**() { return p; }
};
// A handle in, or the out argument of a new one.
template <class Handle>
struct HandleArg {
  Handle* in = nullptr;
  Handle* out = nullptr;
  operator Handle*() const { return in; }
  operator Handle**() { return &out; }
};
struct Symbols {
  tvbSymbol* v[kSlots] = {};
  operator tvbSymbol**() { return v; }
};
// A symbol to copy from, or a database to copy.
struct Source {
  tvbSymbol* sym = nullptr;
  tvbHandle* db = nullptr;
  operator tvbSymbol*() const { return sym; }
  operator tvbHandle*() const { return db; }
};
struct Cube {
  double v[64] = {};
  operator void*() { return v; }
};

// One member per parameter name of the table, holding a value that the operations taking it accept.
struct Arguments {
  tvbHandle* ptvb = nullptr;
  Text msg{"allocation failure test"}, label{"a"}, text{"t"}, sval;
  Int level, uelNr{1}, dim{1}, type{TRV_DT_PAR}, userInfo, uels{3}, mode, index, infoKey{1}, ival, extents{2}, field,
      dropped, loadRemaining{1}, noDomainCheck{1}, actionType, updateType{2}, count, hasViolation, indicator, moved,
      status;
  Double values{1e300, 2e300, 3e300, 4e300, 5e300}, value{2.5}, dval, seconds;
  const char *name = "p", *fileName = "", *solver = "GLPK";
  HandleArg<tvbSymbol> sym;
  HandleArg<tvbRecordHandle> rec;
  HandleArg<tvbDVHandle> dv;
  tvbRecordHandle *rec1 = nullptr, *rec2 = nullptr, *src = nullptr;
  Symbols domains, squeeze, slices;
  Labels domainNames{"i"}, labels{"a"}, slice{"a"};
  Source source;
  tvbSymbol *target = nullptr, *modelSym = nullptr, *dataSym = nullptr;
  Cube cube;
  void *tvp = nullptr, *hostHandle = nullptr;
  tvbHostFindSymbol findSymbol = hostFindSymbol;
  tvbHostDataReadRawStart dataReadRawStart = hostDataReadRawStart;
  tvbHostDataReadRaw dataReadRaw = hostDataReadRaw;
  tvbHostDataReadDone dataReadDone = hostDataReadDone;
  tvbHostElemText elemText = hostElemText;
  tvbHostLog log = hostLog;
  tvbRecordHandle* madeRecord = nullptr;  // returned by a Py form
  tvbDVHandle* madeViolation = nullptr;
};

// The generated calls: result 1 or 0 (a Py form's status).
struct Calls : Arguments {
  int outcome(int rc) { return rc; }
  int outcome(tvbSymbol*) { return status; }
  int outcome(tvbRecordHandle* made) {
    madeRecord = made;
    return status;
  }
  int outcome(tvbDVHandle* made) {
    madeViolation = made;
    return status;
  }
#define TVB_OP(area, Name, lower, result, parameters, arguments, ...) \
  TVB_IF_BUILT(                                                       \
      area, int Name() { return outcome(c__tvb##lower arguments); })
#include "tvbcclib_operations.h"
#undef TVB_OP
};

struct Operation {
  std::string name;
  int (Calls::*call)();
  bool ofModel;  // calls the model libraries
};
const Operation kOperations[] = {
#define TVB_OP(area, Name, ...) TVB_IF_BUILT(area, {#Name, &Calls::Name, std::string(#area) == "MODEL"}, )
#include "tvbcclib_operations.h"
#undef TVB_OP
};

// The name in an operation's out-of-memory text: a Py form runs its plain form, and these run another one.
const std::map<std::string, std::string> kRunsAnother = {
    {"AddRecordRaw", "AddRecord"}, {"CheckDBDV", "GetFirstDBDV"}, {"CheckSymbolDV", "GetFirstDVInSymbol"}};
std::string memoryName(std::string name) {
  if (name.size() > 2 && name.compare(name.size() - 2, 2, "Py") == 0) name.resize(name.size() - 2);
  auto other = kRunsAnother.find(name);
  return "tvb" + (other != kRunsAnother.end() ? other->second : name);
}

std::string lastError(tvbHandle* db) {
  char msg[TRV_SSSIZE] = {};
  c__tvbgetlasterror(db, msg);
  return msg;
}

// Failures of the model libraries whose interface carries no reason (the start of their texts): the shortage
// of memory they met cannot be told from the failure they report.
const char* const kUntold[] = {"Could not read configuration file"};
bool untoldShortage(const std::string& failure) {
  return std::any_of(std::begin(kUntold), std::end(kUntold),
                     [&](const char* text) { return failure.rfind(text, 0) == 0; });
}

const std::set<std::string> kInitialisations = {"InitFromTVF", "InitFromDB", "InitFromCMEX", "RegisterTVP",
                                                "InitFromDict"};

class AllocationFailure : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tvbHandle* warm = nullptr;  // the TVF library is loaded once, before any counting
    char msg[TRV_SSSIZE];
    tvbcreate(&warm, msg, sizeof msg);
    tvbfree(&warm);
    scratch = new tvbtest::ScratchDir;
    std::ofstream(scratch->path("model.mod")) << "set I := {'a', 'b'}; var x{I} >= 0; minimize z: sum{i in I} x[i];\n"
                                                 "s.t. c{i in I}: x[i] >= 1; end;\n";
  }
  static void TearDownTestSuite() { delete scratch; }

  tvbHandle* database() {
    tvbHandle* db = nullptr;
    char msg[TRV_SSSIZE];
    EXPECT_EQ(1, tvbcreate(&db, msg, sizeof msg)) << msg;
    databases.push_back(db);
    return db;
  }
  tvbSymbol* symbol(tvbHandle* db, const char* name, int type, tvbSymbol* domain = nullptr) {
    tvbSymbol* sym = nullptr;
    tvbSymbol* domains[1] = {domain};
    const char* names[1] = {""};
    EXPECT_EQ(1, c__tvbaddsymbolx(db, name, 1, type, type == TRV_DT_VAR ? TRV_VAR_FREE : 0, "", domains, names, &sym));
    return sym;
  }
  tvbRecordHandle* record(tvbHandle* db, tvbSymbol* sym, const char* label) {
    tvbRecordHandle* rec = nullptr;
    EXPECT_EQ(1, c__tvbaddrecord(db, sym, &label, &rec)) << lastError(db);
    handles.push_back({db, rec});
    return rec;
  }

  // Labels a, b, c; the set i = {a, b}; p(i) with a and b; q(i) with c, outside its domain; the variable x(i)
  // with a; r(i) empty. Record handles on p(a) and p(b), and an open walk over the domain violations.
  void fill(Calls& a) {
    tvbHandle* db = a.ptvb = database();
    tvbSymbol* i = symbol(db, "i", TRV_DT_SET);
    for (const char* label : {"a", "b"}) record(db, i, label);
    tvbSymbol* p = a.sym.in = a.source.sym = symbol(db, "p", TRV_DT_PAR, i);
    a.rec.in = a.rec1 = a.src = record(db, p, "a");
    a.rec2 = record(db, p, "b");
    record(db, symbol(db, "q", TRV_DT_PAR, i), "c");
    variableRecord = record(db, symbol(db, "x", TRV_DT_VAR, i), "a");
    setRecord = handles.front().second;
    a.target = symbol(db, "r", TRV_DT_PAR, i);
    a.domains.v[0] = a.squeeze.v[0] = a.slices.v[0] = i;
    a.source.db = db;
    a.fileName = file.c_str();
    EXPECT_EQ(1, c__tvbgetfirstdbdv(db, &a.dv.in)) << lastError(db);
    EXPECT_EQ(0, c__tvbfindsymbol(db, "none", &i));                   // a last error to read
    static const int fileMade = c__tvbwritetvf(db, file.c_str(), 1);  // read by the file operations
    EXPECT_EQ(1, fileMade);
  }

  // Arguments for op, where it needs other ones than fill() gives.
  void prepare(const std::string& op, Calls& a) {
    fill(a);
    if (op.rfind("AddSymbol", 0) == 0) a.name = "n";
    if (op.rfind("AddRecord", 0) == 0) a.labels.set("c");
    if (op.find("ElemText") != std::string::npos) a.rec.in = setRecord;
    for (const char* field : {"Marginal", "Lower", "Upper", "Scale"})
      if (op.find(field) != std::string::npos) a.rec.in = variableRecord;
    if (op == "FreeSymbolIterator") {
      a.rec.in = record(a.ptvb, a.sym.in, "c");
      handles.pop_back();  // freed by the operation
    }
    if (op == "FreeDVHandle") violationFreed = true;
    if (op == "CheckDBDV" || op.rfind("GetFirstDBDV", 0) == 0) {  // no walk may be open
      c__tvbfreedvhandle(a.ptvb, a.dv.in);
      c__tvbdomaincheckdone(a.ptvb);
      violationFreed = true;
    }
    if (op.find("Prev") != std::string::npos) a.rec.in = a.rec2;
    if (op == "SameRecord") a.rec1 = a.rec2;
    if (op == "StopWriteRecording") {
      EXPECT_EQ(1, c__tvbstartwriterecording(a.ptvb));
    }
    if (op == "WriteTVF") a.fileName = written.c_str();
    if (op == "CloseTVF") {
      ASSERT_EQ(1, c__tvbinitfromtvf(a.ptvb = database(), file.c_str()));
    }
    if (op == "InitFromCMEX") a.hostHandle = &host;
    if (op == "RegisterTVP" || op == "InitFromDict" || op == "InitUpdate" || op == "UpdateModelSymbol" ||
        op.rfind("CallSolver", 0) == 0)
      prepareModel(op, a);
  }
  void prepareModel(const std::string& op, Calls& a) {
    char msg[TRV_SSSIZE];
    ASSERT_EQ(1, tvpXCreate(&model));
    ASSERT_EQ(1, CtvpLoadMathProg(model, scratch->path("model.mod").c_str(), nullptr, msg, sizeof msg)) << msg;
    a.tvp = model;
    if (op == "RegisterTVP" || op == "InitFromDict") return;
    a.ptvb = database();
    ASSERT_EQ(1, c__tvbinitfromdict(a.ptvb, model)) << lastError(a.ptvb);
    if (op == "InitUpdate") return;
    ASSERT_EQ(1, c__tvbinitupdate(a.ptvb, model)) << lastError(a.ptvb);
    ASSERT_EQ(1, c__tvbfindsymbol(a.ptvb, "x", &a.modelSym));
    a.dataSym = symbol(a.ptvb, "d", TRV_DT_PAR);
    record(a.ptvb, a.dataSym, "a");
  }

  void TearDown() override {
    for (auto [db, rec] : handles) c__tvbfreesymboliterator(db, rec);
    for (tvbHandle* db : databases) tvbfree(&db);
    if (model) tvpXFree(&model);
    model = nullptr;
  }

  AllocationFailure() {
    databases.reserve(8);  // no allocation of the fixture's own between two counts
    handles.reserve(16);
  }
  void exercise(const Operation& op);

  static inline tvbtest::ScratchDir* scratch = nullptr;
  long points = 0, untold = 0, absorbed = 0;
  int operations = 0;
  std::string file = scratch->path("filled.tvf"), written = scratch->path("written.tvf");
  std::vector<tvbHandle*> databases;
  std::vector<std::pair<tvbHandle*, tvbRecordHandle*>> handles;
  tvbRecordHandle *setRecord = nullptr, *variableRecord = nullptr;
  bool violationFreed = false;
  void* model = nullptr;
  HostProgram host{};
};

// Runs op with allocation 0, 1, 2, ... failing until it succeeds, then checks that its database is usable.
void AllocationFailure::exercise(const Operation& op) {
  SCOPED_TRACE(op.name);
  Calls a;
  prepare(op.name, a);
  if (HasFatalFailure()) return;
  const std::string outOfMemory = "Out of memory in " + memoryName(op.name);
  // An initialisation fills an empty database, which keeps what a failed one read: each attempt has its own.
  const bool initialises = kInitialisations.count(op.name) != 0;
  int rc = 0;
  long n = 0;
  for (;; ++n) {
    const long live = tvbtest::liveAllocations();
    tvbHandle* target = initialises ? a.ptvb = database() : nullptr;
    testing::internal::CaptureStdout();  // the failures' announcements
    tvbtest::failAllocationAfter(n);
    try {
      rc = (a.*op.call)();
    } catch (const std::bad_alloc&) {
      ADD_FAILURE() << "out of memory escaped at allocation " << n;
      rc = 0;
    }
    tvbtest::stopFailing();
    testing::internal::GetCapturedStdout();
    if (!tvbtest::injectedFailure()) break;
    if (rc == 1) {  // a model library kept going without what it could not allocate: its interface cannot say
      if (op.ofModel) {
        ++absorbed;
      } else {
        ADD_FAILURE() << "succeeded with allocation " << n << " failing";
      }
      continue;
    }
    if (op.ofModel && untoldShortage(lastError(a.ptvb))) {
      ++untold;
    } else {
      EXPECT_EQ("0 " + outOfMemory, std::to_string(rc) + " " + lastError(a.ptvb)) << "allocation " << n;
    }
    if (target) {
      databases.pop_back();
      tvbfree(&target);
      EXPECT_EQ(live, tvbtest::liveAllocations()) << "leaked with allocation " << n << " failing";
    }
  }
  EXPECT_EQ(1, rc) << lastError(a.ptvb);
  points += n;
  ++operations;
  for (tvbRecordHandle* rec : {a.rec.out, a.madeRecord})
    if (rec) handles.push_back({a.ptvb, rec});
  for (tvbDVHandle* dv : {a.dv.out, a.madeViolation})
    if (dv) c__tvbfreedvhandle(a.ptvb, dv);
  if (!violationFreed) c__tvbfreedvhandle(databases.front(), a.dv.in);
  EXPECT_EQ(1, c__tvbwritetvf(a.ptvb, written.c_str(), 1)) << "afterwards: " << lastError(a.ptvb);
  TearDown();
  handles.clear();
  databases.clear();
  violationFreed = false;
}

TEST_F(AllocationFailure, EveryOperationOfTheTableFailsCleanlyAtEachAllocation) {
  hostProgramStart(&host, nullptr, 0, nullptr, 0);
  testing::internal::CaptureStdout();  // first uses keep what they need
  testing::internal::GetCapturedStdout();
  { SCOPED_TRACE("first use"); }
  // The first round also loads what a process keeps once loaded (libraries, solver tables); the second counts.
  for (int round = 0; round < 2; ++round) {
    points = untold = absorbed = operations = 0;
    for (const Operation& op : kOperations) {
      const long baseline = tvbtest::liveAllocations();
      exercise(op);
      if (round == 1) {
        EXPECT_EQ(baseline, tvbtest::liveAllocations()) << op.name << " leaked";
      }
    }
  }
  std::printf(
      "allocation failures: %d operations, %ld failure points exercised; %ld of them in the model\n"
      "libraries ended in a failure that cannot say out of memory, at %ld a solver's log line was lost\n",
      operations, points, untold, absorbed);
}

}  // namespace
