// What the fake external libraries of the loader tests record, and the switches that a test turns. Each fake
// exports fakeState(prefix): the state of its library with that prefix ("tvf", "tvp", "tvh", "dct", "cfg").
#pragma once

struct FakeState {
  int versionCalls = 0;                   // calls of the version entry
  int checkCalls = 0;                     // calls of the check entry
  int createCalls = 0;                    // calls of the create entry
  int freeCalls = 0;                      // calls of the free entry
  int createYieldsNothing = 0;            // switch: the create entry writes no object
  char refused[64] = "";                  // switch: the operation that the check entry refuses ("" for none)
  char lastCall[64] = "";                 // the operation called last
  void* lastObject = nullptr;             // the library object it was called with
  char loadPath[256] = "";                // the directory told through CtvfSetLoadPath
  void (*duringVersionCall)() = nullptr;  // switch: run once inside the next call of the version entry
};

extern "C" FakeState* fakeState(const char* prefix);
