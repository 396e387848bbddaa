// Running a command-line tool in the tests: a table of runs, each with its arguments, the exit status and what it
// should write to standard output and standard error ("?" where the text is not checked).
#ifndef TVB_TESTS_TOOLS_TOOL_RUNS_H
#define TVB_TESTS_TOOLS_TOOL_RUNS_H

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tvf_test_support.h"

namespace tvf_test {

struct ToolRun {
  std::string arguments;
  int status;
  std::string out, err;
};

inline void ExpectRuns(const std::string &tool, const std::vector<ToolRun> &runs, const ScratchDir &dir) {
  for (const ToolRun &expected : runs) {
    SCOPED_TRACE(expected.arguments);
    const std::string out = dir.path("out.txt"), err = dir.path("err.txt");
    const int status = std::system((tool + " " + expected.arguments + " >" + out + " 2>" + err).c_str());
    const std::vector<char> out_bytes = ReadFile(out), err_bytes = ReadFile(err);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, expected.status);
    EXPECT_EQ(expected.out == "?" ? "?" : std::string(out_bytes.begin(), out_bytes.end()), expected.out);
    EXPECT_EQ(expected.err == "?" ? "?" : std::string(err_bytes.begin(), err_bytes.end()), expected.err);
  }
}

}  // namespace tvf_test

#endif
