#pragma once

// The bottom phase of a dive: where the descent ends (F8) and the ascent
// begins (F9), by the bottom kind of the parameter set.

#include <cstdint>
#include <vector>

#include "core/dive/DiveFrame.h"
#include "core/setup/DiveParameters.h"
#include "core/setup/DiveRecord.h"
#include "core/store/ChannelSeries.h"

namespace vk {

// "Fix Bottom": the first and last samples at least thrBott x M deep, the
// cursor times interpolated where the depth crosses that level.
void FixedBottom(const ChannelSeries& depth, DiveFrame& f, double maxDepth, double thrBott);

// "Normal": where the descent and the ascent gradients fall below a limit,
// refined to the sharpest knee nearby.
void GradientBottom(const ChannelSeries& depth, DiveFrame& f, const DiveFigures& fig, const DiveParameters& p);

// "As 'Tamrin'": where a depth step falls well below the mean step since the dive's end points.
void TamrinBottom(const ChannelSeries& depth, DiveFrame& f, double slopBoB);

// "Wiggle defined": the first wiggle deeper than M x WiggDefPercent / 100 and
// the last at least as deep. False when no wiggle is that deep.
bool WiggleBottom(const std::vector<WiggleEntry>& wiggles, DiveFrame& f, double maxDepth, double percent);

}  // namespace vk
