/* The operations of the solver-configuration library (cfg, librunddclib.so, API version 1) that tvbcclib
 * calls: the one table from which the loader's slots, stubs and checks and the library's own check entry and
 * exported entries are generated.
 *
 * Row: CFG_OP(name, lookup, result, parameters, arguments, signature)
 *   name       the operation as the check protocol knows it
 *   lookup     the exported entry name: "C" + name when a string travels
 *   parameters the C parameter list; the configuration (cfgHandle_t, rundd_handles.h) leads and is not counted
 *   signature  result code, then one code per counted argument (include/tvbcclib_signatures.h)
 *
 * Solvers are known by number (above 0 when known); a solver instance is an opaque pointer. No include guard:
 * expanded with different definitions of CFG_OP. */

CFG_OP(cfgReadConfig, CcfgReadConfig, int, (cfgHandle_t pt, const char *fileName), (pt, fileName), (3, 11))
CFG_OP(cfgAlgNumber, CcfgAlgNumber, int, (cfgHandle_t pt, const char *solverName), (pt, solverName), (3, 11))
CFG_OP(cfgAlgAllowsModifyProblem, cfgAlgAllowsModifyProblem, int, (cfgHandle_t pt, int solverNr), (pt, solverNr),
       (15, 3))
CFG_OP(cfgAlgCreate, CcfgAlgCreate, int, (cfgHandle_t pt, int solverNr, void **solver, const char *sysDir, char *msg),
       (pt, solverNr, solver, sysDir, msg), (15, 3, 2, 11, 12))
CFG_OP(cfgAlgReadyAPI, cfgAlgReadyAPI, int, (cfgHandle_t pt, int solverNr, void *solver, void *model, void *options),
       (pt, solverNr, solver, model, options), (3, 3, 1, 1, 1))
CFG_OP(cfgAlgModifyProblem, cfgAlgModifyProblem, int, (cfgHandle_t pt, int solverNr, void *solver),
       (pt, solverNr, solver), (3, 3, 1))
CFG_OP(cfgAlgCallSolver, cfgAlgCallSolver, int, (cfgHandle_t pt, int solverNr, void *solver, void *model),
       (pt, solverNr, solver, model), (3, 3, 1, 1))
CFG_OP(cfgAlgFree, cfgAlgFree, void, (cfgHandle_t pt, int solverNr, void **solver), (pt, solverNr, solver), (0, 3, 2))
