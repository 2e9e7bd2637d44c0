#pragma once

// Dive stops taken and moved by the mouse in the analysis channel's strip.

#include "core/setup/DiveRecord.h"

namespace vk {

// A dive stop taken by a press in the analysis channel's strip.
struct StopGrab {
    enum Part { None, Whole, Onset, End } part = None;
    int phase = 0, stop = 0;
};

// A press at (x, y) of a strip of `width` x `height` showing f1..f2, whose
// nearest line lies `lineDistance` pixels away. Only between a fifth and a
// third of the height: a stop whose onset and end columns lie less than 7
// pixels from the press together is taken whole; otherwise its nearer edge,
// when nearer than the line and than a thirtieth of the window's width.
StopGrab PressOnStops(const StopTable& stops, double f1, double f2, int width, int height, int x, int y,
                      int lineDistance);

// The release at time t of a drag that took a stop: an edge goes there, a
// whole stop is divided; then reversed stops go and overlapping ones merge.
void ReleaseOnStops(StopTable& stops, const StopGrab& grab, double t);

}  // namespace vk
