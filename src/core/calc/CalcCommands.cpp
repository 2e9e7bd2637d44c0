#include "core/calc/CalcCommands.h"

#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"

namespace vk {

StatisticsRequest WorkSectionStatistics(CommandContext& cx)
{
    const DiveParameters& dive = cx.settings().dive;
    return {cx.view.at.F4, cx.view.at.F5, cx.settings().CommSampInterval, {dive.TimeAbove, dive.TimeBelow}};
}

std::optional<RegressionLine> RegressionOf(const Statistics& s)
{
    if (!(s.any && s.n >= 2))
        return std::nullopt;
    const int32_t first = s.section.first, last = s.section.last;
    return RegressionLine{first * s.interval, LineValueAt(s, first), last * s.interval, LineValueAt(s, last)};
}

std::optional<ChannelPlotSetup> PrepareChannelPlot(CommandContext& cx)
{
    const PlotChoice& plot = cx.wb.calc.plot;
    const int a = cx.wb.biChannel.BiChnl1, b = cx.wb.biChannel.BiChnl2;
    const int colourSlot = ColourSlotOf(plot.colourChannel);
    if (const PlotCheck check = CheckPlotChannels(cx.rec, a, b, colourSlot); check != PlotCheck::Ok) {
        cx.ui.message(PlotCheckText(check), Severity::Error);
        return std::nullopt;
    }
    const double f4 = cx.view.at.F4, f5 = cx.view.at.F5;
    ChannelPlotSetup setup;
    {
        const BusyCursor busy(cx.ui);
        setup.frame = PlotFrameOf(SectionSpan(cx.rec, a, f4, f5), SectionSpan(cx.rec, b, f4, f5));
    }
    if (setup.frame.tooSmall()) {
        cx.ui.message("Range too small", Severity::Warning);
        return std::nullopt;
    }
    double threshold = 0;
    ParseDecimal(plot.threshold, threshold);
    setup.cloud = CloudRequest{a, b, colourSlot, ThresholdOf(threshold), f4, f5};
    return setup;
}

}  // namespace vk
