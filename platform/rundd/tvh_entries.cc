// The solver-environment library's entries (tvh): the system directory, the collected output, and solving a
// model afresh with a solver of the configuration file.
#include <strings.h>

#include "entry_frame.h"
#include "environment.h"
#include "model_instance.h"
#include "rundd.h"
#include "solver_configuration.h"

using rundd::Environment;
using rundd::Guarded;

namespace {

// The limits that a caller passes; 1e300 and above (2e9 for counts) mean none.
rundd::SolveLimits Limits(double resourceLimit, int iterationLimit, double optCR) {
  rundd::SolveLimits limits;
  if (resourceLimit >= 0 && resourceLimit < 1e300) limits.seconds = resourceLimit;
  if (iterationLimit >= 0 && iterationLimit < 2000000000) limits.iterations = iterationLimit;
  if (optCR >= 0 && optCR < 1e300) limits.relative_gap = optCR;
  return limits;
}

// Solves model with the named solver of the configuration in env's system directory; false with *error.
bool SolveAfresh(Environment &env, void *model, const char *solverName, const rundd::SolveLimits &limits,
                 std::string *error) {
  rundd::Model *m = rundd::FromHandle<rundd::Model>(model);
  if (m == nullptr) {
    *error = rundd::msg::NullArgument("tvhCallSolver", "the model instance");
    return false;
  }
  rundd::SolverConfiguration configuration;
  const std::string file = env.system_dir + RUNDD_CONFIG_FILE;
  if (!configuration.Read(file, error)) return false;
  const rundd::SolverEntry *solver = configuration.Solver(configuration.Number(solverName ? solverName : ""));
  if (solver == nullptr) {
    *error = rundd::msg::UnknownSolver(solverName ? solverName : "", file);
    return false;
  }
  std::unique_ptr<rundd::SolverEngine> engine = rundd::MakeEngine(solver->engine);
  return engine->Ready(m, error) && engine->Run(limits, error);
}

}  // namespace

extern "C" {

int tvhXCreate(void **pt) { return rundd::CreateObject<Environment>(pt, ""); }

int CtvhXCreateD(void **pt, const char *dir) { return rundd::CreateObject<Environment>(pt, dir != nullptr ? dir : ""); }

int tvhXFree(void **pt) { return rundd::FreeObject<Environment>(pt); }

int CtvhCallSolver(tvhHandle_t pt, void *model, const char *, const char *solverName, int, int, const char *,
                   const char *, double resourceLimit, int iterationLimit, int, double optCR, double, void **jobHandle,
                   char *msg) {
  if (jobHandle != nullptr) *jobHandle = nullptr;
  rundd::CopyOut(msg, "");
  if (rundd::FromHandle<Environment>(pt) == nullptr) {
    rundd::CopyOut(msg, rundd::msg::NullArgument("tvhCallSolver", "the environment"));
    return 1;
  }
  const int rc = Guarded<Environment>(pt, "tvhCallSolver", 1, [&](Environment &env) {
    std::string error;
    if (SolveAfresh(env, model, solverName, Limits(resourceLimit, iterationLimit, optCR), &error)) return 0;
    env.last_error = error;
    return 1;
  });
  // The reason, also of a failure that the frame caught (no memory, say), is the last error.
  if (rc != 0) rundd::CopyOut(msg, rundd::FromHandle<Environment>(pt)->last_error);
  return rc;
}

char *CtvhGetStrOpt(tvhHandle_t pt, const char *optionName, char *value) {
  rundd::CopyOut(value, "");
  Guarded<Environment>(pt, "tvhGetStrOpt", 0, [&](Environment &env) {
    if (optionName != nullptr && strcasecmp(optionName, "NameSysDir") == 0) {
      rundd::CopyOut(value, env.system_dir);
      return 1;
    }
    env.last_error = rundd::msg::UnknownOption(optionName != nullptr ? optionName : "");
    return 0;
  });
  return value;
}

void tvhTerminateClear(tvhHandle_t pt) {
  Guarded<Environment>(pt, "tvhTerminateClear", 0, [](Environment &env) {
    env.interrupt = false;
    return 1;
  });
}

void tvhTerminateRaise(tvhHandle_t pt) {
  Guarded<Environment>(pt, "tvhTerminateRaise", 0, [](Environment &env) {
    env.interrupt = true;
    return 1;
  });
}

int CtvhGetLog(tvhHandle_t pt, char *log, int logSize) {
  rundd::CopyOut(log, logSize, "");
  return Guarded<Environment>(pt, "tvhGetLog", 0, [&](Environment &env) {
    // The most recent output is the one that matters when the buffer is short.
    const size_t room = logSize > 0 ? static_cast<size_t>(logSize) - 1 : 0;
    const size_t from = env.log.size() > room ? env.log.size() - room : 0;
    rundd::CopyOut(log, logSize, std::string_view(env.log).substr(from));
    return static_cast<int>(env.log.size());
  });
}

int CtvhGetLastError(tvhHandle_t pt, char *msg) {
  return rundd::CopyLastError<Environment>(pt, "tvhGetLastError", msg);
}

}  // extern "C"
