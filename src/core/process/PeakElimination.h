#pragma once

// Cleaning a section of spikes: words at either end of the raw range take the
// word before them; short peaks become straight lines; values in a relation
// to a number are replaced by another number or by a line.

#include <cstdint>

#include "core/setup/FilterChoices.h"
#include "core/view/Command.h"

namespace vk {

// Every word of 0 or 65535 in F4 .. F5 takes the (new) word before it. UndoKind::Extremes.
CommandResult EliminateExtremes(ViewContext& cx, int slot, double f5, double f4);

// Peaks shorter than `length` points and higher than `amplitude` become the
// line between the words around them; after each peak the amplitude becomes
// 0.9 of that peak's height. UndoKind::Peaks.
CommandResult EliminatePeaks(ViewContext& cx, int slot, int32_t length, double amplitude, double f5, double f4);

// Values in `relation` to `threshold` become `replacement` or, interpolated,
// the line between the words around each run of them. Replacing by a number
// is refused while the channel is read through a polynomial or as
// differences. UndoKind::Replace.
CommandResult ReplaceValues(ViewContext& cx, Relation relation, bool interpolate, int slot, double f5, double f4,
                            double replacement, double threshold);

}  // namespace vk
