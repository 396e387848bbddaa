// The library's answer to a client's interface version and signature check: a pure function of its
// arguments and of the operation table, callable before any database exists and from any thread.
#pragma once

#include "tvbcclib.h"

namespace tvb {

inline constexpr int kApiVersion = TVB_API_VERSION;

// Accepts client version api >= 2: compatibility 1 (same) or 3 (newer client); refuses older ones.
int answerApiVersion(int api, char* msg, int* compatibility);

// 1 when the library has operation name (exact case) with nargs arguments and signature sig[0..nargs].
int answerCheck(const char* name, int nargs, const int* sig, char* msg);

// Number of operations in the check table.
int checkTableSize();

}  // namespace tvb
