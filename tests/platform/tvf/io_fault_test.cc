// Every system call of a write over an old file, and of a read, made to fail in turn through a file system of
// the test's own: the disk full, an I/O error (for a write where files cannot be made without a name), and
// transfers cut short. A failed call must end in a failed operation whose error text gives the system's reason, with
// the old file as it was and nothing else left in its directory; a short transfer must change nothing.
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "file_system.h"
#include "tvf_test_support.h"

namespace tvf_test {
namespace {

using Texts = std::vector<std::string>;

struct Plan {
  const char *what;
  int error;           // errno of the failing call; 0: the call moves only half its bytes instead
  bool unnamed_files;  // whether the file system makes files without a name (O_TMPFILE)
  long fail_at = -1;   // the eligible call, counted from 0, that fails
};

// Fails the plan's call, and only it; a transfer cut short counts as eligible only when it moves 2 bytes or more.
class FaultyFileSystem : public tvf::FileSystem {
 public:
  explicit FaultyFileSystem(const Plan &plan) : plan_(plan), previous_(tvf::ReplaceFileSystem(this)) {}
  ~FaultyFileSystem() { tvf::ReplaceFileSystem(previous_); }

  // The call that failed or was cut short, nullptr when none.
  const char *faulted() const { return faulted_; }

  int Open(const char *path, int flags, mode_t mode) override {
    return Fails("open") ? -1 : FileSystem::Open(path, flags, mode);
  }
  int OpenAt(int dir, const char *path, int flags, mode_t mode) override {
    if (!plan_.unnamed_files && (flags & O_TMPFILE) == O_TMPFILE) return errno = EOPNOTSUPP, -1;
    return Fails("openat") ? -1 : FileSystem::OpenAt(dir, path, flags, mode);
  }
  int Stat(const char *path, struct stat *st, bool follow_links) override {
    return Fails("stat") ? -1 : FileSystem::Stat(path, st, follow_links);
  }
  int FileStat(int fd, struct stat *st) override { return Fails("fstat") ? -1 : FileSystem::FileStat(fd, st); }
  int Access(const char *path, int mode) override { return Fails("access") ? -1 : FileSystem::Access(path, mode); }
  int RealPath(const char *path, std::string *resolved) override {
    return Fails("realpath") ? -1 : FileSystem::RealPath(path, resolved);
  }
  ssize_t ReadAt(int fd, void *data, size_t size, uint64_t offset) override {
    return Transfers("pread", &size) ? FileSystem::ReadAt(fd, data, size, offset) : -1;
  }
  ssize_t WriteAt(int fd, const void *data, size_t size, uint64_t offset) override {
    return Transfers("pwrite", &size) ? FileSystem::WriteAt(fd, data, size, offset) : -1;
  }
  int Truncate(int fd, uint64_t size) override { return Fails("ftruncate") ? -1 : FileSystem::Truncate(fd, size); }
  int ChangeMode(int fd, mode_t mode) override { return Fails("fchmod") ? -1 : FileSystem::ChangeMode(fd, mode); }
  int Sync(int fd) override { return Fails("fsync") ? -1 : FileSystem::Sync(fd); }
  int LinkAt(int fd, int dir, const char *name) override {
    return Fails("linkat") ? -1 : FileSystem::LinkAt(fd, dir, name);
  }
  int RenameAt(int dir, const char *from, const char *to) override {
    return Fails("renameat") ? -1 : FileSystem::RenameAt(dir, from, to);
  }
  int UnlinkAt(int dir, const char *name) override { return Fails("unlinkat") ? -1 : FileSystem::UnlinkAt(dir, name); }
  int Close(int fd) override { return Fails("close") ? -1 : FileSystem::Close(fd); }

 private:
  bool Due(const char *call) {
    if (calls_++ != plan_.fail_at) return false;
    faulted_ = call;
    return true;
  }
  bool Fails(const char *call) {
    if (plan_.error == 0 || !Due(call)) return false;
    errno = plan_.error;
    return true;
  }
  // False when the transfer fails; else true, with *size halved when it is cut short.
  bool Transfers(const char *call, size_t *size) {
    if (plan_.error != 0) return !Fails(call);
    if (*size > 1 && Due(call)) *size /= 2;
    return true;
  }

  const Plan plan_;
  tvf::FileSystem *const previous_;
  long calls_ = 0;
  const char *faulted_ = nullptr;
};

// An operation's outcome: whether every call succeeded, and the texts of what the object logged.
struct Outcome {
  bool ok;
  Texts errors;
};

// Writes a new version of the file: a variable large enough (a little over the output buffer of 1 MB) to reach
// the disk half way, then turned to collecting by a record out of order (what was written of it is read back),
// and a small one after it. Stops calling at the first call that fails.
Outcome WriteNewVersion(const std::string &path) {
  constexpr int kLabels = 160;
  tvfHandle_t pt = nullptr;
  if (!XCreate(&pt)) return {false, {"no object"}};
  int err = 0;
  bool ok = CtvfOpenWrite(pt, path.c_str(), "io faults", &err) && tvfUELRegisterRawStart(pt);
  for (const std::string &label : Labels(kLabels)) ok = ok && CtvfUELRegisterRaw(pt, label.c_str());
  ok = ok && tvfUELRegisterDone(pt) && CtvfDataWriteRawStart(pt, "big", "", 2, 2, 0);
  int key[TVF_MAX_DIM] = {};
  double values[TVF_VALUE_COUNT] = {};
  for (key[0] = 2; key[0] <= kLabels; ++key[0]) {
    for (key[1] = 1; key[1] <= kLabels; ++key[1]) {
      const double level = key[0] * 1.000001 + key[1] * 0.123457;  // five values of eight bytes each
      for (int v = 0; v < TVF_VALUE_COUNT; ++v) values[v] = level + v * 0.25;
      ok = ok && tvfDataWriteRaw(pt, key, values);
    }
  }
  key[0] = key[1] = 1;
  ok = ok && tvfDataWriteRaw(pt, key, values) && tvfDataWriteDone(pt);
  ok = ok && CtvfDataWriteRawStart(pt, "small", "", 1, 1, 0) && tvfDataWriteRaw(pt, key, values) &&
       tvfDataWriteDone(pt) && tvfClose(pt);
  Outcome outcome{ok, DrainErrors(pt)};
  XFree(&pt);
  return outcome;
}

Outcome ReadEverythingOf(const std::string &path) {
  tvfHandle_t pt = nullptr;
  if (!XCreate(&pt)) return {false, {"no object"}};
  int err = 0;
  bool ok = CtvfOpenRead(pt, path.c_str(), &err);
  ok = ReadEverything(pt) && ok;
  Outcome outcome{ok, DrainErrors(pt)};
  tvfClose(pt);
  XFree(&pt);
  return outcome;
}

bool Mentions(const Texts &texts, const std::string &part) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string &t) { return t.find(part) != std::string::npos; });
}

// Runs operation() with call n failing, n = 0, 1, 2, ... until a run in which nothing failed, and after each
// run, with the operating system's file system back in place, check(outcome, the call that failed or was cut
// short: "" for none). Returns the number of failure points.
long FailEachCall(Plan plan, const std::function<Outcome()> &operation,
                  const std::function<void(const Outcome &, const std::string &)> &check) {
  for (plan.fail_at = 0; plan.fail_at < 1000; ++plan.fail_at) {
    Outcome outcome;
    std::string faulted;
    {
      FaultyFileSystem file_system(plan);
      outcome = operation();
      faulted = file_system.faulted() != nullptr ? file_system.faulted() : "";
    }
    SCOPED_TRACE(std::string(plan.what) + ", failing " + (faulted.empty() ? "nothing" : faulted) + ": " +
                 ::testing::PrintToString(outcome.errors));
    check(outcome, faulted);
    if (faulted.empty()) return plan.fail_at;
  }
  ADD_FAILURE() << "never ended";
  return -1;
}

const Plan kWritePlans[] = {
    {"disk full", ENOSPC, true}, {"I/O error, files only with names", EIO, false}, {"short transfers", 0, true}};
const Plan kReadPlans[] = {{"I/O error", EIO, true}, {"short transfers", 0, true}};

TEST(IoFaults, AFailedCallFailsTheWriteCleanly) {
  ScratchDir dir;
  const std::string path = dir.path("f.tvf");
  ASSERT_TRUE(WriteNewVersion(path).ok);
  const std::vector<char> new_bytes = ReadFile(path);
  WriteSample(path);
  const std::vector<char> old_bytes = ReadFile(path);
  long points = 0;
  for (const Plan &plan : kWritePlans) {
    points += FailEachCall(
        plan, [&] { return WriteNewVersion(path); },
        [&](const Outcome &outcome, const std::string &faulted) {
          EXPECT_EQ(Entries(dir), std::vector<std::string>{"f.tvf"});
          const std::vector<char> bytes = ReadFile(path);
          if (outcome.ok) {
            // A close after the data is on disk may fail without harm; nothing else may.
            EXPECT_TRUE(plan.error == 0 || faulted.empty() || faulted == "close");
            EXPECT_TRUE(bytes == new_bytes);
          } else {
            EXPECT_TRUE(Mentions(outcome.errors, std::strerror(plan.error)));
            // Only a failing sync of the directory comes after the new file took the old one's
            // place.
            EXPECT_TRUE(bytes == old_bytes || (bytes == new_bytes && Mentions(outcome.errors, "is in place")));
          }
          if (bytes != old_bytes) WriteSample(path);
        });
  }
  RecordProperty("failure_points", static_cast<int>(points));
}

TEST(IoFaults, AFailedCallFailsTheReadWithTheReason) {
  ScratchDir dir;
  const std::string path = dir.path("f.tvf");
  ASSERT_TRUE(WriteNewVersion(path).ok);
  long points = 0;
  for (const Plan &plan : kReadPlans) {
    points += FailEachCall(
        plan, [&] { return ReadEverythingOf(path); },
        [&](const Outcome &outcome, const std::string &faulted) {
          if (outcome.ok) {
            EXPECT_TRUE(plan.error == 0 || faulted.empty() || faulted == "close");
          } else {
            EXPECT_TRUE(Mentions(outcome.errors, std::strerror(plan.error)));
          }
        });
  }
  RecordProperty("failure_points", static_cast<int>(points));
}

}  // namespace
}  // namespace tvf_test
