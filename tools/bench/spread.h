#pragma once
// The summary of a set of measured times.
#include <vector>

struct Spread {
  int count = 0;
  double min = 0;
  double median = 0;
  double p99 = 0;
  double max = 0;
};

// Nearest-rank percentiles of the samples.
Spread spreadOf(std::vector<double> samples);
