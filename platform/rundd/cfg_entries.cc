// The solver-configuration library's entries (cfg): reading the configuration file, and the solver objects that
// keep a held instance between solves.
#include "entry_frame.h"
#include "environment.h"
#include "model_instance.h"
#include "rundd.h"
#include "solver_configuration.h"

using rundd::Guarded;
using rundd::SolverConfiguration;
using rundd::SolverObject;

namespace {

constexpr int kFailed = 1;  // the non-zero result of a failed ReadyAPI, ModifyProblem or CallSolver

// body(configuration, solver object) after the checks that every solver operation shares.
template <class Body>
int OnSolver(void *pt, const char *operation, int solverNr, void *solver, Body &&body) {
  return Guarded<SolverConfiguration>(pt, operation, kFailed, [&](SolverConfiguration &c) {
    SolverObject *object = rundd::FromHandle<SolverObject>(solver);
    std::string error;
    if (c.Solver(solverNr) == nullptr) {
      error = rundd::msg::SolverNumberOutOfRange(operation, solverNr, c.Count());
    } else if (object == nullptr) {
      error = rundd::msg::UnknownSolverObject(operation);
    } else if (body(*object, &error)) {
      return 0;
    }
    c.last_error = error;
    // The reason also goes where the solve's output goes, for callers that see only "failed".
    if (object != nullptr && object->engine->model() != nullptr) {
      object->engine->model()->environment->AppendLog("*** " + error + "\n");
    }
    return kFailed;
  });
}

}  // namespace

extern "C" {

int cfgXCreate(void **pt) { return rundd::CreateObject<SolverConfiguration>(pt); }

int cfgXFree(void **pt) { return rundd::FreeObject<SolverConfiguration>(pt); }

int CcfgReadConfig(cfgHandle_t pt, const char *fileName) {
  return Guarded<SolverConfiguration>(pt, "cfgReadConfig", kFailed, [&](SolverConfiguration &c) {
    std::string error;
    if (fileName == nullptr) {
      error = rundd::msg::NullArgument("cfgReadConfig", "the file name");
    } else if (c.Read(fileName, &error)) {
      return 0;
    }
    c.last_error = error;
    return kFailed;
  });
}

int CcfgAlgNumber(cfgHandle_t pt, const char *solverName) {
  return Guarded<SolverConfiguration>(
      pt, "cfgAlgNumber", 0, [&](SolverConfiguration &c) { return solverName != nullptr ? c.Number(solverName) : 0; });
}

int cfgAlgAllowsModifyProblem(cfgHandle_t pt, int solverNr) {
  return Guarded<SolverConfiguration>(pt, "cfgAlgAllowsModifyProblem", 0, [&](SolverConfiguration &c) {
    const rundd::SolverEntry *solver = c.Solver(solverNr);
    return solver != nullptr && solver->held_instance ? 1 : 0;
  });
}

int CcfgAlgCreate(cfgHandle_t pt, int solverNr, void **solver, const char *, char *msg) {
  rundd::CopyOut(msg, "");
  if (solver != nullptr) *solver = nullptr;
  if (rundd::FromHandle<SolverConfiguration>(pt) == nullptr) {
    rundd::CopyOut(msg, rundd::msg::NullArgument("cfgAlgCreate", "the configuration"));
    return 0;
  }
  return Guarded<SolverConfiguration>(pt, "cfgAlgCreate", 0, [&](SolverConfiguration &c) {
    const rundd::SolverEntry *entry = c.Solver(solverNr);
    if (entry == nullptr || solver == nullptr) {
      c.last_error = entry == nullptr ? rundd::msg::SolverNumberOutOfRange("cfgAlgCreate", solverNr, c.Count())
                                      : rundd::msg::NullArgument("cfgAlgCreate", "the solver's address");
      rundd::CopyOut(msg, c.last_error);
      return 0;
    }
    *solver = rundd::ToHandle(new SolverObject(entry->engine));
    return 1;
  });
}

int cfgAlgReadyAPI(cfgHandle_t pt, int solverNr, void *solver, void *model, void *) {
  return OnSolver(pt, "cfgAlgReadyAPI", solverNr, solver, [&](SolverObject &s, std::string *error) {
    rundd::Model *m = rundd::FromHandle<rundd::Model>(model);
    if (m == nullptr) {
      *error = rundd::msg::NullArgument("cfgAlgReadyAPI", "the model instance");
      return false;
    }
    return s.engine->Ready(m, error);
  });
}

int cfgAlgModifyProblem(cfgHandle_t pt, int solverNr, void *solver) {
  return OnSolver(pt, "cfgAlgModifyProblem", solverNr, solver,
                  [&](SolverObject &s, std::string *error) { return s.engine->Modify(error); });
}

int cfgAlgCallSolver(cfgHandle_t pt, int solverNr, void *solver, void *model) {
  return OnSolver(pt, "cfgAlgCallSolver", solverNr, solver, [&](SolverObject &s, std::string *error) {
    if (s.engine->model() == nullptr) {
      *error = rundd::msg::NotReady("cfgAlgCallSolver");
      return false;
    }
    if (rundd::ToHandle(s.engine->model()) != model) {
      *error = rundd::msg::NotTheReadyModel();
      return false;
    }
    return s.engine->Run(rundd::SolveLimits(), error);
  });
}

void cfgAlgFree(cfgHandle_t, int, void **solver) {
  // The solver object does not depend on the configuration: it is freed whatever the other arguments say.
  rundd::FreeObject<SolverObject>(solver);
}

int CcfgGetLastError(cfgHandle_t pt, char *msg) {
  return rundd::CopyLastError<SolverConfiguration>(pt, "cfgGetLastError", msg);
}

}  // extern "C"
