/* The public C interface of the TVF data-exchange file library (libtvfdclib.so, API version 7).
 * Every operation takes a library object made by XCreate and released by XFree; results are 1 for success
 * and 0 for failure unless stated otherwise. Strings are zero-terminated, at most 255 characters, and every
 * string written by the library goes into a caller buffer of 256 bytes. Nothing throws across this boundary. */
#ifndef TVF_TVF_H
#define TVF_TVF_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define TVF_EXPORT __attribute__((visibility("default")))
#else
#define TVF_EXPORT
#endif

/* The library object: one open file (read or write) with its error log and special values. */
typedef struct tvfRec *tvfHandle_t;

/* The API version that this library implements; clients of version 7 and later are accepted. */
#define TVF_API_VERSION 7

/* Number of entries of a special-value array; the first five are UNDF, NA, PINF, MINF, EPS. */
#define TVF_SPECIAL_VALUE_COUNT 7

/* Dimension limit and buffer sizes shared with the callers. */
#define TVF_MAX_DIM 20
#define TVF_VALUE_COUNT 5
#define TVF_STRING_SIZE 256
#define TVF_MAX_LABEL_LENGTH 63

/* Writes a new object to *pt (NULL on failure); 1 on success, 0 when no memory was available. */
TVF_EXPORT int XCreate(tvfHandle_t *pt);

/* Closes any open file of *pt, frees it and sets *pt to NULL; 1 (also for a NULL object). */
TVF_EXPORT int XFree(tvfHandle_t *pt);

/* Answers whether the operation `name` (compared exactly) exists with `nargs` counted arguments and the
 * signature `sig` (nargs + 1 codes, result first). 1 and an empty msg when it does; 0 and the reason in
 * msg (a 256-byte buffer, may be NULL) otherwise. */
TVF_EXPORT int CXCheck(const char *name, int nargs, const int *sig, char *msg);

/* Agrees the API version with a client: api >= 7 is accepted (compatibility 1 when equal, 3 when the
 * client is newer); an older api is refused with 0 and a message. msg and compatibility may be NULL. */
TVF_EXPORT int CXAPIVersion(int api, char *msg, int *compatibility);

/* The directory the library was loaded from, as told by the loader; kept for the library's own use.
 * CtvfSetLoadPath copies at most 255 characters; CtvfGetLoadPath writes into a 256-byte buffer. Both 1. */
TVF_EXPORT int CtvfSetLoadPath(const char *dir);
TVF_EXPORT int CtvfGetLoadPath(char *dir);

/* The operations, each exported under its lookup name (tvf_operations.h: those that tvbcclib calls;
 * tvf_extra_operations.h: the library's own additions). CXCheck answers for every row of both. */
#define TVF_OP(name, lookup, result, parameters, arguments, signature) TVF_EXPORT result lookup parameters;
#include "tvf_operations.h"
#include "tvf_extra_operations.h"
#undef TVF_OP

#ifdef __cplusplus
}
#endif

#endif
