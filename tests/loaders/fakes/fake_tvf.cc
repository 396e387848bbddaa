// A stand-in for libtvfdclib.so, generated from the TVF operation table as the real library is. Built in
// variants, each into a directory of its own: FAKE_REFUSED names an operation that the check entry refuses,
// FAKE_REFUSE_API makes the version entry refuse every client; a linker script may withhold an entry.
#include "fakes/fake_library.h"
#include "platform/tvf/tvf.h"

#ifndef FAKE_REFUSED
#define FAKE_REFUSED ""
#endif
#ifdef FAKE_REFUSE_API
constexpr bool kRefuseApi = true;
#else
constexpr bool kRefuseApi = false;
#endif

namespace {

FakeState state = {.refused = FAKE_REFUSED};

const fake::Row kRows[] = {
#define TVF_OP(name, lookup, result, parameters, arguments, signature) {#name, {FAKE_UNPAREN signature}},
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP
};

}  // namespace

extern "C" {

FakeState* fakeState(const char*) { return &state; }

int XCreate(tvfHandle_t* pt) { return fake::Create(state, pt); }
int XFree(tvfHandle_t* pt) { return fake::Free(state, pt); }

int CXCheck(const char* name, int nargs, const int* sig, char* msg) {
  return fake::AnswerCheck(state, "tvfdclib", kRows, name, nargs, sig, msg);
}

int CXAPIVersion(int api, char* msg, int* compatibility) {
  return fake::AnswerVersion(state, "tvfdclib", TVF_API_VERSION, kRefuseApi, api, msg, compatibility);
}

int CtvfSetLoadPath(const char* dir) {
  std::snprintf(state.loadPath, sizeof state.loadPath, "%s", dir);
  return 1;
}

int CtvfGetLoadPath(char* dir) {
  std::snprintf(dir, 256, "%s", state.loadPath);
  return 1;
}

#define TVF_OP(name, lookup, result, parameters, arguments, signature) \
  result lookup parameters { return fake::Record<result>(state, #name, pt); }
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP

}  // extern "C"
