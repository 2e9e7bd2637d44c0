#pragma once

// "Alter": a click with the box checked gives the sample nearest to the click
// the clicked value.

#include "core/view/Command.h"

namespace vk {

// The sample at round(t / interval) of `slot` takes value v (stored through
// the calibration, clamped to the raw range with the range-excess hint), as
// one undo step. A click beside the channel's own samples changes nothing.
CommandResult AlterSample(ViewContext& cx, int slot, double t, double v);

}  // namespace vk
