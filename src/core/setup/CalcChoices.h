#pragma once

// What the Calculations dialogs keep for the rest of the run.

#include <array>
#include <cstdint>
#include <string>

#include "core/store/Slot.h"

namespace vk {

// The histogram of one channel, as its dialog reopens.
struct HistogramChoice {
    double minBin = 0, binSize = 1;
    std::string file;  // empty: the channel's histogram file of the run
};

struct EventChoice {
    std::string threshold = "0";
    int kind = 0;  // 0 events above the threshold, 1 below
    bool store = false;
    std::string file;
};

// The ellipse's box and band in image pixels; all 0 until the first reset.
struct EllipseState {
    int left = 0, top = 0, right = 0, bottom = 0;
    int band = 0;
    bool operator==(const EllipseState&) const = default;
};

// What the plot keeps for the rest of the run.
struct PlotChoice {
    std::string colourChannel = "1";  // 1-based, as typed
    std::string threshold = "100";
    int32_t colour1 = 255, colour2 = 0;  // colour integers: red and black
    EllipseState ellipse;
};

struct CalcChoices {
    std::string statisticsFile;  // the last export of the run; empty: the setup's StatisticsFile
    std::array<HistogramChoice, SlotCount> histogram;
    EventChoice events;
    PlotChoice plot;
};

}  // namespace vk
