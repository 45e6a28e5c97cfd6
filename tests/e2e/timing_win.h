#pragma once
// Wall-clock timing for the benchmarks of the real program, in milliseconds.
// (<chrono> cannot be compiled to GBK: it holds a micro sign.)
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace quenstrel::e2e {

inline double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The median of `runs` timings of `measured`, each after an untimed `reset`.
inline double TimeMedian(int runs, const std::function<void()>& reset,
                         const std::function<void()>& measured) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    reset();
    const double start = Now();
    measured();
    times.push_back(Now() - start);
  }
  return Median(times);
}

}  // namespace quenstrel::e2e
