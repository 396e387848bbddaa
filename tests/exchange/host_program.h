/* A host program for the tests, written in C as hosts are: a few symbols with their records and element
 * texts, and the six routines that c__tvbinitfromcmex takes. One routine can be told to fail, and the log
 * routine keeps what it received. */
#ifndef TVB_TESTS_EXCHANGE_HOST_PROGRAM_H
#define TVB_TESTS_EXCHANGE_HOST_PROGRAM_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HostSymbol {
  const char *name;
  int dim, recordCount;
  const int *keys;      /* recordCount rows of dim label numbers */
  const double *values; /* recordCount rows of 5 values */
} HostSymbol;

typedef enum HostFailure {
  HOST_FAIL_NOTHING,
  HOST_FAIL_FIND_SYMBOL,
  HOST_FAIL_READ_START,
  HOST_FAIL_READ, /* the last record of a symbol, so that some were read before */
  HOST_FAIL_READ_DONE,
  HOST_FAIL_ELEM_TEXT
} HostFailure;

typedef struct HostProgram {
  const HostSymbol *symbols;
  int symbolCount;
  const char *const *texts; /* element text number n is texts[n - 1] */
  int textCount;
  HostFailure failure;
  /* kept by the routines */
  int reading, next; /* symbol being read (-1 when none) and its next record */
  int finds, elemTexts, logCalls;
  char logged[256]; /* the last log message as received, length-prefixed */
} HostProgram;

void hostProgramStart(HostProgram *host, const HostSymbol *symbols, int symbolCount, const char *const *texts,
                      int textCount);
int hostFindSymbol(const char *name, int *symNr, void *hostHandle);
int hostDataReadRawStart(int symNr, int *recordCount, void *hostHandle);
int hostDataReadRaw(int *keys, double *values, int *dimFirst, void *hostHandle);
int hostDataReadDone(void *hostHandle);
int hostElemText(int textNr, char *text, int maxLength, void *hostHandle);
void hostLog(const char *msg, void *hostHandle);

#ifdef __cplusplus
}
#endif

#endif
