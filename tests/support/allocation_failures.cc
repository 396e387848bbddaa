#include "support/allocation_failures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> countdown{-1};  // -1: disarmed
std::atomic<bool> injected{false};
std::atomic<long> live{0};

void* allocate(std::size_t size) {
  long n = countdown.load(std::memory_order_relaxed);
  if (n >= 0) {
    if (n == 0) {
      countdown.store(-1, std::memory_order_relaxed);
      injected.store(true, std::memory_order_relaxed);
      throw std::bad_alloc();
    }
    countdown.store(n - 1, std::memory_order_relaxed);
  }
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  live.fetch_add(1, std::memory_order_relaxed);
  return p;
}

void release(void* p) noexcept {
  if (!p) return;
  live.fetch_sub(1, std::memory_order_relaxed);
  std::free(p);
}

}  // namespace

namespace tvbtest {

void failAllocationAfter(long n) {
  injected.store(false);
  countdown.store(n);
}
void stopFailing() { countdown.store(-1); }
bool injectedFailure() { return injected.load(); }
long liveAllocations() { return live.load(); }

long failEachAllocation(const std::function<int(long n)>& attempt) {
  for (long n = 0; n < 10000; ++n) {
    const long before = liveAllocations();
    const int rc = attempt(n);
    stopFailing();
    EXPECT_EQ(before, liveAllocations()) << "leaked with allocation " << n << " failing";
    if (!injectedFailure()) {
      EXPECT_EQ(1, rc) << "no allocation failed from " << n << " on";
      return n;
    }
  }
  ADD_FAILURE() << "never succeeded";
  return -1;
}

}  // namespace tvbtest

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
