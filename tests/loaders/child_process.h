// Running a piece of a test in a fresh child process. The loaders' state is process-wide and a loaded library
// stays loaded, so every scenario that loads something starts from a process in which nothing is loaded yet.
// The child's standard output is captured; a GoogleTest failure inside the child ends it with status 1 (its
// messages are then part of the captured output).
#pragma once

#include <functional>
#include <string>

namespace tvb::testing {

struct ChildResult {
  int exitStatus;      // the child's exit status, or 128 + signal when a signal ended it
  std::string output;  // everything the child wrote to standard output
};

ChildResult RunInChild(const std::function<void()>& body);

// Runs a body in a child that must end with exitStatus after writing exactly output (as a call of an operation
// that could not be bound does: status 123 and its reason).
void ExpectChildEnds(int exitStatus, const std::string& output, const std::function<void()>& body);

// Runs a body in a child and fails the calling test when the child fails, showing the child's output.
// Variadic because a lambda body may hold commas.
#define EXPECT_PASSES_IN_CHILD(...)                                                     \
  do {                                                                                  \
    const ::tvb::testing::ChildResult child_ = ::tvb::testing::RunInChild(__VA_ARGS__); \
    EXPECT_EQ(child_.exitStatus, 0) << "output of the child:\n" << child_.output;       \
  } while (false)

}  // namespace tvb::testing
