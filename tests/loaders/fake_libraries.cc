#include "fake_libraries.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace tvb::testing {

std::string FakeDirectory(const std::string& variant) { return std::string(TVB_FAKE_LIBRARIES) + "/" + variant; }

void* LoadedFake(const std::string& directory, const char* fileName) {
  // RTLD_NOLOAD: only a module that is open already; this never opens the file itself.
  return dlopen((directory + "/" + fileName).c_str(), RTLD_NOW | RTLD_NOLOAD);
}

FakeState* StateOfLoadedFake(const std::string& directory, const char* fileName, const char* prefix) {
  void* module = LoadedFake(directory, fileName);
  EXPECT_NE(module, nullptr) << directory << "/" << fileName << " is not loaded";
  if (module == nullptr) return nullptr;
  auto state = reinterpret_cast<FakeState* (*)(const char*)>(dlsym(module, "fakeState"));
  return state != nullptr ? state(prefix) : nullptr;
}

}  // namespace tvb::testing
