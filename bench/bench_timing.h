// Timing helpers shared by the benchmarks: wall-clock seconds of a piece of work, the best of several runs
// (the machine may be busy), and a sink that keeps the compiler from dropping the reads being timed.
#pragma once

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

// For workloads that leave their data unchanged, so that they can run again.
inline double bestSeconds(const std::function<void()>& work, int runs = 3) {
  double best = seconds(work);
  for (int i = 1; i < runs; ++i) best = std::min(best, seconds(work));
  return best;
}

}  // namespace bench
