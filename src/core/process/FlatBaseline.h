#pragma once

// The flat baseline: one of the smoothing kernels, replacing a word only
// where the step beside it is small (below the cube of the strength) and,
// if asked, only below the dive threshold, so that the surface and the
// bottom become flat while descents and ascents stay as recorded.

#include <cstdint>

#include "core/setup/Settings.h"
#include "core/view/Command.h"

namespace vk {

inline constexpr int32_t FlatStrengthMax = 32;

// The raw step below which words are smoothed: the strength cubed.
int32_t FlatJump(int32_t strength);

// Smooths the section F4 .. F5 of `slot` with the kernel of s.FlatWaves;
// `threshold` is the dive threshold, used when s.FlatBelowThreshold is set.
CommandResult FlatBaseline(ViewContext& cx, int slot, const FlatBaselineSettings& s, double threshold, double f5,
                           double f4);

}  // namespace vk
