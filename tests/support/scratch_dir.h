// A fresh directory under the system's temporary directory for one test, removed with its files afterwards.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tvbtest {

class ScratchDir {
 public:
  ScratchDir() : dir_((std::filesystem::temp_directory_path() / "tvb_test_XXXXXX").string()) {
    if (mkdtemp(dir_.data()) == nullptr) std::abort();
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

 private:
  std::string dir_;
};

}  // namespace tvbtest
