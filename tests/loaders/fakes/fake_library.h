// The parts that every fake library shares: the check entry's answer from a table of rows, the version
// entry's answer, object creation, and the body of every generated operation (records the call).
#pragma once

#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

#include "fakes/fake_state.h"

#define FAKE_UNPAREN(...) __VA_ARGS__

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
  auto answer = [&](int result, const char* format) {
    if (msg != nullptr) std::snprintf(msg, 256, format, library, name);
    return result;
  };
  if (std::strcmp(name, state.refused) == 0) return answer(0, "fake %s: %s is not in this build");
  for (const Row& row : rows) {
    if (std::strcmp(row.name, name) != 0) continue;
    if (static_cast<size_t>(argCount) + 1 != row.signature.size())
      return answer(0, "fake %s: %s has wrong number of arguments.");
    for (int i = 0; i <= argCount; ++i) {
      if (signature[i] != row.signature[i]) return answer(0, "fake %s: %s has wrong argument types.");
    }
    return answer(1, "");
  }
  return answer(0, "fake %s: %s cannot be found in library.");
}

// Accepts exactly the version that the glue is meant to send, so that a successful load proves it.
inline int AnswerVersion(FakeState& state, const char* library, int expected, bool refuseAll, int api, char* msg,
                         int* compatibility) {
  ++state.versionCalls;
  if (void (*hook)() = state.duringVersionCall) {
    state.duringVersionCall = nullptr;
    hook();
  }
  if (compatibility != nullptr) *compatibility = 0;
  if (refuseAll || api != expected) {
    if (msg != nullptr) std::snprintf(msg, 256, "fake %s: API version %d refused", library, api);
    return 0;
  }
  if (compatibility != nullptr) *compatibility = 1;
  if (msg != nullptr) std::snprintf(msg, 256, "fake %s: API version %d accepted", library, api);
  return 1;
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

// The body of every operation: remembers what was called with which object; succeeds.
template <class R>
R Record(FakeState& state, const char* name, void* object) {
  std::snprintf(state.lastCall, sizeof state.lastCall, "%s", name);
  state.lastObject = object;
  if constexpr (std::is_same_v<R, int>) {
    return 1;
  } else if constexpr (!std::is_void_v<R>) {
    return R{};
  }
}

}  // namespace fake
