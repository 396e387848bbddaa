// The solver environment: the system directory, where the configuration file lies, and the log that collects
// what the translator and the solvers would otherwise print (bounded: the oldest output goes first).
#ifndef RUNDD_ENVIRONMENT_H
#define RUNDD_ENVIRONMENT_H

#include <atomic>
#include <string>
#include <string_view>

#include "tagged_object.h"

namespace rundd {

struct Environment : TaggedObject {
  static constexpr ObjectKind kKind = ObjectKind::kEnvironment;
  static constexpr size_t kLogLimit = 1 << 16;

  // An empty directory stands for the one that holds librunddclib.so. The directory always ends in '/'.
  explicit Environment(const std::string &dir);

  void AppendLog(std::string_view text);

  std::string system_dir;
  std::string log;
  std::atomic<bool> interrupt{false};  // raised by tvhTerminateRaise, withdrawn by tvhTerminateClear
  bool owned_by_instance = false;      // an instance's environment is freed with the instance only
};

// The directory of the shared object that holds this code, with a trailing '/'.
std::string LibraryDirectory();

}  // namespace rundd

#endif
