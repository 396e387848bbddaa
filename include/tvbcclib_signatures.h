/* Signature codes of the interface check.
 *
 * A signature is an array of argument count + 1 codes: element 0 names the result, elements 1..n the
 * arguments in order (the leading database or library object is not counted). Both sides of the check
 * protocol use these codes: this library answering its clients, and the loaders checking the external
 * libraries (and those libraries answering them). Plain C so that the platform libraries and C clients
 * can include it. */
#ifndef TVBCCLIB_SIGNATURES_H
#define TVBCCLIB_SIGNATURES_H

enum {
  SIG_VOID = 0,               /* no result (result position only) */
  SIG_PTR = 1,                /* opaque pointer by value; as a result, the pointer returned */
  SIG_PTR_REF = 2,            /* address of an opaque pointer (written), or an array of pointers (read) */
  SIG_INT = 3,                /* 32-bit integer by value */
  SIG_INT_OUT = 4,            /* 32-bit integer by reference, written */
  SIG_DOUBLES_IN = 5,         /* array of doubles, read */
  SIG_DOUBLES_OUT = 6,        /* array of doubles, written */
  SIG_INTS_IN = 7,            /* array of integers, read */
  SIG_INTS_REF = 8,           /* array of integers by reference */
  SIG_CHARPTR_IN = 9,         /* character string read, plain character pointer */
  SIG_STRING_IN = 11,         /* character string read (at most 255 characters) */
  SIG_STRING_OUT = 12,        /* character string written into a 256-character buffer */
  SIG_DOUBLE = 13,            /* double by value; as a result, a double */
  SIG_DOUBLE_OUT = 14,        /* double by reference, written */
  SIG_BOOL = 15,              /* boolean by value; as a result, the success flag */
  SIG_STRING_OUT_SIZED = 17,  /* character string written into a buffer whose length follows */
  SIG_CHAR = 18,              /* one character by value */
  SIG_CHAR_OUT = 19,          /* one character by reference, written */
  SIG_BOOL_OUT = 20,          /* boolean by reference, written */
  SIG_INT_INOUT = 21,         /* 32-bit integer by reference, read and written */
  SIG_DOUBLE_INOUT = 22,      /* double by reference, read and written */
  SIG_INT64 = 23,             /* 64-bit integer, result position only */
  SIG_KEY_IN = 51,            /* one label number per index position, read */
  SIG_KEY_OUT = 52,           /* one label number per index position, written */
  SIG_VALUES_IN = 53,         /* the doubles of one record, read */
  SIG_VALUES_OUT = 54,        /* the doubles of one record, written */
  SIG_LABELS_IN = 55,         /* one string per index position, read */
  SIG_LABELS_OUT = 56,        /* one string per index position, each written into 256 characters */
  SIG_SPECIALS_IN = 57,       /* array of special values, read */
  SIG_SPECIALS_OUT = 58,      /* array of special values, written */
  SIG_CALLBACK = 59           /* address of a routine that the callee calls back */
};

/* Codes whose operations are looked up under a "C"-prefixed entry name by the loaders. */
#define SIG_IS_STRING_BEARING(code) \
  ((code) == SIG_STRING_IN || (code) == SIG_STRING_OUT || (code) == SIG_STRING_OUT_SIZED || (code) == SIG_CHAR_OUT || \
   (code) == SIG_LABELS_IN || (code) == SIG_LABELS_OUT)

#endif
