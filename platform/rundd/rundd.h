/* The public C interface of librunddclib.so: four libraries in one file that tvbcclib's model link binds at
 * run time, and that clients call to create, load and solve model instances.
 *
 *   tvp  model instance (API version 16): columns, rows, the objective, levels, marginals and statuses
 *   tvh  solver environment (API version 6): the system directory, the collected solver output, a solve
 *   dct  dictionary (API version 1): the model's symbols and labels, from the row and column names
 *   cfg  solver configuration (API version 1): the solvers of trvcmpNT.txt and their held instances
 *
 * Each library has its create, free, check and version entries, and the operations of its tables
 * (tvp_operations.h, tvh_operations.h, dct_operations.h, cfg_operations.h: those that tvbcclib calls;
 * *_extra_operations.h: the library's own additions), each exported under its lookup name ("C" + name when a
 * string travels). The check entries answer for every row of both tables.
 *
 * Common rules. Handles are opaque; a NULL handle (or one of another kind) gives the failure result and does
 * nothing else. Integer results are 1 for success and 0 for failure unless said otherwise; a failure keeps its
 * reason in the object's last error (XGetLastError). Nothing is printed on standard output or standard error:
 * the translator's and the solvers' output is collected in the environment's log (tvhGetLog). Strings written
 * into 256-byte buffers are cut to 255 characters; sized buffers to their size - 1. Indices of columns and rows
 * are 0-based, dictionary symbol and label numbers 1-based. Objects may be used by one thread at a time. */
#ifndef RUNDD_RUNDD_H
#define RUNDD_RUNDD_H

#include "rundd_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define RUNDD_EXPORT __attribute__((visibility("default")))
#else
#define RUNDD_EXPORT
#endif

/* API versions; a client of the same or a newer version is accepted. */
#define RUNDD_TVP_API_VERSION 16
#define RUNDD_TVH_API_VERSION 6
#define RUNDD_DCT_API_VERSION 1
#define RUNDD_CFG_API_VERSION 1

/* The configuration file, in the environment's system directory (tvhGetStrOpt "NameSysDir"). */
#define RUNDD_CONFIG_FILE "trvcmpNT.txt"

/* Model types (tvpModelType). */
#define RUNDD_MODEL_TYPE_LP 1  /* no integer columns */
#define RUNDD_MODEL_TYPE_MIP 2 /* some integer or binary columns */

/* Equation type codes of rows (tvpGetEquTypeOne) and the user information of equation symbols. A ranged row
 * (both bounds finite and different) has code 1 and its lower bound as right-hand side: that is the view that
 * tvbcclib records; its upper bound stays in the instance and binds in every solve. An alternative right-hand
 * side of a ranged row moves both its bounds by the same amount. */
#define RUNDD_EQU_EQUAL 0
#define RUNDD_EQU_GREATER 1
#define RUNDD_EQU_LESS 2
#define RUNDD_EQU_FREE 3 /* non-binding: the objective and the rows of further objectives */

/* Variable types, the user information of variable symbols (dctSymUserInfo), from all columns of the symbol:
 * binary when every column is integer with bounds within [0, 1], integer when any column is integer, else
 * positive when every lower bound is 0 or more, negative when every upper bound is 0 or less, else free. */
#define RUNDD_VAR_BINARY 1
#define RUNDD_VAR_INTEGER 2
#define RUNDD_VAR_POSITIVE 3
#define RUNDD_VAR_NEGATIVE 4
#define RUNDD_VAR_FREE 5

/* Dictionary symbol types (dctSymType). */
#define RUNDD_DCT_VARIABLE 5
#define RUNDD_DCT_EQUATION 6

/* The two status codes of a column or row (tvpGetVarStatOne and tvpGetVarCStatOne, and the Equ forms). */
#define RUNDD_BASIS_AT_LOWER 0 /* nonbasic at its lower bound (also a fixed entry) */
#define RUNDD_BASIS_AT_UPPER 1 /* nonbasic at its upper bound */
#define RUNDD_BASIS_BASIC 2
#define RUNDD_BASIS_SUPERBASIC 3     /* nonbasic between its bounds (a free entry) */
#define RUNDD_CONDITION_OK 0         /* within its bounds */
#define RUNDD_CONDITION_INFEASIBLE 2 /* outside its bounds by more than 1e-6 (relative for large bounds) */

/* Model status after a solve (tvpModelStat). */
#define RUNDD_MODEL_OPTIMAL 1
#define RUNDD_MODEL_UNBOUNDED 3
#define RUNDD_MODEL_INFEASIBLE 4
#define RUNDD_MODEL_INTERMEDIATE_INFEASIBLE 6 /* stopped early without a feasible point */
#define RUNDD_MODEL_INTERMEDIATE_NONOPTIMAL 7 /* stopped early at a feasible point */
#define RUNDD_MODEL_INTEGER_SOLUTION 8        /* integer feasible, optimality not proven */
#define RUNDD_MODEL_INTEGER_INFEASIBLE 10
#define RUNDD_MODEL_NO_SOLUTION 13 /* also before any solve, and preset by tvbcclib before each */

/* Solve status after a solve (tvpSolveStat). */
#define RUNDD_SOLVE_NORMAL 1
#define RUNDD_SOLVE_ITERATION_LIMIT 2
#define RUNDD_SOLVE_RESOURCE_LIMIT 3
#define RUNDD_SOLVE_CAPABILITY 6 /* the solver cannot take the model (CLP and integer columns) */
#define RUNDD_SOLVE_USER_INTERRUPT 8
#define RUNDD_SOLVE_SOLVER_FAILURE 10
#define RUNDD_SOLVE_NO_SOLUTION 13

/* ---- Mandatory entries of each library ----
 * XCreate writes a new object to *pt (NULL on failure) and returns 1, or 0 when no memory was available.
 * XCreateD does the same; for tvp and tvh a non-empty dir becomes the environment's system directory, where
 * the configuration file is looked for (default: the directory that holds librunddclib.so).
 * XFree releases *pt (NULL is fine) and sets it to NULL; 1. An instance's environment and dictionary belong to
 * it (tvpEnvironment, tvpDict): never free them yourself.
 * XCheck answers whether the operation `name` (compared exactly) exists with nargs counted arguments and the
 * signature sig (nargs + 1 codes, include/tvbcclib_signatures.h): 1 and an empty msg, or 0 and the reason.
 * XAPIVersion accepts a client of the library's version (compatibility 1) or newer (3); an older one is
 * refused with 0 and a message. msg (256 bytes) and compatibility may be NULL. */
#define RUNDD_MANDATORY_ENTRIES(prefix)                                                       \
  RUNDD_EXPORT int prefix##XCreate(void **pt);                                                \
  RUNDD_EXPORT int prefix##XFree(void **pt);                                                  \
  RUNDD_EXPORT int C##prefix##XCheck(const char *name, int nargs, const int *sig, char *msg); \
  RUNDD_EXPORT int C##prefix##XAPIVersion(int api, char *msg, int *compatibility);
RUNDD_MANDATORY_ENTRIES(tvp)
RUNDD_MANDATORY_ENTRIES(tvh)
RUNDD_MANDATORY_ENTRIES(dct)
RUNDD_MANDATORY_ENTRIES(cfg)
#undef RUNDD_MANDATORY_ENTRIES
RUNDD_EXPORT int CtvpXCreateD(void **pt, const char *dir);
RUNDD_EXPORT int CtvhXCreateD(void **pt, const char *dir);
RUNDD_EXPORT int CdctXCreateD(void **pt, const char *dir); /* dir is not used */

/* ---- Model instance (tvp) ----
 * CtvpLoadMathProg(modelFile, dataFile, msg, msgLen)  translates a MathProg model with GLPK's translator and
 *     makes it the instance (replacing what it held; on failure the instance is unchanged). dataFile NULL or ""
 *     takes the data section of the model file; a data file replaces that section. 0 with the translator's
 *     message ("transport.mod:12: x not defined") in msg on failure. Columns keep their bounds, integrality and
 *     a starting level: a fixed column its value, any other the bound nearest 0 (0 for a free column). Rows
 *     keep their type code (above) and right-hand side; the translator moves constants to the right. The first
 *     objective counts (minimised or maximised); its row stays in the instance as a free row whose level after
 *     a solve is the objective value, constant term included. Further objectives are free rows. Symbols whose
 *     names differ only in letter case are refused (the database would take them for one).
 * tvpDict, tvpEnvironment  the instance's dictionary (NULL until a model is loaded) and environment.
 * tvpN, tvpM, tvpModelType  counts of columns and rows; model type (0 before a model is loaded).
 * tvpGetVarL, tvpGetVarM, tvpGetEquL, tvpGetEquM(array)  every level or marginal into the array (tvpN or tvpM
 *     doubles); 1.
 * One entry (a column or row index out of range gives NaN for a value, -1 for a code, 0 for a success flag and
 * no change for a setter, with a last error; NaN is refused as a value to store):
 *   tvpGetVarLOne, tvpGetEquLOne, tvpSetVarLOne, tvpSetEquLOne  a level;
 *   tvpGetVarLowerOne, tvpGetVarUpperOne  the bound in force: the alternative one while alternative bounds are
 *       on, the column's own otherwise; infinite bounds come back as the values of tvpPinfSet / tvpMinfSet
 *       (IEEE infinities until set), and values at or beyond them are taken as infinite when set;
 *   tvpGetVarScaleOne, tvpGetEquScaleOne  1 (the instance is not scaled);
 *   tvpGetRhsOne, tvpGetEquTypeOne  the right-hand side (the own one, also while alternatives are on) and type;
 *   tvpGetVarStatOne, tvpGetVarCStatOne, tvpGetEquStatOne, tvpGetEquCStatOne  the two status codes;
 *   tvpGetSolutionVarRec, tvpGetSolutionEquRec(index, level, marginal, basisStatus, condition)  all four;
 *   tvpSetSolutionVarRec, tvpSetSolutionEquRec(index, level, marginal, basisStatus, condition)  all four.
 * Marginals follow one sign convention for both solvers: the change of the objective function per unit
 * increase of a row's right-hand side (its dual) or of a column's level (its reduced cost), in the objective's
 * own sense. So at a minimum a binding >= row has a marginal of 0 or more, at a maximum of 0 or less. An integer
 * solution carries the marginals of the linear program with the integer columns fixed at their values.
 * Alternatives: tvpSetAltVarLowerOne, tvpSetAltVarUpperOne (start equal to the own bounds), tvpAltBoundsSet(on);
 *     tvpSetAltRHSOne (starts equal to the own right-hand side), tvpAltRHSSet(on): while on, the solvers take
 *     the alternative bounds or right-hand sides instead of the own ones. tvpForceLinearSet(on) is kept and
 *     changes nothing: the instance has no nonlinear terms.
 * tvpEvalGradNLUpdate(rhsChange, add, errorCount)  the change of each row's constant from nonlinear terms,
 *     which are none: with add the tvpM entries stay as they are, without it they are set to 0; *errorCount 0; 1.
 * tvpPinfSet, tvpMinfSet  the values that stand for +/- infinity in bounds handed over from now on.
 * tvpViewStore  saves the switches (alternative bounds, alternative right-hand sides, linear treatment) and
 *     infinity values; tvpViewRestore(&view) puts them back, frees the view and sets it to NULL. Views not
 *     restored are freed with the instance.
 * tvpModelStatSet, tvpSolveStatSet  preset the status codes. */

/* ---- Solver environment (tvh) ----
 * CtvhGetStrOpt(optionName, value)  "NameSysDir" (any letter case): the system directory, ending in '/';
 *     another name gives "" and a last error. The result is value.
 * CtvhCallSolver(model, scratchDir, solverName, solveLink, logOption, logFile, statusFile, resourceLimit,
 *     iterationLimit, domainLimit, optCR, optCA, jobHandle, msg)  solves the model afresh with the solver of
 *     that name in the configuration file of the system directory, whatever its held-instance setting, and
 *     writes the solution into the model. 0 when the solver ran to an end (the statuses say which: an
 *     infeasible model is a completed solve), else non-zero with the reason in msg. resourceLimit (seconds),
 *     iterationLimit and optCR (relative gap of a branch-and-bound search) are honoured below 1e300 (2e9 for
 *     the count); scratchDir, solveLink, logOption, logFile, statusFile, domainLimit and optCA are not used;
 *     *jobHandle becomes NULL (no asynchronous solves). The solver's output goes to the model's environment.
 * tvhTerminateClear  withdraws a tvhTerminateRaise. The instance's own environment (tvpEnvironment) is the one
 *     whose interrupt request its solves obey. */

/* ---- Dictionary (dct) ----
 * Symbols are numbered from 1: first the variables, in the order of their first column, then the equations
 * (the objective's included), in the order of their first row. Labels are numbered from 1 in order of first
 * appearance in the column names, then the row names; quotes that the translator puts around a label
 * ('New York') are taken off (its quote character is then '\'', else ' '). Labels keep their letter case;
 * symbol names are matched without regard to it.
 * dctNUels, dctNLSyms  the counts. CdctUelLabel(uelNr, quote, label, size), CdctSymName(symNr, name, size),
 *     CdctSymText(symNr, quote, text, size)  1, or 0 for a number out of range (empty text).
 * CdctSymIndex(name)  the symbol's number, 0 when there is none. dctSymDim, dctSymType, dctSymUserInfo  -1 for
 *     a number out of range.
 * dctColUels, dctRowUels(index, symNr, uels, dim)  the symbol and key (dim label numbers) of a column or row.
 * dctFindFirstRowCol(symNr, uels, rowCol)  starts an enumeration of the symbol's columns or rows in index
 *     order, restricted to the keys that have uels[k] at each position k where uels[k] is not 0 (uels may be
 *     NULL: no restriction); *rowCol the first index, -1 when there is none. The search belongs to the
 *     dictionary: close it with dctFindClose (searches left open go with the dictionary). NULL for a symbol
 *     number out of range. dctFindNextRowCol(search, rowCol)  1 and the next index, or 0 and -1 at the end. */

/* ---- Solver configuration (cfg) ----
 * CcfgReadConfig(fileName)  reads the solvers (format at the top of trvcmpNT.txt); 0 on success, else 1 and a
 *     last error that names the file and line. The configuration read before stays when reading fails.
 * CcfgAlgNumber(solverName)  the solver's number from 1 in file order, any letter case; 0 when unknown.
 * cfgAlgAllowsModifyProblem(solverNr)  1 when the solver keeps a held instance between solves.
 * CcfgAlgCreate(solverNr, solver, sysDir, msg)  makes a solver object (sysDir is not used); 1, or 0 with the
 *     reason in msg. cfgAlgFree(solverNr, &solver) releases it and sets it to NULL.
 * cfgAlgReadyAPI(solverNr, solver, model, options)  loads the model into the solver (options not used);
 * cfgAlgModifyProblem(solverNr, solver)  pushes what changed in the model since the last solve: bounds,
 *     alternative bounds and right-hand sides as switched on, and changed levels as a warm start;
 * cfgAlgCallSolver(solverNr, solver, model)  solves (from the previous basis for a held CLP instance) and
 *     writes the solution into the model. These three return 0 on success, else 1 with a last error. The model
 *     must outlive the solver object made ready with it. CLP refuses a model with integer columns. */

#define TVP_OP(name, lookup, result, parameters, arguments, signature) RUNDD_EXPORT result lookup parameters;
#define TVH_OP TVP_OP
#define DCT_OP TVP_OP
#define CFG_OP TVP_OP
// clang-format off
#include "tvp_operations.h"
#include "tvp_extra_operations.h"
#include "tvh_operations.h"
#include "tvh_extra_operations.h"
#include "dct_operations.h"
#include "dct_extra_operations.h"
#include "cfg_operations.h"
#include "cfg_extra_operations.h"
// clang-format on
#undef TVP_OP
#undef TVH_OP
#undef DCT_OP
#undef CFG_OP

#ifdef __cplusplus
}
#endif

#endif
