#pragma once

// The graph window's lines as sample indexes of the analysis channel, the
// form in which the dive engines move them: F1/F2 window borders, F4/F5
// onset and end, F8/F9 bottom start and end (the B-cursors), the Sh-cursors.

#include <cmath>
#include <cstdint>

#include "core/store/ChannelSeries.h"
#include "core/view/ViewState.h"

namespace vk {

struct DiveFrame {
    int32_t F1 = 0, F2 = 0, F4 = 0, F5 = 0, F8 = 0, F9 = 0, Sh1 = 0, Sh2 = 0;
    // B-cursor times between samples, where the fixed-bottom search left them.
    double t8 = NAN, t9 = NAN;
};

// index = trunc(time / interval)
DiveFrame FrameOf(const LinePositions& at, double interval);
// time = index x interval (or the interpolated B-cursor times)
void PutFrame(const DiveFrame& f, double interval, LinePositions& at);

// Places the window borders around F4..F5 in a window of w points: `share`
// of the free room before the stretch (a quarter for a dive), the rest after it.
void PlaceWindow(DiveFrame& f, int32_t w, int32_t lastIndex, double share = 0.25);

// The frame with its bottom spread over the whole dive F4..F5.
inline DiveFrame WholeDive(DiveFrame f)
{
    f.F8 = f.F4;
    f.F9 = f.F5;
    return f;
}

struct IndexSpan {
    int32_t first = 0, last = -1;  // empty when last < first
};
// The samples of the bottom phase: the first at or after the B-cursor F8, the
// last at or before F9 (the cursors may lie between samples).
IndexSpan BottomSamples(const LinePositions& at, double interval);

// The analysis channel as the framed dive reads it: the stretch around F4
// without missing values.
ChannelSeries DiveSeries(const Recording& rec, const LinePositions& at);

}  // namespace vk
