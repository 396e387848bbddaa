// The parts that every fake library shares: what it records and the switches that a test turns (each fake
// exports fakeState(prefix), the state of its library with that prefix: "tvf", "tvp", "tvh", "dct", "cfg"), the
// check entry's answer from a table of rows, the version entry's answer, object creation, and the body of every
// generated operation.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

#define FAKE_UNPAREN(...) __VA_ARGS__
#ifndef FAKE_REFUSED
#define FAKE_REFUSED ""  // the variant's operation that the check entries refuse
#endif

struct FakeState {
  int versionCalls = 0;                   // calls of the version entry
  int checkCalls = 0;                     // calls of the check entry
  int createCalls = 0;                    // calls of the create entry
  int freeCalls = 0;                      // calls of the free entry
  int createYieldsNothing = 0;            // switch: the create entry writes no object
  char refused[64] = "";                  // switch: the operation that the check entry refuses ("" for none)
  char loadPath[256] = "";                // the directory told through CtvfSetLoadPath
  void (*duringVersionCall)() = nullptr;  // switch: run once inside the next call of the version entry
};

extern "C" FakeState* fakeState(const char* prefix);

namespace fake {

struct Row {
  const char* name;
  std::vector<int> signature;
};

// Answers as a real library's check entry does, with reasons that name this fake.
template <size_t N>
int AnswerCheck(FakeState& state, const char* library, const Row (&rows)[N], const char* name, int argCount,
                const int* signature, char* msg) {
  ++state.checkCalls;
  const Row* row = nullptr;
  for (const Row& r : rows) row = std::strcmp(r.name, name) == 0 ? &r : row;
  const char* reason = "";
  if (std::strcmp(name, state.refused) == 0) {
    reason = "fake %s: %s is not in this build";
  } else if (row == nullptr) {
    reason = "fake %s: %s cannot be found in library.";
  } else if (static_cast<size_t>(argCount) + 1 != row->signature.size()) {
    reason = "fake %s: %s has wrong number of arguments.";
  } else if (!std::equal(row->signature.begin(), row->signature.end(), signature)) {
    reason = "fake %s: %s has wrong argument types.";
  }
  if (msg != nullptr) std::snprintf(msg, 256, reason, library, name);
  return reason[0] == '\0';
}

// Accepts exactly the version that the glue is meant to send, so that a successful load proves it.
inline int AnswerVersion(FakeState& state, const char* library, int expected, bool refuseAll, int api, char* msg,
                         int* compatibility) {
  ++state.versionCalls;
  if (void (*hook)() = state.duringVersionCall) {
    state.duringVersionCall = nullptr;
    hook();
  }
  const bool accepted = !refuseAll && api == expected;
  if (compatibility != nullptr) *compatibility = accepted;
  const char* answer = accepted ? "accepted" : "refused";
  if (msg != nullptr) std::snprintf(msg, 256, "fake %s: API version %d %s", library, api, answer);
  return accepted;
}

struct Object {
  int serial;
};

template <class Handle>
int Create(FakeState& state, Handle* pt) {
  ++state.createCalls;
  *pt = state.createYieldsNothing ? nullptr : reinterpret_cast<Handle>(new Object{state.createCalls});
  return *pt != nullptr;
}

template <class Handle>
int Free(FakeState& state, Handle* pt) {
  ++state.freeCalls;
  delete reinterpret_cast<Object*>(*pt);
  *pt = nullptr;
  return 1;
}

// The body of every operation: succeeds.
template <class R>
R Answer() {
  if constexpr (std::is_same_v<R, int>) return 1;
  if constexpr (!std::is_same_v<R, int>) return R();
}

}  // namespace fake
