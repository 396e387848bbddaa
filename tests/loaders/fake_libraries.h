// Where the loader tests find the fake external libraries built beside them (one directory per variant), and
// access to what a loaded fake recorded.
#pragma once

#include <string>

#include "fakes/fake_state.h"

namespace tvb::testing {

// The directory of a fake library variant, e.g. FakeDirectory("tvf_complete"); without a trailing "/".
std::string FakeDirectory(const std::string& variant);

// The module of a fake that the process has loaded already (the loader keeps it open); null otherwise.
void* LoadedFake(const std::string& directory, const char* fileName);

// The state of library prefix in a loaded fake; fails the test (and returns null) when it is not loaded.
FakeState* StateOfLoadedFake(const std::string& directory, const char* fileName, const char* prefix);

}  // namespace tvb::testing
