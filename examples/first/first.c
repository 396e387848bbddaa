/* A first program: a database with a two-dimensional parameter, one record written and read back, and the
 * message of an operation that fails. Uses only tvbcclib.h. */
#include <stdio.h>

#include "tvbcclib.h"

int main(void) {
  tvbHandle *db;
  char msg[TRV_SSSIZE];
  if (!tvbcreate(&db, msg, sizeof msg)) {
    fprintf(stderr, "cannot create a database: %s\n", msg);
    return 1;
  }

  tvbSymbol *d;
  c__tvbaddsymbol(db, "d", 2, TRV_DT_PAR, 0, "distance in thousands of miles", &d);
  const char *key[2] = {"seattle", "new-york"};
  tvbRecordHandle *rec;
  double miles;
  c__tvbaddrecord(db, d, key, &rec);
  c__tvbsetlevel(db, rec, 2.5);
  c__tvbgetlevel(db, rec, &miles);
  printf("d(%s,%s) = %g\n", key[0], key[1], miles);
  c__tvbfreesymboliterator(db, rec); /* record handles belong to the caller */

  if (!c__tvbaddrecord(db, d, key, &rec)) { /* every operation returns 1, or 0 with the reason kept */
    c__tvbgetlasterror(db, msg);
    printf("adding it again: %s\n", msg);
  }
  tvbfree(&db);
  return 0;
}
