/* The entries of tvbcclib outside the operation table: creating and freeing databases, and the interface
 * version and signature check. One row per exported name, the single source of their aliases in the
 * library, the client glue's slots and the expected export list; their contracts are in tvbcclib.h.
 *
 * Row: X(result, name, target, parameters)
 *   name    the exported name
 *   target  the function behind it: names with the same target are one entry (the same address) */
#ifndef TVBCCLIB_FIXED_ENTRIES_H
#define TVBCCLIB_FIXED_ENTRIES_H

#include "tvbcclib.h"

#define TVB_FIXED_ENTRIES(X)                                                                           \
  X(int, tvbcreate, Create, (tvbHandle **ptvb, char *msgBuf, int msgBufLen))                           \
  X(int, tvbcreate_, Create, (tvbHandle **ptvb, char *msgBuf, int msgBufLen))                          \
  X(int, tvbcreated, CreateD, (tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen))        \
  X(int, tvbcreated_, CreateD, (tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen))       \
  X(int, d__tvbcreated, CreateDLp, (tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen))   \
  X(int, d__tvbcreated_, CreateDLp, (tvbHandle **ptvb, const char *dir, char *msgBuf, int msgBufLen))  \
  X(int, tvbfree, Free, (tvbHandle **ptvb))                                                            \
  X(int, tvbfree_, Free, (tvbHandle **ptvb))                                                           \
  X(int, tvbxcreate, XCreate, (tvbHandle **ptvb))                                                      \
  X(int, tvbxcreate_, XCreate, (tvbHandle **ptvb))                                                     \
  X(int, xcreate, XCreate, (tvbHandle **ptvb))                                                         \
  X(int, xcreate_, XCreate, (tvbHandle **ptvb))                                                        \
  X(int, tvbxcreated, XCreateD, (tvbHandle **ptvb, const char *dir))                                   \
  X(int, tvbxcreated_, XCreateD, (tvbHandle **ptvb, const char *dir))                                  \
  X(int, xcreated, XCreateD, (tvbHandle **ptvb, const char *dir))                                      \
  X(int, xcreated_, XCreateD, (tvbHandle **ptvb, const char *dir))                                     \
  X(int, d__tvbxcreated, XCreateDLp, (tvbHandle **ptvb, const char *dir))                              \
  X(int, d__tvbxcreated_, XCreateDLp, (tvbHandle **ptvb, const char *dir))                             \
  X(int, d__xcreated, XCreateDLp, (tvbHandle **ptvb, const char *dir))                                 \
  X(int, tvbxfree, XFree, (tvbHandle **ptvb))                                                          \
  X(int, tvbxfree_, XFree, (tvbHandle **ptvb))                                                         \
  X(int, xfree, XFree, (tvbHandle **ptvb))                                                             \
  X(int, xfree_, XFree, (tvbHandle **ptvb))                                                            \
  X(int, c__xapiversion, ApiVersion, (int api, char *msg, int *compatibility))                         \
  X(int, d__xapiversion, ApiVersionLp, (int api, char *msg, int *compatibility))                       \
  X(int, d__tvbxapiversion, ApiVersionLp, (int api, char *msg, int *compatibility))                    \
  X(int, c__xcheck, Check, (const char *name, int nargs, const int *sig, char *msg))                   \
  X(int, d__xcheck, CheckLp, (const char *name, int nargs, const int *sig, char *msg))                 \
  X(int, d__tvbxcheck, CheckLp, (const char *name, int nargs, const int *sig, char *msg))

#endif
