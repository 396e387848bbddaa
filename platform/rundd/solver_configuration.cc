#include "solver_configuration.h"

#include <strings.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "messages.h"

namespace rundd {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

bool SolverConfiguration::Read(const std::string &file, std::string *error) {
  std::ifstream in(file);
  if (!in) {
    *error = msg::CannotOpenConfig(file, std::strerror(errno));
    return false;
  }
  // A line or field that cannot be read (memory, a read error) must not pass for the end of the file or line.
  in.exceptions(std::ios::badbit);
  std::vector<SolverEntry> read;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream fields(line);
    fields.exceptions(std::ios::badbit);
    std::vector<std::string> f;
    for (std::string field; fields >> field;) f.push_back(field);
    if (f.empty() || f[0][0] == '#') continue;
    if (f.size() != 3) {
      *error = msg::ConfigFieldCount(file, number, static_cast<int>(f.size()));
      return false;
    }
    SolverEntry entry;
    entry.name = f[0];
    if (SameName(f[1], "yes") || SameName(f[1], "no")) {
      entry.held_instance = SameName(f[1], "yes");
    } else {
      *error = msg::ConfigHeldInstance(file, number, f[1]);
      return false;
    }
    if (SameName(f[2], "glpk") || SameName(f[2], "clp")) {
      entry.engine = SameName(f[2], "clp") ? Engine::kClp : Engine::kGlpk;
    } else {
      *error = msg::ConfigEngine(file, number, f[2]);
      return false;
    }
    for (const SolverEntry &earlier : read) {
      if (SameName(earlier.name, entry.name)) {
        *error = msg::ConfigDuplicate(file, number, entry.name);
        return false;
      }
    }
    read.push_back(std::move(entry));
  }
  solvers = std::move(read);
  return true;
}

int SolverConfiguration::Number(std::string_view name) const {
  for (size_t k = 0; k < solvers.size(); ++k) {
    if (SameName(solvers[k].name, name)) return static_cast<int>(k) + 1;
  }
  return 0;
}

const SolverEntry *SolverConfiguration::Solver(int number) const {
  return number >= 1 && number <= Count() ? &solvers[number - 1] : nullptr;
}

}  // namespace rundd
