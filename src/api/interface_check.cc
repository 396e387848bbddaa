#include "api/interface_check.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "api/operations.h"

namespace tvb {
namespace {

struct Operation {
  const char* name;
  int argumentCount;
  int signature[GLOBAL_MAX_INDEX_DIM];
  constexpr Operation(const char* n, std::initializer_list<int> codes) : name(n), argumentCount(-1), signature{} {
    for (int code : codes) signature[++argumentCount] = code;
  }
};

#define TVB_UNPAREN(...) __VA_ARGS__
constexpr Operation kOperations[] = {
#define TVB_OP(area, Name, lower, result, params, args, sig, family) Operation("tvb" #Name, {TVB_UNPAREN sig}),
#define TVB_LABELS_IN
#define TVB_LABELS_OUT
#include "tvbcclib_operations.h"
#undef TVB_OP
};

constexpr const char* kTooOld = "tvbcclib: The API is too old for the used library, API version: %d, library version: %d";
constexpr const char* kSameVersion = "tvbcclib: Client version and DLL version are the same.";
constexpr const char* kNewerClient = "tvbcclib: Client version is newer than this DLL.";
constexpr const char* kNotFound = "tvbcclib: %s cannot be found in library.";
constexpr const char* kWrongCount = "tvbcclib: %s has wrong number of arguments.";
constexpr const char* kWrongTypes = "tvbcclib: %s has wrong argument types.";
constexpr const char* kNothingToCheck = "tvbcclib: no operation name or signature given (NULL).";

}  // namespace

int checkTableSize() { return static_cast<int>(sizeof kOperations / sizeof kOperations[0]); }

int answerApiVersion(int api, char* msg, int* compatibility) {
  if (!msg || !compatibility) return 0;  // nowhere to answer
  *compatibility = 0;
  if (api < kApiVersion) {
    std::snprintf(msg, TRV_SSSIZE, kTooOld, api, kApiVersion);
    return 0;
  }
  *compatibility = api == kApiVersion ? 1 : 3;
  std::snprintf(msg, TRV_SSSIZE, "%s", api == kApiVersion ? kSameVersion : kNewerClient);
  return 1;
}

int answerCheck(const char* name, int nargs, const int* sig, char* msg) {
  if (!msg) return 0;  // nowhere to answer
  if (!name || !sig) {
    std::snprintf(msg, TRV_SSSIZE, "%s", kNothingToCheck);
    return 0;
  }
  const Operation* op = nullptr;
  for (const Operation& candidate : kOperations)
    if (std::strcmp(candidate.name, name) == 0) op = &candidate;
  if (!op) {
    std::snprintf(msg, TRV_SSSIZE, kNotFound, name);
    return 0;
  }
  msg[0] = '\0';
  if (nargs != op->argumentCount) {
    std::snprintf(msg, TRV_SSSIZE, kWrongCount, name);
    return 0;
  }
  for (int i = 0; i <= nargs; ++i) {
    if (sig[i] != op->signature[i]) {
      std::snprintf(msg, TRV_SSSIZE, kWrongTypes, name);
      return 0;
    }
  }
  return 1;
}

}  // namespace tvb
