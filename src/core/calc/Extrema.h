#pragma once

// Alternating maxima and minima of a channel, found with a hysteresis: a
// maximum counts once the values have fallen h below it, a minimum once they
// have risen h above it. Frequency tags, wiggles, bouts and the envelope use it.

#include <cstdint>
#include <functional>
#include <vector>

namespace vk {

struct Extremum {
    int32_t index = 0;
    double value = 0;
    double peakToPeak = 0;  // value - the previous extremum's value
    double frequency = 0;   // of a maximum between two minima: 1 / their distance in s
    double integral = 0;    // of that maximum: sum of value x interval over the two minima's stretch, value x s
    int32_t type = 0;       // 1 maximum, -1 minimum
};

using ValueAt = std::function<double(int32_t)>;

// The next extremum after `from` up to `to` with hysteresis h; type 0 when the
// stretch ends first. On a plateau the extremum sits in its middle.
Extremum NextExtremum(const ValueAt& value, int32_t from, int32_t to, double h);

// All extrema from p to q, with peak-to-peak values, integrals and frequencies.
std::vector<Extremum> FindExtrema(const ValueAt& value, int32_t p, int32_t q, double h, double intervalMs);

}  // namespace vk
