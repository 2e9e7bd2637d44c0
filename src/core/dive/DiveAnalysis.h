#pragma once

// The per-dive values of the dive the cursors frame (F4 onset, F8/F9 bottom,
// F5 end): durations, rates, depth statistics, the pause before the dive,
// bottom roughness, speed-derived values, water temperature, depth classes
// and the extended values. The cursors may have been moved by hand.

#include <cstdint>
#include <vector>

#include "core/dive/BottomPhase.h"
#include "core/dive/DiveShapes.h"
#include "core/setup/DiveParameters.h"
#include "core/setup/DiveState.h"
#include "core/store/ChannelSeries.h"
#include "core/view/ViewState.h"

namespace vk {

class VkDialogs;

struct AnalysisSetup {
    double commSampInterval = 1.0;  // the common sampling factor of the setup
    int speedSlot = 2;
    // The most samples a dive's analysis may hold: a memory budget, unbounded
    // unless a caller sets one. A longer dive is marked too long.
    int64_t mostSamples = INT64_MAX;
};

// Descent and ascent rates to 90 % of the modal depth (nothing when F5 - F4 < 4).
void RatesTo90(const ChannelSeries& depth, int32_t f4, int32_t f5, double modalDepth, DiveFigures& fig);

// The modal depth the Y test found and the rates to 90 % of it, for the dive F4..F5.
DiveFigures FiguresOf(const ChannelSeries& depth, int32_t f4, int32_t f5, double maxDepth, const YResult& y);

// The dive's duration and maximum depth against the previous dive's.
void DifferencesToPrevious(DiveRecord& r, const DiveParameters& p);

// After a dive was written: the counter advances and the dive becomes the previous one.
void CountDive(DiveRecord& r, double endTime);

// The pause of `pause` ms before the onset (ms) holds samples without a value.
bool PauseAcrossGap(const Recording& rec, double onset, double pause);

// Analyses the dive into state.record; false when the analysis channel holds
// no data. A dive of any length is analysed whole (memory in proportion to
// it); tooLong tells one whose samples could not be held.
bool AnalyseDive(Recording& rec, const LinePositions& at, const DiveParameters& p, DiveState& state,
                 const AnalysisSetup& setup, VkDialogs& ui);

}  // namespace vk
