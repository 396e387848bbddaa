/* Operations of the model-instance library beyond those that tvbcclib calls: loading a model and reading
 * what a solve left behind. Same row format as tvp_operations.h; the check entry answers for these rows too.
 *
 *   tvpLoadMathProg  builds the instance from a MathProg model (and data) file; 1, or 0 with the reason in msg
 *   tvpModelStat, tvpSolveStat  the status codes of the last solve (RUNDD_MODEL_*, RUNDD_SOLVE_* in rundd.h)
 *   tvpGetObjVal     the objective value of the last solve, constant term included
 *   tvpGetLastError  the text of the instance's most recent failure ("" when none); 1 */

TVP_OP(tvpLoadMathProg, CtvpLoadMathProg, int,
       (tvpHandle_t pt, const char *modelFile, const char *dataFile, char *msg, int msgLen),
       (pt, modelFile, dataFile, msg, msgLen), (3, 11, 11, 17))
TVP_OP(tvpModelStat, tvpModelStat, int, (tvpHandle_t pt), (pt), (3))
TVP_OP(tvpSolveStat, tvpSolveStat, int, (tvpHandle_t pt), (pt), (3))
TVP_OP(tvpGetObjVal, tvpGetObjVal, double, (tvpHandle_t pt), (pt), (13))
TVP_OP(tvpGetLastError, CtvpGetLastError, int, (tvpHandle_t pt, char *msg), (pt, msg), (3, 12))
