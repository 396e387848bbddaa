// Where the loader tests find the fake external libraries built beside them (one directory per variant), and
// access to what a loaded fake recorded.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "fakes/fake_state.h"
#include "loaders/tvfcc.h"

namespace tvb::testing {

// The directory of a fake library variant, e.g. FakeDirectory("tvf_complete"); without a trailing "/".
inline std::string FakeDirectory(const std::string& variant) { return std::string(TVB_FAKE_LIBRARIES) + "/" + variant; }

// The module of a library that the process has loaded already (the loader keeps it open); null otherwise.
// RTLD_NOLOAD: this never opens the file itself.
inline void* LoadedModule(const std::string& directory, const char* fileName) {
  return dlopen((directory + "/" + fileName).c_str(), RTLD_NOW | RTLD_NOLOAD);
}

// The state of library prefix in a loaded fake; fails the test (and returns null) when it is not loaded.
inline FakeState* StateOfLoadedFake(const std::string& directory, const char* fileName, const char* prefix) {
  void* module = LoadedModule(directory, fileName);
  EXPECT_NE(module, nullptr) << directory << "/" << fileName << " is not loaded";
  if (module == nullptr) return nullptr;
  auto state = reinterpret_cast<FakeState* (*)(const char*)>(dlsym(module, "fakeState"));
  return state != nullptr ? state(prefix) : nullptr;
}

// An object of the TVF library in `directory`; fails the test (and returns null) when it cannot be created.
inline tvfHandle_t CreateTvf(const std::string& directory) {
  tvfHandle_t pt = nullptr;
  char msg[256];
  EXPECT_TRUE(tvf::tvfCreateD(&pt, directory.c_str(), msg, sizeof msg)) << msg;
  return pt;
}

// Runs `body` in a child, which must end with status 123 (an operation that could not be bound was called)
// after printing `output`.
inline void ExpectEndsForAMissingOperation(const std::function<void()>& body, const std::string& output) {
  const ChildResult child = RunInChild(body);
  EXPECT_EQ(child.exitStatus, 123);
  EXPECT_EQ(child.output, output);
}

}  // namespace tvb::testing
