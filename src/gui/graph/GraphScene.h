#pragma once

// Everything a picture of the graph window is drawn from. The drawing routines
// take a painter, a size and a scene; no widget is needed, so pictures,
// thumbnails and dive images look exactly like the screen.

#include <array>

#include "core/process/Compensation.h"
#include "core/setup/DiveState.h"
#include "core/setup/SectionBuffers.h"
#include "core/setup/Settings.h"
#include "core/store/Recording.h"
#include "core/view/Envelope.h"
#include "core/view/RunMeanOverlay.h"
#include "core/view/ViewState.h"

namespace vk {

// A straight line over a strip from (t0, y0) to (t1, y1), ms and values: the
// regression line while the statistics are open.
struct SceneLine {
    int slot = 0;
    double t0 = 0, y0 = 0, t1 = 0, y1 = 0;
};

struct ClickTools;

struct GraphScene {
    const Recording& rec;
    const Settings& settings;
    const ViewState& view;
    const std::array<Envelope, SlotCount>* envelopes = nullptr;  // nullptr: draw from every sample
    CaptionPlace caption = CaptionPlace::Top;
    const DiveState* dive = nullptr;                    // the current dive's wiggles and stops, marked in the strips
    std::array<RunMeanOverlay, SlotCount>* runMeans = nullptr;  // the running-mean overlays, worked out when drawn
    const PreviewCurve* preview = nullptr;              // the compensation's curve while its question is open
    const SectionBuffers* sections = nullptr;           // a stored section previewed from F4
    const SceneLine* regression = nullptr;              // the statistics' regression line
    ClickTools* tools = nullptr;                        // frequency tags, spline nodes and their curve

    const Envelope* envelope(int slot) const
    {
        return envelopes ? &(*envelopes)[static_cast<std::size_t>(slot)] : nullptr;
    }
};

}  // namespace vk
