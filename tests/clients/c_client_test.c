/* A C program that loads the libtvbcclib.so of this build at run time through the client glue: it binds every
 * operation to the library's own entry, creates a database, adds a symbol and a record and reads them back.
 * Compiled with -Wpedantic -Werror, so the glue's header serves strict C.
 * Usage: c_client_test <directory of libtvbcclib.so> */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include "tvbcc_client.h"

static int failures = 0;

#define CHECK(condition)                                                            \
  do {                                                                              \
    if (!(condition)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                                   \
    }                                                                               \
  } while (0)

/* Before any successful load: a directory without the library is reported, and nothing is loaded. */
static void WrongDirectoryIsReported(void) {
  char msg[1024];
  const char *expected = "Could not load shared library /no/such/dir/libtvbcclib.so: ";
  CHECK(!tvbGetReadyD("/no/such/dir", msg, (int)sizeof msg));
  CHECK(strncmp(msg, expected, strlen(expected)) == 0);
  CHECK(!tvbLibraryLoaded());
}

static void EveryOperationIsBound(const char *dir) {
  char path[1024];
  void *module;
  snprintf(path, sizeof path, "%s/libtvbcclib.so", dir);
  module = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  CHECK(module != NULL);
  if (module == NULL) return;
#define TVB_LABELS_IN const char *const *
#define TVB_LABELS_OUT char **
#define CHECK_BOUND(Name, lower)                    \
  {                                                 \
    void *bound;                                    \
    memcpy(&bound, &tvb##Name, sizeof bound);       \
    CHECK(bound == dlsym(module, "c__tvb" #lower)); \
  }
#define TVB_OP(area, Name, lower, result, params, args, sig, family) TVB_AREA_##area(CHECK_BOUND(Name, lower))
#include "tvbcclib_operations.h"
#undef TVB_OP
}

static void DatabaseRoundTrip(void) {
  tvbHandle *db = NULL;
  tvbSymbol *demand = NULL;
  tvbSymbol *found = NULL;
  tvbRecordHandle *rec = NULL;
  const char *labels[] = {"new-york"};
  char keyBuffer[256];
  char *keys[] = {keyBuffer};
  char msg[256];
  double level = 0;
  int count = 0;
  double unused = 0;

  CHECK(tvbCreate(&db, msg, (int)sizeof msg));
  CHECK(db != NULL);
  if (db == NULL) return;
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
}

int main(int argc, char **argv) {
  char msg[256];
  if (argc != 2) {
    fprintf(stderr, "usage: %s <directory of libtvbcclib.so>\n", argv[0]);
    return 2;
  }
  WrongDirectoryIsReported();
  CHECK(tvbGetReadyD(argv[1], msg, (int)sizeof msg));
  CHECK(tvbLibraryLoaded());
  EveryOperationIsBound(argv[1]);
  DatabaseRoundTrip();
  if (failures != 0) fprintf(stderr, "%d checks failed\n", failures);
  return failures == 0 ? 0 : 1;
}
