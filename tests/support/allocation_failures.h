// Allocation-failure seam for tests: the test programs replace the global operator new, so every allocation
// of the process, the library's included, can be made to fail. Arm it around one call of the library:
//
//   tvbtest::failAllocationAfter(n);   // allocation number n from now (0-based) throws std::bad_alloc
//   int rc = c__tvbaddsymbol(...);
//   tvbtest::stopFailing();
//
// liveAllocations() counts blocks not yet released, so a test can check that a failed call leaked nothing.
#pragma once

namespace tvbtest {

void failAllocationAfter(long n);
void stopFailing();
bool injectedFailure();  // true when an armed failure was thrown since the last failAllocationAfter()
long liveAllocations();

}  // namespace tvbtest
