#pragma once

#include <vector>

namespace vk {

// The median by a histogram of 256 classes between the values' extremes.
double HistogramMedian(const std::vector<double>& values);

}  // namespace vk
