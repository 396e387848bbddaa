// Declarations of the implementation functions behind the exported entries (tvbAddSymbol, tvbGetLevel, ...),
// expanded from the operation table. They are internal: only the entry families are exported.
#pragma once

#include "tvbcclib.h"

#define TVB_LABELS_IN const char *const *
#define TVB_LABELS_OUT char **
#define TVB_OP(area, Name, lower, result, params, args, sig, family) result tvb##Name params;
#include "tvbcclib_operations.h"
#undef TVB_OP
#undef TVB_LABELS_IN
#undef TVB_LABELS_OUT

// The creation and release operations, run by the creation entries.
void tvbCreate(tvbHandle** ptvb, char* msgBuf, int msgBufLen);
void tvbCreateD(tvbHandle** ptvb, const char* dirName, char* msgBuf, int msgBufLen);
void tvbFree(tvbHandle** ptvb);
