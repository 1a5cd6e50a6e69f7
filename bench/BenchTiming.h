// Timing for the benchmarks: milliseconds of the performance counter, and the median of a set
// of measurements.
#pragma once

#include <vector>

// Milliseconds since an arbitrary start, from the performance counter.
double NowMs();

// The median of the values (the mean of the middle two for an even count); 0 for none.
double Median(std::vector<double> values);
