// Every message text of the run-time loader, in one place, exactly as callers and stub output show them.
// Formats take printf arguments.
#pragma once

namespace tvb::loaders::msg {

// A failed load. The platform's own reason (dlerror) follows the colon.
inline constexpr const char* kCouldNotLoadLibrary = "Could not load shared library %s: %s";
inline constexpr const char* kCouldNotLoadSymbol = "Could not load symbol '%s': %s";

// The library's create entry yielded no object.
inline constexpr const char* kCreateFailed = "Error while creating object";

// A stub called: the operation's name, then the reason that the library's check entry gives.
inline constexpr const char* kCouldNotBeLoaded = "%s could not be loaded: ";

}  // namespace tvb::loaders::msg
