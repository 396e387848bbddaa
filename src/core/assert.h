// Fatal assertions for contract violations (a null handle, a null pointer the contract requires): they are no
// reported failure but end the process, naming the condition and the source.
#pragma once

namespace tvb {

// Prints "Assertion failed: <condition>, file <source>" to standard error and aborts.
[[noreturn]] void assertionFailed(const char* condition, const char* source);

}  // namespace tvb

// Contract checks of the core; the condition's text names the violated contract.
#define TVB_ASSERT(condition) ((condition) ? (void)0 : ::tvb::assertionFailed(#condition, "tvbcoorg"))
