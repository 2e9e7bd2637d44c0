#pragma once

// The new words of "Double points": between two neighbouring words, their
// midpoint bent towards the curvature of the words on either side.

#include <cstdint>

namespace vk {

// d / 2 rounded, ties to even, in whole numbers: an odd d is a tie.
template <typename Int>
inline Int HalfToEven(Int d)
{
    return (d >> 1) + ((d & 1) & ((d >> 1) & 1));
}

// The new word between y1 and y2, from y0 .. y3: the midpoint moved towards
// the curvature of the neighbours, by at most half the step between y1 and y2.
int32_t BentMiddle(int32_t y0, int32_t y1, int32_t y2, int32_t y3);

// For k < count: out[2k] the bent middle between y[k + 1] and y[k + 2], from
// y[k] .. y[k + 3], and out[2k + 1] = y[k + 2]. Equal to BentMiddle word for word.
void BentPairs(const uint16_t* y, int64_t count, uint16_t* out);

}  // namespace vk
