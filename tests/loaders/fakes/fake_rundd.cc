// A stand-in for librunddclib.so: the model-instance, environment, dictionary and configuration libraries,
// generated from their operation tables as the real library is. FAKE_REFUSED names an operation that the
// check entries refuse. Each library accepts exactly the API version that the loader is meant to send.
#include "fakes/fake_library.h"
#include "platform/rundd/rundd_handles.h"

namespace {

FakeState tvpState = {.refused = FAKE_REFUSED};
FakeState tvhState = {.refused = FAKE_REFUSED};
FakeState dctState = {.refused = FAKE_REFUSED};
FakeState cfgState = {.refused = FAKE_REFUSED};

// The operations of all four libraries (their names differ) for the four check entries.
const fake::Row kRows[] = {
#define RUNDD_OP(library, name, lookup, result, parameters, arguments, signature) {#name, {FAKE_UNPAREN signature}},
#include "fakes/rundd_operations.inc"
};

}  // namespace

extern "C" {

FakeState* fakeState(const char* prefix) {
  if (std::strcmp(prefix, "tvp") == 0) return &tvpState;
  if (std::strcmp(prefix, "tvh") == 0) return &tvhState;
  if (std::strcmp(prefix, "dct") == 0) return &dctState;
  if (std::strcmp(prefix, "cfg") == 0) return &cfgState;
  return nullptr;
}

// The mandatory entries of one library.
#define FAKE_MANDATORY_ENTRIES(prefix, api)                                                          \
  int prefix##XCreate(void** pt) { return fake::Create(prefix##State, pt); }                         \
  int C##prefix##XCreateD(void** pt, const char*) { return fake::Create(prefix##State, pt); }        \
  int prefix##XFree(void** pt) { return fake::Free(prefix##State, pt); }                             \
  int C##prefix##XCheck(const char* name, int nargs, const int* sig, char* msg) {                    \
    return fake::AnswerCheck(prefix##State, "runddclib", kRows, name, nargs, sig, msg);              \
  }                                                                                                  \
  int C##prefix##XAPIVersion(int version, char* msg, int* compatibility) {                           \
    return fake::AnswerVersion(prefix##State, "runddclib", api, false, version, msg, compatibility); \
  }

FAKE_MANDATORY_ENTRIES(tvp, 16)
FAKE_MANDATORY_ENTRIES(tvh, 6)
FAKE_MANDATORY_ENTRIES(dct, 1)
FAKE_MANDATORY_ENTRIES(cfg, 1)

#define RUNDD_OP(library, name, lookup, result, parameters, ...) \
  result lookup parameters { return fake::Answer<result>(); }
#include "fakes/rundd_operations.inc"

}  // extern "C"
