/* The public header as a C program sees it: built as strict C with every warning an error, its entries
 * link against the library and answer. */
#include <stddef.h>

#include "tvbcclib.h"

int main(void) {
  tvbHandle *db = NULL;
  char msg[TRV_SSSIZE];
  int compatibility = 0;
  const int getLevel[] = {15, 1, 14};
  if (!c__xapiversion(TVB_API_VERSION, msg, &compatibility) || compatibility != 1) return 1;
  if (!c__xcheck("tvbGetLevel", 2, getLevel, msg)) return 1;
  if (!tvbcreate(&db, msg, (int)sizeof msg) || !tvbfree(&db) || db != NULL) return 1;
  return 0;
}
