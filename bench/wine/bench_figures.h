// The figures the viewer benchmarks take of their samples.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace lumbra::bench {

// The value below which the given share of the samples lies (nearest rank:
// 0.5 gives the median, 0.95 the 95th percentile). Samples must not be
// empty.
inline double Percentile(std::vector<double> samples, double share) {
  std::sort(samples.begin(), samples.end());
  const auto rank =
      static_cast<std::size_t>(std::ceil(share * static_cast<double>(samples.size())));
  return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

inline double Median(const std::vector<double>& samples) { return Percentile(samples, 0.5); }

// The least of the samples: of times taken in turns on a busy machine, the
// one least disturbed by others.
inline double Best(const std::vector<double>& samples) {
  return *std::min_element(samples.begin(), samples.end());
}

}  // namespace lumbra::bench
