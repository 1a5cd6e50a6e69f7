#include "bench/BenchTiming.h"

#include <windows.h>

#include <algorithm>

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    return double(freq.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return double(now.QuadPart) / ticksPerMs;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
