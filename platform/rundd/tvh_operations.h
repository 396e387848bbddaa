/* The operations of the solver-environment library (tvh, librunddclib.so, API version 6) that tvbcclib calls:
 * the one table from which the loader's slots, stubs and checks and the library's own check entry and exported
 * entries are generated.
 *
 * Row: TVH_OP(name, lookup, result, parameters, arguments, signature)
 *   name       the operation as the check protocol knows it
 *   lookup     the exported entry name: "C" + name when a string travels
 *   parameters the C parameter list; the environment (tvhHandle_t, rundd_handles.h) leads and is not counted.
 *              A string result (code 12) comes back in a 256-character buffer passed behind the counted
 *              arguments, and the result points to it.
 *   signature  result code, then one code per counted argument (include/tvbcclib_signatures.h)
 *
 * No include guard: expanded with different definitions of TVH_OP. */

TVH_OP(tvhCallSolver, CtvhCallSolver, int,
       (tvhHandle_t pt, void *model, const char *scratchDir, const char *solverName, int solveLink, int logOption,
        const char *logFile, const char *statusFile, double resourceLimit, int iterationLimit, int domainLimit,
        double optCR, double optCA, void **jobHandle, char *msg),
       (pt, model, scratchDir, solverName, solveLink, logOption, logFile, statusFile, resourceLimit, iterationLimit,
        domainLimit, optCR, optCA, jobHandle, msg),
       (3, 1, 11, 11, 3, 3, 11, 11, 13, 3, 3, 13, 13, 2, 12))
TVH_OP(tvhGetStrOpt, CtvhGetStrOpt, char *, (tvhHandle_t pt, const char *optionName, char *value),
       (pt, optionName, value), (12, 11))
TVH_OP(tvhTerminateClear, tvhTerminateClear, void, (tvhHandle_t pt), (pt), (0))
