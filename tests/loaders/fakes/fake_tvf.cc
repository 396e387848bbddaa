// A stand-in for libtvfdclib.so, generated from the TVF operation table as the real library is. Built in
// variants, each into a directory of its own: FAKE_REFUSED names an operation that the check entry refuses,
// FAKE_REFUSE_API makes the version entry refuse every client; a linker script may withhold an entry.
// FAKE_ENTRY_NAMES builds one whose entries are spelled in other letter cases instead, for the loader's three
// tries (lower case, as written, upper case): the mandatory entries exist only in upper case; of the operations
// it has tvfClose only in upper case, tvfErrorCount in all three spellings, tvfGetLastError as written and in
// upper case; each spelling answers with its own number (1 lower, 2 as written, 3 upper).
#include "fakes/fake_library.h"
#include "platform/tvf/tvf.h"

#ifndef FAKE_REFUSE_API
#define FAKE_REFUSE_API 0
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

#ifndef FAKE_ENTRY_NAMES
int XCreate(tvfHandle_t* pt) { return fake::Create(state, pt); }
int XFree(tvfHandle_t* pt) { return fake::Free(state, pt); }
int CXCheck(const char* name, int nargs, const int* sig, char* msg) {
  return fake::AnswerCheck(state, "tvfdclib", kRows, name, nargs, sig, msg);
}
int CXAPIVersion(int api, char* msg, int* compatibility) {
  return fake::AnswerVersion(state, "tvfdclib", TVF_API_VERSION, FAKE_REFUSE_API, api, msg, compatibility);
}
int CtvfSetLoadPath(const char* dir) { return std::snprintf(state.loadPath, sizeof state.loadPath, "%s", dir) >= 0; }
int CtvfGetLoadPath(char* dir) { return std::snprintf(dir, 256, "%s", state.loadPath) >= 0; }

#define TVF_OP(name, lookup, result, parameters, ...) \
  result lookup parameters { return fake::Answer<result>(); }
#include "platform/tvf/tvf_operations.h"
#undef TVF_OP

#else
int XCREATE(tvfHandle_t* pt) { return fake::Create(state, pt); }
int XFREE(tvfHandle_t* pt) { return fake::Free(state, pt); }
int CXCHECK(const char* name, int nargs, const int* sig, char* msg) {
  const bool has =
      !std::strcmp(name, "tvfClose") || !std::strcmp(name, "tvfErrorCount") || !std::strcmp(name, "tvfGetLastError");
  std::snprintf(state.refused, sizeof state.refused, "%s", has ? "" : name);  // the others: not in this build
  return fake::AnswerCheck(state, "tvfdclib", kRows, name, nargs, sig, msg);
}
int CXAPIVERSION(int api, char* msg, int* compatibility) {
  return fake::AnswerVersion(state, "tvfdclib", TVF_API_VERSION, false, api, msg, compatibility);
}
int TVFCLOSE(tvfHandle_t) { return 3; }
int tvferrorcount(tvfHandle_t) { return 1; }
int tvfErrorCount(tvfHandle_t) { return 2; }
int TVFERRORCOUNT(tvfHandle_t) { return 3; }
int tvfGetLastError(tvfHandle_t) { return 2; }
int TVFGETLASTERROR(tvfHandle_t) { return 3; }
#endif

}  // extern "C"
