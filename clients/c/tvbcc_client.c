/* The client glue of tvbcc_client.h: the loader of libtvbcclib.so, generated from tvbcclib's own operation
 * table (tvbcclib_operations.h) and creation-entry list (tvbcclib_fixed_entries.h), so that no name or signature is
 * written twice. */
#include "tvbcc_client.h"

#include <ctype.h>
#include <dlfcn.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tvbcclib_fixed_entries.h"

/* Messages, as the callers and the stubs' output show them. */
#define TVBCC_MSG_NO_LIBRARY "Could not load shared library %s: %s"
#define TVBCC_MSG_NO_SYMBOL "Could not load symbol '%s': %s"
#define TVBCC_MSG_NOT_LOADED "%s could not be loaded: "
#define TVBCC_MSG_NO_OBJECT "Error while creating object"

#define TVBCC_BASE_NAME "tvbcclib"
#define TVBCC_FILE_NAME_SIZE 512 /* 511 characters and the terminating zero */
#define TVBCC_STRING_SIZE 256    /* every string of the check protocol */
#define TVBCC_MAX_ENTRY_NAME 256
#define TVBCC_FATAL_EXIT_STATUS 123
#define TVBCC_UNPAREN(...) __VA_ARGS__

/* ---- messages ---- */

static void WriteMessage(char *msg, int msgSize, const char *format, ...) {
  va_list args;
  if (msg == NULL || msgSize <= 0) return;
  va_start(args, format);
  vsnprintf(msg, (size_t)msgSize, format, args);
  va_end(args);
}

static _Noreturn void ReportFatal(const char *text) {
  fputs(text, stdout);
  fputc('\n', stdout);
  fflush(stdout);
  exit(TVBCC_FATAL_EXIT_STATUS);
}

/* ---- state: process-wide, written under the lock until the library is loaded ---- */

static pthread_mutex_t libMutex = PTHREAD_MUTEX_INITIALIZER;
static int loaded = 0;
static void *module = NULL;

/* The creation, release and check entries, one slot per name of TVB_FIXED_ENTRIES. */
static struct {
#define TVBCC_FIXED_SLOT(result, name, target, params) result(*name) params;
  TVB_FIXED_ENTRIES(TVBCC_FIXED_SLOT)
#undef TVBCC_FIXED_SLOT
} fixed;

/* ---- stubs: each operation's signature, and a function with its parameters that reports it missing ---- */

static _Noreturn void ReportMissing(const char *name, int argCount, const int *signature) {
  /* The library's reason goes behind our text; it may write a whole string buffer there. */
  char text[2 * TVBCC_STRING_SIZE];
  size_t length;
  WriteMessage(text, TVBCC_STRING_SIZE, TVBCC_MSG_NOT_LOADED, name);
  length = strlen(text);
  if (fixed.c__xcheck != NULL) fixed.c__xcheck(name, argCount, signature, text + length);
  text[TVBCC_STRING_SIZE - 1] = '\0';
  ReportFatal(text);
}

#define TVBCC_ARG_COUNT(Name) ((int)(sizeof tvbccSignature_##Name / sizeof tvbccSignature_##Name[0]) - 1)

#define TVB_LABELS_IN const char *const *
#define TVB_LABELS_OUT char **

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter" /* a stub has the operation's parameters and uses none */
#define TVBCC_STUB(Name, result, params, sig)                     \
  static const int tvbccSignature_##Name[] = {TVBCC_UNPAREN sig}; \
  static result tvbccStub_##Name params { ReportMissing("tvb" #Name, TVBCC_ARG_COUNT(Name), tvbccSignature_##Name); }
#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_IF_BUILT(area, TVBCC_STUB(Name, result, params, sig))
#include "tvbcclib_operations.h"
#undef TVB_OP
#pragma GCC diagnostic pop

/* The operation pointers of tvbcc_client.h; each holds its stub until the library is bound. */
#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_IF_BUILT(area, result(*tvb##Name) params = tvbccStub_##Name;)
#include "tvbcclib_operations.h"
#undef TVB_OP

/* ---- loading ---- */

static void ComposeFileName(const char *dir, char *name) {
  size_t length = 0;
  const char *parts[4];
  int i;
  parts[0] = dir != NULL && dir[0] != '\0' ? dir : "";
  parts[1] = "lib";
  parts[2] = TVBCC_BASE_NAME;
  parts[3] = ".so";
  name[0] = '\0';
  for (i = 0; i < 4; ++i) {
    size_t count = strlen(parts[i]);
    if (count > TVBCC_FILE_NAME_SIZE - 1 - length) count = TVBCC_FILE_NAME_SIZE - 1 - length;
    memcpy(name + length, parts[i], count);
    length += count;
    name[length] = '\0';
    /* A directory gets one "/" before the file name, unless it ends in one already. */
    if (i == 0 && length > 0 && name[length - 1] != '/' && length < TVBCC_FILE_NAME_SIZE - 1) {
      name[length++] = '/';
      name[length] = '\0';
    }
  }
}

/* The entry under its name in lower case, as written, or in upper case: the first that the library exports.
 * NULL when none is, with the platform's reason in error. */
static void *Resolve(const char *name, char *error, int errorSize) {
  char tries[3][TVBCC_MAX_ENTRY_NAME + 1];
  int t;
  size_t i;
  for (i = 0; name[i] != '\0' && i < TVBCC_MAX_ENTRY_NAME; ++i) {
    tries[0][i] = (char)tolower((unsigned char)name[i]);
    tries[1][i] = name[i];
    tries[2][i] = (char)toupper((unsigned char)name[i]);
  }
  tries[0][i] = tries[1][i] = tries[2][i] = '\0';
  for (t = 0; t < 3; ++t) {
    void *entry;
    const char *reason;
    if (t > 0 && strcmp(tries[t], tries[t - 1]) == 0) continue;
    dlerror(); /* clears an earlier error, so that the one read below is this lookup's */
    entry = dlsym(module, tries[t]);
    if (entry != NULL) return entry;
    reason = dlerror();
    WriteMessage(error, errorSize, "%s", reason != NULL ? reason : "");
  }
  return NULL;
}

/* Fills a slot of any pointer type from a resolved entry (POSIX: object and function pointers agree). */
static int ResolveInto(const char *name, void *slot, char *msg, int msgSize) {
  char error[TVBCC_STRING_SIZE + TVBCC_FILE_NAME_SIZE];
  void *entry = Resolve(name, error, (int)sizeof error);
  if (entry == NULL) {
    WriteMessage(msg, msgSize, TVBCC_MSG_NO_SYMBOL, name, error);
    return 0;
  }
  memcpy(slot, &entry, sizeof entry);
  return 1;
}

/* 1: bound to the library's entry; 0: the library does not have it (the stub stays); -1: the library claims
 * it but does not export it (message written, the load fails). */
static int CheckAndResolve(const char *name, const char *lookup, const int *signature, int argCount, void *slot,
                           char *msg, int msgSize) {
  char reason[TVBCC_STRING_SIZE] = "";
  if (fixed.c__xcheck(name, argCount, signature, reason) == 0) return 0;
  return ResolveInto(lookup, slot, msg, msgSize) ? 1 : -1;
}

static int BindOperations(char *msg, int msgSize) {
#define TVBCC_BIND(Name, lower)                                                                                        \
  switch (CheckAndResolve("tvb" #Name, "c__tvb" #lower, tvbccSignature_##Name, TVBCC_ARG_COUNT(Name), &tvb##Name, msg, \
                          msgSize)) {                                                                                  \
    case -1:                                                                                                           \
      return 0;                                                                                                        \
    case 0:                                                                                                            \
      tvb##Name = tvbccStub_##Name;                                                                                    \
      break;                                                                                                           \
    default:                                                                                                           \
      break;                                                                                                           \
  }
#define TVB_OP(area, Name, lower, result, params, args, sig, family) TVB_IF_BUILT(area, TVBCC_BIND(Name, lower))
#include "tvbcclib_operations.h"
#undef TVB_OP
#undef TVBCC_BIND
  return 1;
}

static int LoadUnlocked(const char *dir, char *msg, int msgSize) {
  char file[TVBCC_FILE_NAME_SIZE];
  char answer[TVBCC_STRING_SIZE] = "";
  int compatibility = 0;
  const char *reason;

  ComposeFileName(dir, file);
  /* A failed load keeps the module open: opening the same file later hands back the same module. */
  module = dlopen(file, RTLD_NOW | RTLD_LOCAL);
  if (module == NULL) {
    reason = dlerror();
    WriteMessage(msg, msgSize, TVBCC_MSG_NO_LIBRARY, file, reason != NULL ? reason : "");
    return 0;
  }

#define TVBCC_RESOLVE_FIXED(result, name, target, params) \
  if (!ResolveInto(#name, &fixed.name, msg, msgSize)) return 0;
  TVB_FIXED_ENTRIES(TVBCC_RESOLVE_FIXED)
#undef TVBCC_RESOLVE_FIXED

  /* The library writes up to 256 characters; the caller's buffer may be smaller. */
  if (fixed.c__xapiversion(TVB_API_VERSION, answer, &compatibility) == 0) {
    WriteMessage(msg, msgSize, "%s", answer);
    return 0;
  }
  if (!BindOperations(msg, msgSize)) return 0;
  loaded = 1;
  return 1;
}

int tvbGetReadyD(const char *dir, char *msg, int msgSize) {
  int result;
  pthread_mutex_lock(&libMutex);
  if (msg != NULL && msgSize > 0) msg[0] = '\0';
  result = loaded || LoadUnlocked(dir, msg, msgSize);
  pthread_mutex_unlock(&libMutex);
  return result;
}

int tvbGetReady(char *msg, int msgSize) { return tvbGetReadyD(NULL, msg, msgSize); }

int tvbCreateD(tvbHandle **pdb, const char *dir, char *msg, int msgSize) {
  *pdb = NULL;
  if (!tvbGetReadyD(dir, msg, msgSize)) return 0;
  fixed.tvbcreate(pdb, msg, msgSize);
  if (*pdb != NULL) return 1;
  /* The library explains its own failures; an object missing without a word gets ours. */
  if (msg != NULL && msgSize > 0 && msg[0] == '\0') WriteMessage(msg, msgSize, "%s", TVBCC_MSG_NO_OBJECT);
  return 0;
}

int tvbCreate(tvbHandle **pdb, char *msg, int msgSize) { return tvbCreateD(pdb, NULL, msg, msgSize); }

int tvbFree(tvbHandle **pdb) {
  /* Without a loaded library there can be no database of it. */
  if (tvbLibraryLoaded()) fixed.tvbfree(pdb);
  return 1;
}

int tvbLibraryLoaded(void) {
  int result;
  pthread_mutex_lock(&libMutex);
  result = loaded;
  pthread_mutex_unlock(&libMutex);
  return result;
}
