#pragma once

// Runs of raw words to values and back, for the engines that touch every
// sample of a channel: the same results as ReadPhysOf and RoundRaw, sample
// for sample, two samples at a time where the processor allows.

#include <cstdint>

namespace vk {

// y[i] = raw[i] * gain + low - offset, as ReadPhysOf computes it.
void ValuesOfRaw(const uint16_t* raw, int32_t n, double gain, double low, double offset, double* y);

// raw[i] = RoundRaw(raw[i] + (first + i * direction) * step): a ramp along
// the run (direction +1 or -1). False when a word had to be clamped.
bool AddRampToRaw(uint16_t* raw, int32_t n, double first, double direction, double step);

// The raw words of values: out[i] = RoundRaw(((x[i] + lift) - least) * perStep).
struct Rescale {
    double lift = 0, least = 0, perStep = 1;
};
// False when one of them had to be clamped (or was NaN).
bool RawOfValues(const double* x, int32_t n, uint16_t* out, const Rescale& to = {});

// For tests: false keeps the kernels at two lanes on any processor.
void UseWideKernels(bool on);

// Widens least .. most to the values; NaN is passed over. True when one was NaN.
bool WidenRange(const double* v, int32_t n, double& least, double& most);

}  // namespace vk
