#include "tools/bench/spread.h"

#include <algorithm>
#include <cmath>

namespace {
double rank(const std::vector<double>& sorted, double share) {
  std::size_t index = static_cast<std::size_t>(std::ceil(share * static_cast<double>(sorted.size())));
  if (index > 0) --index;
  return sorted[std::min(index, sorted.size() - 1)];
}
}  // namespace

Spread spreadOf(std::vector<double> samples) {
  Spread spread;
  if (samples.empty()) return spread;
  std::sort(samples.begin(), samples.end());
  spread.count = static_cast<int>(samples.size());
  spread.min = samples.front();
  spread.median = rank(samples, 0.5);
  spread.p99 = rank(samples, 0.99);
  spread.max = samples.back();
  return spread;
}
