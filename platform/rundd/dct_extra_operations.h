/* Operations of the dictionary library beyond those that tvbcclib calls. Same row format as
 * dct_operations.h; the check entry answers for these rows too.
 *
 *   dctGetLastError  the text of the dictionary's most recent failure ("" when none); 1 */

DCT_OP(dctGetLastError, CdctGetLastError, int, (dctHandle_t pt, char *msg), (pt, msg), (3, 12))
