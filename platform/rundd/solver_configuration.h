// The solver configuration: the solvers named in a configuration file (trvcmpNT.txt, format at its top), each
// with whether it keeps a held instance and its engine. Solvers are numbered from 1 in file order.
#ifndef RUNDD_SOLVER_CONFIGURATION_H
#define RUNDD_SOLVER_CONFIGURATION_H

#include <string>
#include <string_view>
#include <vector>

#include "solver_engine.h"
#include "tagged_object.h"

namespace rundd {

struct SolverEntry {
  std::string name;
  bool held_instance = false;
  Engine engine = Engine::kGlpk;
};

struct SolverConfiguration : TaggedObject {
  static constexpr ObjectKind kKind = ObjectKind::kConfiguration;
  SolverConfiguration() : TaggedObject(kKind) {}

  // Replaces the solvers with those of the file; false with *error (naming the file and line) when the file
  // cannot be read or a line is malformed, leaving the solvers as they were.
  bool Read(const std::string &file, std::string *error);

  int Number(std::string_view name) const;      // 0 when unknown; letter case is ignored
  const SolverEntry *Solver(int number) const;  // null when out of range
  int Count() const { return static_cast<int>(solvers.size()); }

  std::vector<SolverEntry> solvers;
};

// A solver object of cfgAlgCreate: the engine of one configured solver.
struct SolverObject : TaggedObject {
  static constexpr ObjectKind kKind = ObjectKind::kSolver;
  explicit SolverObject(Engine e) : TaggedObject(kKind), engine(MakeEngine(e)) {}
  std::unique_ptr<SolverEngine> engine;
};

}  // namespace rundd

#endif
