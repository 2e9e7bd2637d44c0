#pragma once

// The shape tests of a dive framed by F4..F5 (D = F5 - F4 points, M its
// maximum depth): Y (a narrow deep peak over a dominant shallower depth),
// V or U, W (two bottom troughs), L (a sloping bottom) and parabola, and the
// manual reclassification by the shape buttons.

#include <cstdint>

#include "core/dive/DiveFrame.h"
#include "core/setup/DiveParameters.h"
#include "core/setup/DiveState.h"
#include "core/store/ChannelSeries.h"

namespace vk {

class VkDialogs;

struct YResult {
    bool isY = false;
    double modalDepth = 0;   // M unless one depth class dominates
    int32_t modalCount = 0;  // samples in the modal class
};
YResult TestY(const ChannelSeries& depth, int32_t f4, int32_t f5, double maxDepth, const DiveParameters& p);

// U (true) or V (false).
bool TestU(const ChannelSeries& depth, int32_t f4, int32_t f5, double maxDepth, double relBottSurf);

// W test on the bottom F8..F9 and, for a U, the L test; returns the new code.
// Smooths the dive in a workshop of the channel's slot.
int32_t TestWL(Recording& rec, const ChannelSeries& depth, const DiveFrame& f, int32_t code, const DiveParameters& p,
               VkDialogs& ui);

bool TestParabola(const ChannelSeries& depth, int32_t f4, int32_t f5, double maxDepth, double height);


// A shape button pressed (tag 0..6, -1 released) for the dive in `state`:
// with the cursor-follow flag the B-cursors follow a change to or from V,
// and a change between U/L and no category teaches `NoCategoryGradient`.
void PressShapeButton(int32_t tag, DiveState& state, DiveFrame& f, DiveParameters& parameters);

}  // namespace vk
