/* The classic transport problem's data in a tvbcclib database: plants with capacities, markets with
 * demands, distances and the freight cost, and a positive variable for the shipments. The program builds
 * the database through the C interface, walks it and prints every symbol, then shows a few lookups, a slice
 * and an error message. Finally it writes the data to a TVF file (the first argument, else transport.tvf)
 * and reads the file back into a second database, whose symbols are read from the file when first used.
 * It uses only tvbcclib.h. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tvbcclib.h"

static tvbHandle *db;

static void fail(const char *what) {
  char msg[TRV_SSSIZE];
  c__tvbgetlasterror(db, msg);
  fprintf(stderr, "%s failed: %s\n", what, msg);
  exit(1);
}

static tvbSymbol *add_symbol(const char *name, int dim, int type, int subtype, const char *text,
                             tvbSymbol **domains) {
  tvbSymbol *sym = NULL;
  const char *names[2] = {"*", "*"};
  if (!c__tvbaddsymbolx(db, name, dim, type, subtype, text, domains, names, &sym)) fail("adding a symbol");
  return sym;
}

static void add_value(tvbSymbol *sym, const char *a, const char *b, double value) {
  const char *labels[2] = {a, b};
  tvbRecordHandle *rec = NULL;
  if (!c__tvbaddrecord(db, sym, labels, &rec)) fail("adding a record");
  if (value != 0) c__tvbsetlevel(db, rec, value);
  c__tvbfreesymboliterator(db, rec);
}

/* Prints a value, naming the special values by their default caller representation. */
static void print_value(double v) {
  if (v == 3e300)
    printf("%10s", "+Inf");
  else if (v == 4e300)
    printf("%10s", "-Inf");
  else if (v == 1e300)
    printf("%10s", "Undf");
  else if (v == 2e300)
    printf("%10s", "NA");
  else if (v == 5e300)
    printf("%10s", "Eps");
  else
    printf("%10.3f", v);
}

static void print_symbol(tvbSymbol *sym) {
  static const char *type_names[] = {"Set", "Parameter", "Variable", "Equation"};
  char name[TRV_SSSIZE], text[TRV_SSSIZE];
  int dim = 0, type = 0, count = 0;
  double unused;
  c__tvbsymbolinfo(db, sym, TRV_SYMINFO_NAME, &dim, &unused, name);
  c__tvbsymbolinfo(db, sym, TRV_SYMINFO_TEXT, &dim, &unused, text);
  c__tvbsymbolinfo(db, sym, TRV_SYMINFO_RECORD_COUNT, &count, &unused, text + 128);
  c__tvbsymboldim(db, sym, &dim);
  c__tvbsymboltype(db, sym, &type);

  tvbSymbol *domains[GLOBAL_MAX_INDEX_DIM];
  char domain_buffers[GLOBAL_MAX_INDEX_DIM][TRV_SSSIZE];
  char *domain_names[GLOBAL_MAX_INDEX_DIM];
  for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) domain_names[i] = domain_buffers[i];
  printf("%s %s", type_names[type], name);
  if (dim > 0 && c__tvbgetdomain(db, sym, dim, domains, domain_names)) {
    printf("(");
    for (int i = 0; i < dim; ++i) printf("%s%s", i ? "," : "", domain_names[i]);
    printf(")");
  }
  printf(" \"%s\", %d records\n", text, count);

  tvbRecordHandle *rec = NULL;
  if (!c__tvbfindfirstrecord(db, sym, &rec)) return;
  if (type == TRV_DT_VAR) printf("    %-22s%10s%10s%10s%10s%10s\n", "", "level", "marginal", "lower", "upper", "scale");
  do {
    char key_buffers[GLOBAL_MAX_INDEX_DIM][TRV_SSSIZE];
    char *keys[GLOBAL_MAX_INDEX_DIM];
    char key[128] = "";
    for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) keys[i] = key_buffers[i];
    c__tvbgetkeys(db, rec, dim, keys);
    for (int i = 0; i < dim; ++i) snprintf(key + strlen(key), sizeof key - strlen(key), "%s%s", i ? "." : "", keys[i]);
    printf("    %-22s", key);
    if (type == TRV_DT_SET) {
      char elem_text[TRV_SSSIZE];
      c__tvbgetelemtext(db, rec, elem_text);
      printf("%s", elem_text);
    } else {
      int uels[GLOBAL_MAX_INDEX_DIM];
      double values[5];
      c__tvbgetrecordraw(db, rec, dim, uels, values);
      for (int i = 0; i < (type == TRV_DT_PAR ? 1 : 5); ++i) print_value(values[i]);
    }
    printf("\n");
  } while (c__tvbrecordmovenext(db, rec));
  c__tvbfreesymboliterator(db, rec);
}

int main(int argc, char **argv) {
  char msg[TRV_SSSIZE];
  if (!tvbcreate(&db, msg, sizeof msg)) {
    fprintf(stderr, "cannot create a database: %s\n", msg);
    return 1;
  }

  tvbSymbol *i = add_symbol("i", 1, TRV_DT_SET, 0, "canning plants", NULL);
  tvbSymbol *j = add_symbol("j", 1, TRV_DT_SET, 0, "markets", NULL);
  const char *plants[] = {"seattle", "san-diego"};
  const char *markets[] = {"new-york", "chicago", "topeka"};
  const char *plant_texts[] = {"Seattle, Washington", "San Diego, California"};
  for (int k = 0; k < 2; ++k) {
    tvbRecordHandle *rec = NULL;
    if (!c__tvbaddrecord(db, i, &plants[k], &rec)) fail("adding a plant");
    c__tvbsetelemtext(db, rec, plant_texts[k]);
    c__tvbfreesymboliterator(db, rec);
  }
  for (int k = 0; k < 3; ++k) {
    tvbRecordHandle *rec = NULL;
    if (!c__tvbaddrecord(db, j, &markets[k], &rec)) fail("adding a market");
    c__tvbfreesymboliterator(db, rec);
  }

  tvbSymbol *di[1] = {i}, *dj[1] = {j}, *dij[2] = {i, j};
  tvbSymbol *a = add_symbol("a", 1, TRV_DT_PAR, 0, "capacity of plant i in cases", di);
  tvbSymbol *b = add_symbol("b", 1, TRV_DT_PAR, 0, "demand at market j in cases", dj);
  tvbSymbol *d = add_symbol("d", 2, TRV_DT_PAR, 0, "distance in thousands of miles", dij);
  tvbSymbol *f = add_symbol("f", 0, TRV_DT_PAR, 0, "freight in dollars per case per thousand miles", NULL);
  tvbSymbol *x = add_symbol("x", 2, TRV_DT_VAR, TRV_VAR_POSITIVE, "shipment quantities in cases", dij);

  add_value(a, "seattle", NULL, 350);
  add_value(a, "san-diego", NULL, 600);
  add_value(b, "new-york", NULL, 325);
  add_value(b, "chicago", NULL, 300);
  add_value(b, "topeka", NULL, 275);
  static const double distances[2][3] = {{2.5, 1.7, 1.8}, {2.5, 1.8, 1.4}};
  for (int p = 0; p < 2; ++p)
    for (int m = 0; m < 3; ++m) {
      add_value(d, plants[p], markets[m], distances[p][m]);
      add_value(x, plants[p], markets[m], 0);
    }
  tvbRecordHandle *rec = NULL;
  if (!c__tvbaddrecord(db, f, NULL, &rec)) fail("adding the freight");
  c__tvbsetlevel(db, rec, 90);
  c__tvbfreesymboliterator(db, rec);

  int symbols = 0, labels = 0;
  double unused;
  c__tvbinfo(db, TRV_INFO_SYMBOL_COUNT, &symbols, &unused, msg);
  c__tvbinfo(db, TRV_INFO_UEL_COUNT, &labels, &unused, msg);
  printf("Transport data: %d symbols over %d labels\n\n", symbols, labels);
  for (int k = 0; k < symbols; ++k) {
    tvbSymbol *sym = NULL;
    c__tvbgetsymbolbyindex(db, k, &sym);
    print_symbol(sym);
    printf("\n");
  }

  /* A lookup by labels, in any letter case, and a slice: every shipment to chicago. */
  const char *route[2] = {"Seattle", "NEW-YORK"};
  double miles = 0;
  if (!c__tvbfindrecord(db, d, route, &rec)) fail("finding a distance");
  c__tvbgetlevel(db, rec, &miles);
  c__tvbfreesymboliterator(db, rec);
  printf("d(Seattle,NEW-YORK) = %.1f thousand miles\n", miles);

  const char *to_chicago[2] = {" ", "chicago"};
  printf("routes to chicago:");
  if (c__tvbfindfirstrecordslice(db, d, to_chicago, &rec)) {
    do {
      char from[TRV_SSSIZE];
      c__tvbgetkey(db, rec, 0, from);
      c__tvbgetlevel(db, rec, &miles);
      printf(" %s (%.1f)", from, miles);
    } while (c__tvbrecordmovenext(db, rec));
    c__tvbfreesymboliterator(db, rec);
  }
  printf("\n");

  const char *nowhere[2] = {"seattle", "boston"};
  if (!c__tvbfindrecord(db, d, nowhere, &rec)) {
    c__tvbgetlasterror(db, msg);
    printf("looking up d(seattle,boston): %s\n", msg);
  }

  /* Data exchange: the whole database goes to a TVF file, and a second database (in the same variable)
   * reads it back. */
  const char *file = argc > 1 ? argv[1] : "transport.tvf";
  if (!c__tvbwritetvf(db, file, 0)) fail("writing the TVF file");
  tvbfree(&db);
  printf("\nwrote %s\n", file);

  if (!tvbcreate(&db, msg, sizeof msg)) {
    fprintf(stderr, "cannot create a database: %s\n", msg);
    return 1;
  }
  if (!c__tvbinitfromtvf(db, file)) fail("reading the TVF file");
  c__tvbinfo(db, TRV_INFO_SYMBOL_COUNT, &symbols, &unused, msg);
  c__tvbinfo(db, TRV_INFO_UEL_COUNT, &labels, &unused, msg);
  printf("read back: %d symbols over %d labels; records are read from the file as they are needed\n\n", symbols,
         labels);
  tvbSymbol *shipments = NULL;
  if (!c__tvbfindsymbol(db, "X", &shipments)) fail("finding a symbol of the file");
  print_symbol(shipments);
  tvbSymbol *distance = NULL;
  if (!c__tvbfindsymbol(db, "d", &distance) || !c__tvbfindrecord(db, distance, route, &rec)) fail("finding a distance");
  c__tvbgetlevel(db, rec, &miles);
  c__tvbfreesymboliterator(db, rec);
  printf("d(Seattle,NEW-YORK) read back = %.1f thousand miles\n", miles);

  if (!c__tvbclosetvf(db, 1)) fail("closing the TVF file");
  tvbfree(&db);
  return 0;
}
