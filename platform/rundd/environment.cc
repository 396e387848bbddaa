#include "environment.h"

#include <dlfcn.h>

namespace rundd {

namespace {

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

Environment::Environment(const std::string &dir)
    : TaggedObject(kKind), system_dir(WithSlash(dir.empty() ? LibraryDirectory() : dir)) {}

void Environment::AppendLog(std::string_view text) {
  log.append(text);
  if (log.size() > kLogLimit) log.erase(0, log.size() - kLogLimit / 2);
}

std::string LibraryDirectory() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void *>(&LibraryDirectory), &info) == 0 || info.dli_fname == nullptr) return "./";
  std::string path = info.dli_fname;
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

}  // namespace rundd
