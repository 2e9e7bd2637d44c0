#pragma once

// Smoothing and differences of plain series of values, as the workshop does
// them on a channel stretch.

#include <vector>

namespace vk {

// Centred running mean of `width` values; the window shrinks evenly at the ends.
void RunningMean(std::vector<double>& x, int width);
// x[i] := x[i + 1] - x[i]; one value fewer.
void Difference(std::vector<double>& x);

}  // namespace vk
