// The length-prefixed family: d__tvb<op> for every operation with strings, also exported as tvb<op>_.
#include "api/length_prefixed.h"

#define TVB_UNPAREN(...) __VA_ARGS__
#define TVB_LABELS_IN const char *
#define TVB_LABELS_OUT char *
#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_IF_BUILT(area, TVB_D_ENTRY_##family(Name, lower, result, params, args, sig))
#define TVB_D_ENTRY_D(Name, lower, result, params, args, sig)                           \
  extern "C" result d__tvb##lower params {                                              \
    return tvb::lp::Entry<TVB_UNPAREN sig>::call(&tvb##Name, TVB_UNPAREN args);         \
  }                                                                                     \
  extern "C" result tvb##lower##_ params __attribute__((alias("d__tvb" #lower)));
#define TVB_D_ENTRY_C(Name, lower, result, params, args, sig)
#define TVB_D_ENTRY_CO(Name, lower, result, params, args, sig)
#include "tvbcclib_operations.h"

// The block family: zero-terminated strings in the caller's 20 slots of 256 bytes.
namespace {
// The slots of block, or null for a null block (the operation reports it).
char** slotPointers(char* block, char** pointers) {
  if (!block) return nullptr;
  for (int i = 0; i < GLOBAL_MAX_INDEX_DIM; ++i) pointers[i] = block + i * TRV_SSSIZE;
  return pointers;
}
}  // namespace

extern "C" int n__tvbgetdomain(tvbHandle* ptvb, tvbSymbol* sym, int dim, tvbSymbol** domains, char* domainNames) {
  char* names[GLOBAL_MAX_INDEX_DIM];
  return tvbGetDomain(ptvb, sym, dim, domains, slotPointers(domainNames, names));
}

extern "C" int n__tvbgetkeys(tvbHandle* ptvb, tvbRecordHandle* rec, int dim, char* labels) {
  char* keys[GLOBAL_MAX_INDEX_DIM];
  return tvbGetKeys(ptvb, rec, dim, slotPointers(labels, keys));
}
