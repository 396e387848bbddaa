// The zero-terminated family: c__tvb<op> forwards to the implementation unchanged; operations without
// strings are also exported as tvb<op>_, the same entry.
#include "api/operations.h"

#define TVB_LABELS_IN const char *const *
#define TVB_LABELS_OUT char **
#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_IF_BUILT(area, extern "C" result c__tvb##lower params { return tvb##Name args; } TVB_C_ALIAS_##family(result, lower, params))
#define TVB_C_ALIAS_C(result, lower, params) extern "C" result tvb##lower##_ params __attribute__((alias("c__tvb" #lower)));
#define TVB_C_ALIAS_D(result, lower, params)
#define TVB_C_ALIAS_CO(result, lower, params)
#include "tvbcclib_operations.h"
