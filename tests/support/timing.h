#pragma once
// The clock of every wait and measurement, and the summary of a set of times.
#include <vector>

// Milliseconds of QueryPerformanceCounter since an arbitrary start.
double nowMs();

struct Spread {
  int count = 0;
  double min = 0;
  double median = 0;
  double p99 = 0;
  double max = 0;
};

// Nearest-rank percentiles of the samples.
Spread spreadOf(std::vector<double> samples);
