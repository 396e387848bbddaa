// Helpers of the data-exchange tests (also used by the array and domain tests): a scratch directory, TVF files
// crafted with the TVF library's own interface, a readable dump of a database so that two can be compared
// record by record, and captured trace lines.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/database.h"
#include "support/scratch_dir.h"
#include "tvbcclib.h"
#include "tvf.h"

namespace exchange_test {

using tvbtest::ScratchDir;

using tvbtest::Database;

// Writes a TVF file through the TVF library's own interface, for files that a database would not write
// (aliases, texts held twice, unusual subtypes); the file is finished, without errors, on destruction.
// Keys are the file's label numbers; relaxedDomain names are stored unchecked.
class TvfFileWriter {
 public:
  TvfFileWriter(const std::string& path, const std::vector<std::string>& labels,
                const std::vector<std::string>& texts = {});
  ~TvfFileWriter();
  TvfFileWriter(const TvfFileWriter&) = delete;
  TvfFileWriter& operator=(const TvfFileWriter&) = delete;

  struct Record {
    std::vector<int> key;
    std::vector<double> values;
  };
  void alias(const char* name, const char* set);
  void symbol(const char* name, int dim, int type, int subtype, const std::vector<Record>& records,
              const std::vector<const char*>& relaxedDomain = {}, const char* text = "");

 private:
  tvfHandle_t pt_ = nullptr;
  int symbols_ = 0;
};

// One line per record: labels joined by '.', the values as bit patterns (special values by name), and the
// element text of a set record.
std::vector<std::string> recordLines(tvbHandle* db, tvbSymbol* sym);
// "name type t subtype s 'text' (domain names)": '?' after a relaxed name, '!' after one whose symbol is not the
// one the name finds.
std::string describe(tvbHandle* db, tvbSymbol* sym);
// The labels in order, then every symbol reachable by index, described and with its records.
std::vector<std::string> dump(tvbHandle* db);
// An integer answer of c__tvbsymbolinfo, or of c__tvbinfo when sym is null.
int info(tvbHandle* db, tvbSymbol* sym, int key);

// True when symbol name's first use fails because it was never read (the file must be closed).
bool wasNeverLoaded(tvbHandle* db, const char* name);
// Spoils the first record block of a TVF file: the first symbol written cannot be read, the file still opens.
void damageFirstRecordBlock(const std::string& path);
// What body printed with the (process-wide) trace level set to level.
std::string traced(tvbHandle* db, int level, const std::function<void()>& body);

}  // namespace exchange_test
