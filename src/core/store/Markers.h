#pragma once

// The two marker values every layer shares.

namespace vk {

// A value that could not be computed; result files write it as an empty cell.
constexpr double Missing = 1e32;
// Where running extremes start (below every value for a maximum, above for a
// minimum), and what a summary keeps when nothing contributed.
constexpr double Unreached = 1e33;

// A value was computed: neither marker, and finite.
inline bool Known(double v)
{
    return v < Missing && v > -Missing;
}

}  // namespace vk
