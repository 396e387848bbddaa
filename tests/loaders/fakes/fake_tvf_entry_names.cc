// A stand-in for libtvfdclib.so whose entries are spelled in other letter cases, for the loader's three tries
// (lower case, as written, upper case). The mandatory entries exist only in upper case. Of the operations it
// has three: tvfClose only in upper case, tvfErrorCount in all three spellings, tvfGetLastError as written and
// in upper case; each spelling answers with its own number (1 lower, 2 as written, 3 upper).
#include "fakes/fake_library.h"

struct tvfRec;

namespace {

FakeState state = {};

bool Has(const char* name) {
  return std::strcmp(name, "tvfClose") == 0 || std::strcmp(name, "tvfErrorCount") == 0 ||
         std::strcmp(name, "tvfGetLastError") == 0;
}

}  // namespace

extern "C" {

FakeState* fakeState(const char*) { return &state; }

int XCREATE(tvfRec** pt) { return fake::Create(state, pt); }
int XFREE(tvfRec** pt) { return fake::Free(state, pt); }

int CXCHECK(const char* name, int, const int*, char* msg) {
  ++state.checkCalls;
  std::snprintf(msg, 256, Has(name) ? "" : "fake tvfdclib: %s is not in this build", name);
  return Has(name);
}

int CXAPIVERSION(int api, char* msg, int* compatibility) {
  return fake::AnswerVersion(state, "tvfdclib", 7, false, api, msg, compatibility);
}

int TVFCLOSE(tvfRec*) { return 3; }

int tvferrorcount(tvfRec*) { return 1; }
int tvfErrorCount(tvfRec*) { return 2; }
int TVFERRORCOUNT(tvfRec*) { return 3; }

int tvfGetLastError(tvfRec*) { return 2; }
int TVFGETLASTERROR(tvfRec*) { return 3; }

}  // extern "C"
