// The functions a shared library exports, as nm lists them; empty when nm cannot be run.
#pragma once

#include <cstdio>
#include <set>
#include <string>

namespace tvbtest {

inline std::set<std::string> ExportedFunctions(const std::string &library) {
  std::set<std::string> exported;
  FILE *nm = popen(("nm -D --defined-only " + library + " 2>/dev/null").c_str(), "r");
  if (nm == nullptr) return exported;
  char line[512], address[64], kind[8], name[400];
  while (std::fgets(line, sizeof line, nm) != nullptr) {
    if (std::sscanf(line, "%63s %7s %399s", address, kind, name) == 3 && std::string(kind) == "T") exported.insert(name);
  }
  pclose(nm);
  return exported;
}

}  // namespace tvbtest
