#pragma once

// The greatest and least of every window of `width` values along a run, in a
// few passes whatever the width (blocks of `width` with their running bounds
// from either end: a window spans at most two blocks).

#include <cstdint>
#include <vector>

namespace vk {

struct WindowRanges {
    std::vector<double> most, least;  // of y[k] .. y[k + width - 1], k = 0 .. count - 1
    std::vector<double> mostFromStart, leastFromStart, mostToEnd, leastToEnd;  // the blocks' running bounds
};

// y holds count + width - 1 values. A NaN may make a window's bounds NaN.
void SlidingRange(const double* y, int32_t count, int32_t width, WindowRanges& out);

}  // namespace vk
