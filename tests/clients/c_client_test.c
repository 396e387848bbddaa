/* A C program that loads the libtvbcclib.so of this build at run time through the client glue, creates a
 * database, adds a symbol and a record and reads them back. Compiled with -Wpedantic -Werror, so the glue's
 * header serves strict C. Usage: c_client_test <directory of libtvbcclib.so> */
#include <stdio.h>
#include <string.h>

#include "tvbcc_client.h"

static int failures = 0;

/* Counts and reports a failed check, and goes on. */
#define CHECK(condition) \
  ((condition) ? (void)0 : (void)(++failures, fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition)))

int main(int argc, char **argv) {
  tvbHandle *db = NULL;
  tvbSymbol *demand = NULL, *found = NULL;
  tvbRecordHandle *rec = NULL;
  const char *labels[] = {"new-york"};
  char keyBuffer[256], msg[256];
  char *keys[] = {keyBuffer};
  double level = 0, unused = 0;
  int count = 0;
  if (argc != 2) {
    fprintf(stderr, "usage: %s <directory of libtvbcclib.so>\n", argv[0]);
    return 2;
  }
  CHECK(tvbGetReadyD(argv[1], msg, (int)sizeof msg));
  CHECK(tvbLibraryLoaded());
  CHECK(tvbCreate(&db, msg, (int)sizeof msg));
  CHECK(db != NULL);
  if (db == NULL) return 1;
  CHECK(tvbAddSymbol(db, "demand", 1, TRV_DT_PAR, 0, "demand at market", &demand));
  CHECK(tvbAddRecord(db, demand, labels, &rec));
  CHECK(tvbSetLevel(db, rec, 325.5));
  CHECK(tvbFreeSymbolIterator(db, rec));
  CHECK(tvbFindSymbol(db, "DEMAND", &found));
  CHECK(found == demand);
  rec = NULL;
  CHECK(tvbFindRecord(db, found, labels, &rec));
  CHECK(tvbGetLevel(db, rec, &level));
  CHECK(level == 325.5);
  CHECK(tvbGetKeys(db, rec, 1, keys));
  CHECK(strcmp(keyBuffer, "new-york") == 0);
  CHECK(tvbSymbolInfo(db, found, TRV_SYMINFO_RECORD_COUNT, &count, &unused, msg));
  CHECK(count == 1);
  CHECK(tvbFreeSymbolIterator(db, rec));
  /* A failure reaches the caller through the library's last error. */
  CHECK(!tvbFindSymbol(db, "supply", &found));
  CHECK(tvbGetLastError(db, msg));
  CHECK(strstr(msg, "supply") != NULL);
  CHECK(tvbFree(&db));
  CHECK(db == NULL);
  if (failures != 0) fprintf(stderr, "%d checks failed\n", failures);
  return failures == 0 ? 0 : 1;
}
