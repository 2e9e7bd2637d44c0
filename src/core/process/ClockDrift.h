#pragma once

// Clock drift correction: a logger whose clock ran ahead recorded too many
// samples for the real time, one whose clock ran late too few. The drift is
// spread evenly over the channel: at f times the density (expanded), one
// sample is cut or repeated every K samples, then the channel is reduced
// again, so each single correction is 1/f of a sample.

#include <cstdint>

#include "core/process/Resampling.h"

namespace vk {


struct ClockDrift {
    int32_t hours = 0, minutes = 0, seconds = 0;
    bool clockAhead = true;  // else the clock was back
};

// Corrects the drift of `slot`, after the question how much is cut or
// inserted how often. One undo step.
CommandResult CorrectClockDrift(ViewContext& cx, int slot, const ClockDrift& drift, const StepProgress& progress);

}  // namespace vk
