#pragma once

// The envelope ("Mantle"): the curve covered from above or below by straight
// lines between neighbouring maxima (or minima) that lie closer than a period.

#include "core/setup/FilterChoices.h"
#include "core/view/Command.h"

namespace vk {

// The envelope over F4 .. F5 of `slot`, stretch by stretch (a line never
// crosses missing values). One undo step of kind UndoKind::Spline.
CommandResult Mantle(ViewContext& cx, int slot, const MantleSetting& m, double f5, double f4);

}  // namespace vk
