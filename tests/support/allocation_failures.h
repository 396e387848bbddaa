// Allocation-failure seam for tests: the test programs replace the global operator new, so every allocation
// of the process, the library's included, can be made to fail. Arm it around one call of the library:
//
//   tvbtest::failAllocationAfter(n);   // allocation number n from now (0-based) throws std::bad_alloc
//   int rc = c__tvbaddsymbol(...);
//   tvbtest::stopFailing();
//
// liveAllocations() counts blocks not yet released, so a test can check that a failed call leaked nothing.
#pragma once

#include <functional>

namespace tvbtest {

void failAllocationAfter(long n);
void stopFailing();
bool injectedFailure();  // true when an armed failure was thrown since the last failAllocationAfter()
long liveAllocations();

// Runs attempt(n) for n = 0, 1, 2, ...: the attempt arms the seam with failAllocationAfter(n) just before the
// call under test and returns that call's result. No attempt may leak; the first one in which no allocation
// failed must succeed (result 1) and ends the loop. Returns its n.
long failEachAllocation(const std::function<int(long n)>& attempt);

}  // namespace tvbtest
