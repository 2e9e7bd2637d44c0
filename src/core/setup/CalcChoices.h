#pragma once

// What the Calculations dialogs keep for the rest of the run.

#include <array>
#include <string>

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

struct CalcChoices {
    std::string statisticsFile;  // the last export of the run; empty: the setup's StatisticsFile
    std::array<HistogramChoice, 3> histogram;
    EventChoice events;
};

}  // namespace vk
