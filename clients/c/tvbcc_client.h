/* Run-time binding of libtvbcclib.so for C programs that do not link it.
 *
 * tvbGetReady / tvbGetReadyD open the library (from a directory, or through the dynamic loader's search),
 * resolve its creation and check entries, agree interface version TVB_API_VERSION with c__xapiversion and
 * bind every operation that tvbcclib.h declares after asking c__xcheck whether the library has it with this
 * header's signature. An operation that it lacks (or has with another signature) gets a stub: calling it
 * prints "<name> could not be loaded: <the library's reason>" and ends the process with status 123.
 *
 * Operations are called through pointers named as the operation, e.g.
 *     tvbAddSymbol(db, "demand", 1, TRV_DT_PAR, 0, "demand at market", &sym);
 * with the zero-terminated (c__) conventions and contracts of tvbcclib.h. Until a load succeeds every pointer
 * holds its stub. The library is loaded once and stays loaded; a failed load leaves it unloaded, so that the
 * next call tries again. Loading is thread-safe; the operations follow tvbcclib.h's threading rules. */
#ifndef TVBCC_CLIENT_H
#define TVBCC_CLIENT_H

#include "tvbcclib.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when the library is loaded (now or before); 0 otherwise, with the reason in msg (cut to msgSize; nothing is
 * written when msg is NULL or msgSize <= 0). dir may be NULL or empty: then "libtvbcclib.so" is left to the
 * dynamic loader's search; otherwise dir + "/libtvbcclib.so" is opened. */
int tvbGetReady(char *msg, int msgSize);
int tvbGetReadyD(const char *dir, char *msg, int msgSize);

/* Loads the library as above and creates a database in *pdb (set to NULL first). 1 on success; 0 with the
 * reason in msg. The directory of tvbCreateD only says where the library is found; the database is created as
 * by tvbcreate (the libraries beside libtvbcclib.so are found there anyway). */
int tvbCreate(tvbHandle **pdb, char *msg, int msgSize);
int tvbCreateD(tvbHandle **pdb, const char *dir, char *msg, int msgSize);

/* Releases the database in *pdb, if any, and sets *pdb to NULL. 1. */
int tvbFree(tvbHandle **pdb);

/* 1 when a load has succeeded. */
int tvbLibraryLoaded(void);

/* One pointer per operation of the areas that tvbcclib.h declares, named tvb<Name>. */
#define TVB_LABELS_IN const char *const *
#define TVB_LABELS_OUT char **
#define TVB_OP(area, Name, lower, result, params, args, sig, family) TVB_IF_BUILT(area, extern result(*tvb##Name) params;)
#include "tvbcclib_operations.h"
#undef TVB_OP
#undef TVB_LABELS_IN
#undef TVB_LABELS_OUT

#ifdef __cplusplus
}
#endif

#endif /* TVBCC_CLIENT_H */
