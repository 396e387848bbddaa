// Timing helpers shared by the benchmarks: wall-clock or processor seconds of a piece of work, the best of
// several runs (the machine may be busy), and a sink that keeps the compiler from dropping the reads being timed.
#pragma once

#include <time.h>

#include <algorithm>
#include <chrono>
#include <functional>

namespace bench {

inline volatile double sink;

inline double seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The calling thread's processor time: short pieces of work on a busy machine are disturbed less than on the
// wall clock.
inline double cpuSeconds(const std::function<void()>& work) {
  timespec start, end;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
  work();
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
  return double(end.tv_sec - start.tv_sec) + 1e-9 * double(end.tv_nsec - start.tv_nsec);
}

// For workloads that leave their data unchanged, so that they can run again.
inline double bestSeconds(const std::function<void()>& work, int runs = 3) {
  double best = seconds(work);
  for (int i = 1; i < runs; ++i) best = std::min(best, seconds(work));
  return best;
}

}  // namespace bench
