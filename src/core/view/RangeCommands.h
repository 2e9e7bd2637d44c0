#pragma once

// The value range a strip shows (y-zoom) and the baseline offset of a channel.

#include <cstdint>

#include "core/store/Recording.h"
#include "core/store/UndoSink.h"
#include "core/view/ViewState.h"

namespace vk {

class VkDialogs;

// e = (y-max - y-min) / 8; y-min -= e a, y-max -= e b; a shift of a channel
// drawn downwards goes the other way, so the curve moves the same way on screen.
void RangeStep(ChannelDescriptor& d, int a, int b);

// A click at row y of a y scale of height h moves the range by the click's
// distance from the middle, as a share of the range.
void YScaleClick(ChannelDescriptor& d, int y, int height);
// Ctrl+wheel: the range times `factor`, the value at row y of a strip of the
// given height staying at that row.
void ZoomRangeAround(ChannelDescriptor& d, int y, int height, double factor);

// "&Numerical ..." of y-Zoom: the displayed y-minimum and y-maximum asked for.
// True when a new range was stored.
bool AskRange(ChannelDescriptor& d, VkDialogs& ui);

enum class BaselineCommand { MeanF4F5, MeanF4plusF5, AtF4, AtF5, Numerical, Increment, Decrement };

// Runs a baseline command on the active channel: refused while its polynomial
// is on. Records the undo step first. Returns the redraw request (0: nothing changed).
uint32_t Baseline(BaselineCommand command, Recording& rec, const ViewState& view, VkDialogs& ui, UndoSink& undo);

}  // namespace vk
