#pragma once

// What the Calculations menu's windows are given: the statistics of the work
// section as the setup asks for them, and the channel plot of the channels
// chosen in its dialog, checked and framed.

#include <optional>

#include "core/calc/ChannelPlot.h"
#include "core/calc/Statistics.h"
#include "core/setup/Command.h"

namespace vk {

// The work section F4 .. F5, with the setup's sampling factor and the dive
// parameters' time-above and time-below depths.
StatisticsRequest WorkSectionStatistics(CommandContext& cx);

// The regression line of the statistics over their section: from (t0, y0) to (t1, y1).
struct RegressionLine {
    double t0 = 0, y0 = 0, t1 = 0, y1 = 0;
};
std::optional<RegressionLine> RegressionOf(const Statistics& s);

struct ChannelPlotSetup {
    PlotFrame frame;
    CloudRequest cloud;
};
// The plot of the chosen channels (the workbench's BiChannelChoice and
// PlotChoice) over the work section; nullopt after the message when a channel
// is missing or does not fit, or the values span too little.
std::optional<ChannelPlotSetup> PrepareChannelPlot(CommandContext& cx);

}  // namespace vk
