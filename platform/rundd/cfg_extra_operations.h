/* Operations of the solver-configuration library beyond those that tvbcclib calls. Same row format as
 * cfg_operations.h; the check entry answers for these rows too.
 *
 *   cfgGetLastError  the text of the configuration's most recent failure ("" when none); 1 */

CFG_OP(cfgGetLastError, CcfgGetLastError, int, (cfgHandle_t pt, char *msg), (pt, msg), (3, 12))
