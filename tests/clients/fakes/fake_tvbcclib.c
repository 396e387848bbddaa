/* A stand-in for libtvbcclib.so for the client glue's tests, generated from tvbcclib's operation table and
 * creation-entry list as the real library's entries are. Built in variants, each in a directory of its own:
 * FAKE_REFUSED names an operation that c__xcheck refuses, FAKE_REFUSE_API makes c__xapiversion refuse every
 * client; a linker script may withhold an entry. Its create entries yield no database; its operations only
 * record that they were called. */
#include <stdio.h>
#include <string.h>

#include "tvbcclib.h"
#include "tvbcclib_fixed_entries.h"

#ifndef FAKE_REFUSED
#define FAKE_REFUSED ""
#endif
#ifndef FAKE_REFUSE_API
#define FAKE_REFUSE_API 0
#endif

#define FAKE_UNPAREN(...) __VA_ARGS__
#define FAKE_EXPORT __attribute__((visibility("default")))

static int versionCalls = 0;
static const char *lastCall = "";

FAKE_EXPORT int fakeVersionCalls(void) { return versionCalls; }
FAKE_EXPORT const char *fakeLastCall(void) { return lastCall; }

/* ---- the check table ---- */

#define TVB_LABELS_IN const char *const *
#define TVB_LABELS_OUT char **

struct Row {
  const char *name;
  int argCount;
  const int *signature;
};

#define FAKE_SIGNATURE(sig) ((const int[]){FAKE_UNPAREN sig})
#define FAKE_ROW(Name, sig) {"tvb" #Name, (int)(sizeof FAKE_SIGNATURE(sig) / sizeof(int)) - 1, FAKE_SIGNATURE(sig)},
static const struct Row rows[] = {
#define TVB_OP(area, Name, lower, result, params, args, sig, family) TVB_IF_BUILT(area, FAKE_ROW(Name, sig))
#include "tvbcclib_operations.h"
#undef TVB_OP
};

static int Answer(char *msg, int result, const char *format, const char *name) {
  if (msg != NULL) snprintf(msg, 256, format, name);
  return result;
}

static int AnswerCheck(const char *name, int nargs, const int *sig, char *msg) {
  size_t r;
  int i;
  if (strcmp(name, FAKE_REFUSED) == 0) return Answer(msg, 0, "fake tvbcclib: %s is not in this build", name);
  for (r = 0; r < sizeof rows / sizeof rows[0]; ++r) {
    if (strcmp(rows[r].name, name) != 0) continue;
    if (nargs != rows[r].argCount) return Answer(msg, 0, "fake tvbcclib: %s has wrong number of arguments.", name);
    for (i = 0; i <= nargs; ++i) {
      if (sig[i] != rows[r].signature[i]) return Answer(msg, 0, "fake tvbcclib: %s has wrong argument types.", name);
    }
    return Answer(msg, 1, "%s", "");
  }
  return Answer(msg, 0, "fake tvbcclib: %s cannot be found in library.", name);
}

static int AnswerVersion(int api, char *msg, int *compatibility) {
  ++versionCalls;
  *compatibility = !FAKE_REFUSE_API && api == TVB_API_VERSION;
  if (!*compatibility) snprintf(msg, 256, "fake tvbcclib: API version %d refused", api);
  return *compatibility;
}

/* ---- the creation, release and check entries, by what they do ---- */

static int NoDatabase(tvbHandle **ptvb, int result) {
  *ptvb = NULL;
  return result;
}

#define FAKE_BODY_Create \
  { return NoDatabase(ptvb, 0); }
#define FAKE_BODY_CreateD FAKE_BODY_Create
#define FAKE_BODY_CreateDLp FAKE_BODY_Create
#define FAKE_BODY_XCreate FAKE_BODY_Create
#define FAKE_BODY_XCreateD FAKE_BODY_Create
#define FAKE_BODY_XCreateDLp FAKE_BODY_Create
#define FAKE_BODY_Free \
  { return NoDatabase(ptvb, 1); }
#define FAKE_BODY_XFree FAKE_BODY_Free
#define FAKE_BODY_ApiVersion \
  { return AnswerVersion(api, msg, compatibility); }
#define FAKE_BODY_ApiVersionLp FAKE_BODY_ApiVersion
#define FAKE_BODY_Check \
  { return AnswerCheck(name, nargs, sig, msg); }
#define FAKE_BODY_CheckLp FAKE_BODY_Check

#define FAKE_FIXED_ENTRY(result, name, target, params) result name params FAKE_BODY_##target
TVB_FIXED_ENTRIES(FAKE_FIXED_ENTRY)

/* ---- the operations ---- */

#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_IF_BUILT(area, result c__tvb##lower params {                      \
    lastCall = "tvb" #Name;                                          \
    return (result)0;                                                \
  })
#include "tvbcclib_operations.h"
#undef TVB_OP
