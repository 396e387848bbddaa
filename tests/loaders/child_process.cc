#include "child_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tvb::testing {

ChildResult RunInChild(const std::function<void()>& body) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) std::abort();
  std::fflush(stdout);  // or the child would write the parent's pending output once more
  const pid_t pid = fork();
  if (pid < 0) std::abort();
  if (pid == 0) {
    close(pipeEnds[0]);
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[1]);
    body();
    std::fflush(stdout);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  close(pipeEnds[1]);
  ChildResult result{-1, ""};
  char chunk[4096];
  for (ssize_t n; (n = read(pipeEnds[0], chunk, sizeof chunk)) != 0;) {
    if (n > 0) result.output.append(chunk, static_cast<size_t>(n));
  }
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

void ExpectChildEnds(int exitStatus, const std::string& output, const std::function<void()>& body) {
  const ChildResult child = RunInChild(body);
  EXPECT_EQ(child.exitStatus, exitStatus);
  EXPECT_EQ(child.output, output);
}

}  // namespace tvb::testing
