/* A client of an installed tvbcclib, built against the installed headers and libraries: a value written to a
 * TVF file and read back (the TVF library is loaded from beside libtvbcclib.so), and a MathProg model solved
 * with CLP through a database tied to it (the model library and its solver configuration, beside it too).
 * Arguments: the model file, the TVF file to write. Prints the value read back, the model status and the
 * objective. */
#include <stdio.h>

#include "rundd.h"
#include "tvbcclib.h"

static int fail(tvbHandle *db, const char *what) {
  char msg[TRV_SSSIZE];
  c__tvbgetlasterror(db, msg);
  fprintf(stderr, "%s: %s\n", what, msg);
  return 1;
}

int main(int argc, char **argv) {
  char msg[TRV_SSSIZE];
  tvbHandle *db = NULL;
  tvbSymbol *f = NULL;
  tvbRecordHandle *rec = NULL;
  double freight = 0, seconds = 0;
  void *model = NULL;
  if (argc != 3) return 2;

  if (!tvbcreate(&db, msg, sizeof msg)) return fprintf(stderr, "%s\n", msg), 1;
  if (!c__tvbaddsymbol(db, "f", 0, TRV_DT_PAR, 0, "freight", &f) || !c__tvbaddrecord(db, f, NULL, &rec) ||
      !c__tvbsetlevel(db, rec, 90) || !c__tvbwritetvf(db, argv[2], 0))
    return fail(db, "writing");
  c__tvbfreesymboliterator(db, rec);
  tvbfree(&db);
  if (!tvbcreate(&db, msg, sizeof msg)) return fprintf(stderr, "%s\n", msg), 1;
  if (!c__tvbinitfromtvf(db, argv[2]) || !c__tvbfindsymbol(db, "f", &f) || !c__tvbfindrecord(db, f, NULL, &rec) ||
      !c__tvbgetlevel(db, rec, &freight))
    return fail(db, "reading");
  c__tvbfreesymboliterator(db, rec);
  tvbfree(&db);

  if (!tvpXCreate(&model) || !CtvpLoadMathProg(model, argv[1], NULL, msg, sizeof msg))
    return fprintf(stderr, "%s\n", msg), 1;
  if (!tvbcreate(&db, msg, sizeof msg)) return fprintf(stderr, "%s\n", msg), 1;
  if (!c__tvbinitfromdict(db, model) || !c__tvbinitupdate(db, model) || !c__tvbcallsolvertimed(db, "CLP", &seconds))
    return fail(db, "solving");
  printf("%g %d %g\n", freight, tvpModelStat(model), tvpGetObjVal(model));
  tvbfree(&db); /* before the model, whose solver instance it holds */
  tvpXFree(&model);
  return 0;
}
