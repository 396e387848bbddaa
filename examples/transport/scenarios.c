/* A scenario study on the transportation model: demand scaled from 0.80 to 1.25 in ten steps, each solved on
 * the CLP instance that the database keeps between solves (only the demand changes, so each solve starts from
 * the last basis). The model (the first argument, transport.mod) is a MathProg model whose demand is the
 * variable b_var, fixed at the parameter b: a database filled from the model's dictionary moves it with
 * tvbUpdateModelSymbol and reads the cost, the shipments and the marginal cost of each market after each
 * solve. Prints a table of the scenarios and writes every result to a TVF file (the second argument,
 * scenarios.tvf); an infeasible scenario is reported as such and its results are "not available".
 * Uses tvbcclib.h for the database and rundd.h for the model instance. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "rundd.h"
#include "tvbcclib.h"

#define SCENARIOS 10
#define MAX_LABELS 16
#define NA 2e300 /* the database's default "not available" */

static tvbHandle *db;      /* filled from the model's dictionary */
static tvbHandle *results; /* the scenarios' results, written to the TVF file */

static void fail(tvbHandle *where, const char *what) {
  char msg[TRV_SSSIZE];
  c__tvbgetlasterror(where, msg);
  fprintf(stderr, "%s failed: %s\n", what, msg);
  exit(1);
}

/* The labels of a one-dimensional symbol of db, in record order, and their count. */
static int labels_of(const char *name, char labels[][TRV_SSSIZE]) {
  tvbSymbol *sym = NULL;
  tvbRecordHandle *rec = NULL;
  int n = 0;
  if (!c__tvbfindsymbol(db, name, &sym) || !c__tvbfindfirstrecord(db, sym, &rec)) fail(db, name);
  do c__tvbgetkey(db, rec, 0, labels[n++]);
  while (n < MAX_LABELS && c__tvbrecordmovenext(db, rec));
  c__tvbfreesymboliterator(db, rec);
  return n;
}

/* A field of the record of db's symbol name at labels (as many as it has positions). */
static double field_of(const char *name, const char *first, const char *second, int field) {
  const char *labels[2] = {first, second};
  tvbSymbol *sym = NULL;
  tvbRecordHandle *rec = NULL;
  int dim = 0, uels[GLOBAL_MAX_INDEX_DIM];
  double values[5];
  if (!c__tvbfindsymbol(db, name, &sym) || !c__tvbfindrecord(db, sym, labels, &rec)) fail(db, name);
  c__tvbsymboldim(db, sym, &dim);
  c__tvbgetrecordraw(db, rec, dim, uels, values);
  c__tvbfreesymboliterator(db, rec);
  return values[field];
}

static tvbSymbol *result_symbol(const char *name, int dim, int type, const char *text, tvbSymbol **domains) {
  tvbSymbol *sym = NULL;
  const char *names[3] = {"*", "*", "*"};
  if (!c__tvbaddsymbolx(results, name, dim, type, 0, text, domains, names, &sym)) fail(results, name);
  return sym;
}

/* Adds the record (a, b, c) (as many labels as sym has positions) to a symbol of results: a parameter's with
 * value, a set's with the element text text (none when NULL). */
static void put(tvbSymbol *sym, const char *a, const char *b, const char *c, double value, const char *text) {
  const char *labels[3] = {a, b, c};
  tvbRecordHandle *rec = NULL;
  int type = 0;
  if (!c__tvbaddrecord(results, sym, labels, &rec)) fail(results, "adding a result");
  c__tvbsymboltype(results, sym, &type);
  if (type == TRV_DT_PAR) c__tvbsetlevel(results, rec, value);
  else if (text) c__tvbsetelemtext(results, rec, text);
  c__tvbfreesymboliterator(results, rec);
}

static const char *status_name(int model_status) {
  switch (model_status) {
    case RUNDD_MODEL_OPTIMAL: return "optimal";
    case RUNDD_MODEL_INFEASIBLE: return "infeasible";
    case RUNDD_MODEL_UNBOUNDED: return "unbounded";
    default: return "no solution";
  }
}

int main(int argc, char **argv) {
  const char *model_file = argc > 1 ? argv[1] : "transport.mod";
  const char *result_file = argc > 2 ? argv[2] : "scenarios.tvf";
  char msg[TRV_SSSIZE];
  void *model = NULL;
  if (!tvpXCreate(&model) || !CtvpLoadMathProg(model, model_file, NULL, msg, sizeof msg)) {
    fprintf(stderr, "cannot load %s: %s\n", model_file, msg);
    return 1;
  }
  if (!tvbcreate(&db, msg, sizeof msg) || !tvbcreate(&results, msg, sizeof msg)) {
    fprintf(stderr, "cannot create a database: %s\n", msg);
    return 1;
  }
  if (!c__tvbinitfromdict(db, model)) fail(db, "initialising from the model's dictionary");
  if (!c__tvbinitupdate(db, model)) fail(db, "preparing model updates");

  /* The plants and markets, and each market's demand in the model's data. */
  char plants[MAX_LABELS][TRV_SSSIZE], markets[MAX_LABELS][TRV_SSSIZE];
  const int nPlants = labels_of("supply", plants), nMarkets = labels_of("b_var", markets);
  double base[MAX_LABELS];
  for (int m = 0; m < nMarkets; ++m) base[m] = field_of("b_var", markets[m], NULL, TRV_FIELD_LEVEL);

  /* b is the model's parameter (its variable b_var); demand holds one scenario's values for it. */
  tvbSymbol *b = NULL, *demand = NULL;
  if (!c__tvbaddsymbol(db, "b", 1, TRV_DT_PAR, 0, "demand at market j in cases", &b) ||
      !c__tvbaddsymbol(db, "demand_scenario", 1, TRV_DT_PAR, 0, "demand of one scenario", &demand))
    fail(db, "adding the demand parameters");

  tvbSymbol *s = result_symbol("s", 1, TRV_DT_SET, "demand scenarios", NULL);
  tvbSymbol *i = result_symbol("i", 1, TRV_DT_SET, "canning plants", NULL);
  tvbSymbol *j = result_symbol("j", 1, TRV_DT_SET, "markets", NULL);
  for (int p = 0; p < nPlants; ++p) put(i, plants[p], NULL, NULL, 0, NULL);
  for (int m = 0; m < nMarkets; ++m) put(j, markets[m], NULL, NULL, 0, NULL);
  tvbSymbol *ds[1] = {s}, *dsj[2] = {s, j}, *dsij[3] = {s, i, j};
  tvbSymbol *scaleOf = result_symbol("scale", 1, TRV_DT_PAR, "demand as a multiple of the model's", ds);
  tvbSymbol *costOf = result_symbol("cost", 1, TRV_DT_PAR, "total transportation cost in thousands of dollars", ds);
  tvbSymbol *status = result_symbol("status", 1, TRV_DT_PAR, "model status (1 optimal, 4 infeasible)", ds);
  tvbSymbol *seconds = result_symbol("seconds", 1, TRV_DT_PAR, "processor time of the solver call", ds);
  tvbSymbol *price = result_symbol("price", 2, TRV_DT_PAR, "marginal cost of demand in dollars per case", dsj);
  tvbSymbol *ship = result_symbol("ship", 3, TRV_DT_PAR, "shipments in cases", dsij);

  printf("Demand scenarios of %s, solved on the held CLP instance:\n\n", model_file);
  printf("%5s  %-10s %8s", "scale", "status", "cost");
  for (int m = 0; m < nMarkets; ++m) printf(" %10.10s", markets[m]);
  printf(" %10s\n", "solve ms");

  for (int k = 0; k < SCENARIOS; ++k) {
    const double scale = 0.80 + 0.05 * k;
    char name[16], text[64];
    snprintf(name, sizeof name, "s%02d", k + 1);
    snprintf(text, sizeof text, "demand x %.2f", scale);
    put(s, name, NULL, NULL, 0, text);

    for (int m = 0; m < nMarkets; ++m) {
      const char *label[1] = {markets[m]};
      tvbRecordHandle *rec = NULL;
      if (!c__tvbfindrecord(db, demand, label, &rec) && !c__tvbaddrecord(db, demand, label, &rec)) fail(db, "demand");
      c__tvbsetlevel(db, rec, scale * base[m]);
      c__tvbfreesymboliterator(db, rec);
    }
    int unmatched = 0;
    double time = 0;
    if (!c__tvbupdatemodelsymbol(db, b, 0, demand, 2, &unmatched)) fail(db, "moving the demand");
    if (!c__tvbcallsolvertimed(db, "CLP", &time)) fail(db, "solving");

    const int model_status = tvpModelStat(model);
    const int optimal = model_status == RUNDD_MODEL_OPTIMAL;
    const double cost = optimal ? field_of("cost", NULL, NULL, TRV_FIELD_LEVEL) : NA;
    put(scaleOf, name, NULL, NULL, scale, NULL);
    put(costOf, name, NULL, NULL, cost, NULL);
    put(status, name, NULL, NULL, model_status, NULL);
    put(seconds, name, NULL, NULL, time, NULL);
    printf("%5.2f  %-10s ", scale, status_name(model_status));
    if (optimal) printf("%8.3f", cost);
    else printf("%8s", "-");
    for (int m = 0; m < nMarkets; ++m) {
      const double marginal = optimal ? field_of("demand", markets[m], NULL, TRV_FIELD_MARGINAL) : NA;
      put(price, name, markets[m], NULL, optimal ? 1000 * marginal : NA, NULL);
      if (optimal) printf(" %10.2f", 1000 * marginal);
      else printf(" %10s", "-");
      for (int p = 0; p < nPlants; ++p)
        put(ship, name, plants[p], markets[m], optimal ? field_of("x", plants[p], markets[m], TRV_FIELD_LEVEL) : NA,
            NULL);
    }
    printf(" %10.3f\n", 1000 * time);
  }
  printf("\nmarginal costs in dollars per case; '-': no solution\n");

  if (!c__tvbwritetvf(results, result_file, 0)) fail(results, "writing the results");
  printf("wrote %s\n", result_file);
  tvbfree(&results);
  tvbfree(&db); /* before the model: the database holds a solver instance made with it */
  tvpXFree(&model);
  return 0;
}
