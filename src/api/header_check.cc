// Holds the literal prototypes of tvbcclib.h to the operation table and the fixed-entry list: every entry
// that they imply for the areas this build contains must be declared in the header with the row's result
// and parameter types. A prototype missing from the header, or written with other types, fails the build
// here. (That the header declares nothing beyond them is checked against the built library by the exports
// test.)
#include <type_traits>

#include "tvbcclib.h"
#include "tvbcclib_fixed_entries.h"

namespace {

#define TVB_DECLARED_AS(entry, result, params)                      \
  static_assert(std::is_same_v<decltype(&entry), result(*) params>, \
                #entry " is declared in tvbcclib.h as its table row says");

// The zero-terminated family, and the underscore names of operations without strings.
#define TVB_LABELS_IN const char *const *
#define TVB_LABELS_OUT char **
#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_IF_BUILT(area, TVB_DECLARED_AS(c__tvb##lower, result, params) TVB_C_UNDERSCORE_##family(lower, result, params))
#define TVB_C_UNDERSCORE_C(lower, result, params) TVB_DECLARED_AS(tvb##lower##_, result, params)
#define TVB_C_UNDERSCORE_D(lower, result, params)
#define TVB_C_UNDERSCORE_CO(lower, result, params)
#include "tvbcclib_operations.h"
#undef TVB_OP
#undef TVB_LABELS_IN
#undef TVB_LABELS_OUT

// The length-prefixed family and its underscore names.
#define TVB_LABELS_IN const char *
#define TVB_LABELS_OUT char *
#define TVB_OP(area, Name, lower, result, params, args, sig, family) \
  TVB_IF_BUILT(area, TVB_D_ENTRIES_##family(lower, result, params))
#define TVB_D_ENTRIES_D(lower, result, params) \
  TVB_DECLARED_AS(d__tvb##lower, result, params) TVB_DECLARED_AS(tvb##lower##_, result, params)
#define TVB_D_ENTRIES_C(lower, result, params)
#define TVB_D_ENTRIES_CO(lower, result, params)
#include "tvbcclib_operations.h"
#undef TVB_OP
#undef TVB_LABELS_IN
#undef TVB_LABELS_OUT

// The block family passes its slots as the length-prefixed one does.
static_assert(std::is_same_v<decltype(&n__tvbgetdomain), decltype(&d__tvbgetdomain)>);
static_assert(std::is_same_v<decltype(&n__tvbgetkeys), decltype(&d__tvbgetkeys)>);

#define TVB_FIXED_DECLARED(result, name, target, params) TVB_DECLARED_AS(name, result, params)
TVB_FIXED_ENTRIES(TVB_FIXED_DECLARED)

}  // namespace
