#pragma once

// The dive search: from the end of the current dive, the next dive in the
// analysis channel. It frames the dive with the cursors (F4 onset, F5 end,
// F8/F9 bottom), decides its shape, places the window around it and tells
// whether it lasts long enough to count.

#include <algorithm>

#include "core/dive/DiveAnalysis.h"
#include "core/dive/DiveFrame.h"
#include "core/setup/DiveParameters.h"
#include "core/setup/DiveState.h"
#include "core/store/Recording.h"
#include "core/store/UndoSink.h"
#include "core/view/ViewState.h"

namespace vk {

class VkDialogs;

// What the engines work on; the parameters come separately, as a copy.
struct DiveContext {
    Recording& rec;
    ViewState& view;
    DiveState& state;
    VkDialogs& ui;
    UndoSink& undo;  // the baseline shift after a dive records a step here
    AnalysisSetup setup;
};

struct SearchOutcome {
    double maxDepth = 0;
    bool accepted = false;     // longer than MinDiveDuration
    bool endOfData = false;    // no further dive
    bool windowMoved = false;  // the window borders were placed anew
    bool refused = false;      // " Illegal parameter ^S-R": nothing moved
    bool baselineShifted = false;
};

// Where the framing half of an attempt left the dive: enough for the
// shaping half to go on, on another copy of the recording.
struct DiveFraming {
    bool framed = false;    // a dive was framed (none at the end of the data, nor when passed over)
    int32_t stretchAt = 0;  // an index of the stretch without missing values the dive lies in
    DiveFrame f;            // onset, end and window; the bottom not yet placed
    double max = 0;         // the deepest point the end search met, and where
    int32_t maxIndex = 0;
};

// One attempt from F5 on, in two halves. The framing half finds the onset
// and the end, levels the surface baseline after the dive and places the
// window: it moves the baseline and needs the attempt before it. The shaping
// half places the bottom, decides the shape and puts the frame into the
// cursors: it reads the channel as the framing half left it, and nothing
// else of the attempts before.
SearchOutcome FrameNextDive(DiveContext& cx, const DiveParameters& p, DiveFraming& framing);
void ShapeFramedDive(DiveContext& cx, const DiveParameters& p, const DiveFraming& framing);
SearchOutcome SearchNextDive(DiveContext& cx, const DiveParameters& p);
// Attempts until a dive is accepted or the data end; shorter dives are passed over.
SearchOutcome SearchDives(DiveContext& cx, const DiveParameters& p);

// The wiggles of the framed dive by the chosen method (none: an empty table);
// over the whole dive when they define its bottom.
void FindWiggles(DiveContext& cx, const DiveParameters& p);
// The depth range shown becomes -m/20 .. m + m/20 for the maximum depth m.
void FitDepthRange(ChannelDescriptor& d, double maxDepth);

// Wiggles and dive stops of the framed dive. The search has found the
// wiggles already where they define the bottom (`searched`).
void WigglesAndStops(DiveContext& cx, const DiveParameters& p, bool searched);

// "Search next" without its window work: with EndDiveValid the dive left
// counts as the previous one; the search loop; then wiggles (unless the
// bottom is wiggle defined), dive stops and the vertical fit.
SearchOutcome SearchNext(DiveContext& cx, const DiveParameters& p);

// The share of the stretch start..end a run over it has done once a dive ends at `at` (ms).
inline double StretchDone(double start, double end, double at)
{
    return end > start ? std::clamp((at - start) / (end - start), 0.0, 1.0) : 1.0;
}

// Q, A, W, the automatic analysis and bouts may run: the active channel is the
// analysis channel and it holds values. The user is told otherwise.
bool AnalysisChannelReady(const Recording& rec, int active, VkDialogs& ui);
// Every sample of the dive F4..F5 has a value; the user is told otherwise.
bool FrameHasValues(const Recording& rec, const LinePositions& at, VkDialogs& ui);

// "Analyse" without its window work: the dive as the cursors frame it. Warns
// "Bottom Cursor F8 F9 outside dive!" and goes on. False without data, and
// for a frame holding samples without a value.
bool AnalyseFramedDive(DiveContext& cx, const DiveParameters& p);

}  // namespace vk
