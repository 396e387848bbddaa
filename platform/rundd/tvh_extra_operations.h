/* Operations of the solver-environment library beyond those that tvbcclib calls. Same row format as
 * tvh_operations.h; the check entry answers for these rows too.
 *
 *   tvhGetLog          the solvers' and the translator's output collected so far (the most recent part when it
 *                      is long), cut to the buffer; the result is the length of the text kept (at most 64 KiB)
 *   tvhTerminateRaise  asks the solves of the instance whose environment this is to stop: a solve that starts
 *                      (or a branch-and-bound search that is running) ends with RUNDD_SOLVE_USER_INTERRUPT, until
 *                      tvhTerminateClear
 *   tvhGetLastError    the text of the environment's most recent failure ("" when none); 1 */

TVH_OP(tvhGetLog, CtvhGetLog, int, (tvhHandle_t pt, char *log, int logSize), (pt, log, logSize), (3, 17))
TVH_OP(tvhTerminateRaise, tvhTerminateRaise, void, (tvhHandle_t pt), (pt), (0))
TVH_OP(tvhGetLastError, CtvhGetLastError, int, (tvhHandle_t pt, char *msg), (pt, msg), (3, 12))
