// The Calculations menu.

#include <filesystem>

#include "core/calc/CalcCommands.h"
#include "core/calc/ChannelPlot.h"
#include "core/calc/EventCount.h"
#include "core/calc/Histogram.h"
#include "core/calc/SamplingIntervals.h"
#include "core/calc/Statistics.h"
#include "core/calc/WayWay.h"
#include "core/calc/WorkSection.h"
#include "core/setup/Workbench.h"
#include "core/store/NumberText.h"
#include "core/view/RedrawRequest.h"
#include "gui/calc/ChannelPlotWindow.h"
#include "gui/calc/ClickTools.h"
#include "gui/calc/CountEventsDialog.h"
#include "gui/calc/FrequencyWindow.h"
#include "gui/calc/HistogramDialog.h"
#include "gui/calc/PlotChoiceDialog.h"
#include "gui/calc/SplineWindow.h"
#include "gui/calc/StatisticsWindow.h"
#include "gui/calc/WayWayWindow.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphPainter.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/commands/Commands.h"
#include "gui/widgets/ModalDialog.h"

namespace vk {

namespace {

// The statistics window, with the regression line drawn over the active
// strip while it is open.
CommandResult ShowStatistics(CommandContext& cx, GraphWindow& w)
{
    const int slot = cx.view.active;
    const StatisticsRequest request = WorkSectionStatistics(cx);
    const Statistics s = ComputeStatistics(cx.rec, slot, request);
    const auto r = RegressionOf(s);
    const SceneLine line = r ? SceneLine{slot, r->t0, r->y0, r->t1, r->y1} : SceneLine{};
    if (r)
        w.showRegression(&line);  // while the window is open
    StatisticsWindow window(
        StatisticsLines(s, StatisticsWordsOf(cx.rec, slot)), s.any, w.help(),
        [&] { return ExportStatistics(cx.wb, cx.ui, s, request) == ExportOutcome::Written; }, &w);
    ExecDialog(window);
    w.showRegression(nullptr);
    return {redraw::ActiveChannel};
}

CommandResult ShowHistogram(CommandContext& cx, GraphWindow& w)
{
    const int slot = cx.view.active;
    HistogramChoice& choice = cx.wb.calc.histogram[static_cast<std::size_t>(slot)];
    if (choice.file.empty())
        choice.file = cx.wb.results.histogram[static_cast<std::size_t>(slot)];
    const double f4 = cx.view.at.F4, f5 = cx.view.at.F5;
    const StoredSection section = SectionSamples(ChannelView(cx.rec, slot), f4, f5);
    HistogramDialog dialog(
        choice, [&](double minBin, double width) { return ComputeHistogram(cx.rec, slot, section, minBin, width); },
        [&](const HistogramResult& h) {
            return HistogramText(h, cx.rec, f4, f5, cx.settings().CommSampInterval, cx.settings().DateSep);
        },
        cx.ui, w.help(), &w);
    ExecDialog(dialog);
    return {};
}

CommandResult CountEventsOf(CommandContext& cx, GraphWindow& w)
{
    const int slot = cx.view.active;
    EventChoice& choice = cx.wb.calc.events;
    const std::string folder = std::filesystem::path(cx.rec.desc(slot).NameIn).parent_path().string();
    CountEventsDialog dialog(choice, folder, cx.ui, w.help(), &w);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return {};
    const bool store = choice.store && !choice.file.empty();
    ReportEvents(cx.wb, cx.ui, slot, cx.view.at.F4, cx.view.at.F5, dialog.threshold(), choice.kind == 1,
                 store ? &choice.file : nullptr);
    return {};
}

// The frequency window, one at a time: a second click while it is open does nothing.
void OpenFrequencyWindow(GraphWindow& w)
{
    if (w.findChild<FrequencyWindow*>("frequencyWindow"))
        return;
    auto* window = new FrequencyWindow(w, w.clickTools());
    window->show();
}

CommandResult DisposeTags(GraphWindow& w)
{
    ClickTools& tools = w.clickTools();
    tools.tags = TagList{};
    if (tools.tagsChanged)
        tools.tagsChanged();
    FollowTagList(w.menus(), tools.tags);
    return {redraw::AllStrips};
}

// Node adding on, and "Splining" beside the graph window, which keeps the focus.
CommandResult OpenSplineWindow(GraphWindow& w)
{
    auto* window = w.findChild<SplineWindow*>("splineWindow");
    if (!window) {
        window = new SplineWindow(w, w.clickTools());
        window->show();
    }
    w.clickTools().addNodes = true;
    w.activateWindow();
    return {};
}

QColor ColourOf(int32_t value)
{
    const Rgb c = DecodeColour(value);
    return QColor(c.r, c.g, c.b);
}

// One channel against another over the work section; the ellipse the user
// lays over the cloud stays for the next plot.
CommandResult PlotChannels(CommandContext& cx, GraphWindow& w)
{
    PlotChoice& plot = cx.wb.calc.plot;
    PlotChoiceDialog dialog(cx.rec, cx.wb.biChannel, plot, cx.settings(), cx.ui, w.help(), &w);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return {};
    const auto setup = PrepareChannelPlot(cx);
    if (!setup)
        return {};
    const int a = setup->cloud.slotA, b = setup->cloud.slotB;
    const PlotFrame frame = setup->frame;
    const CloudRequest request = setup->cloud;
    const auto cloud = [&cx, request, frame](int width, int height) {
        const BusyCursor busy(cx.ui);
        return PaintCloud(cx.rec, request, frame, width, height);
    };
    ChannelPlotWindow window(frame, cloud,
                             {ColourOf(plot.colour1), ColourOf(plot.colour2), TableColour(cx.settings(), ColEllipse)},
                             plot.ellipse, {cx.rec.desc(a).Caption, cx.rec.desc(b).Caption}, w.help(), &w);
    return ExecDialog(window) == QDialog::Accepted ? CommandResult{redraw::YScale} : CommandResult{};
}

// The way-way diagram of the work section, one at a time: a new one replaces
// the last (its tags and texts go with it).
CommandResult OpenWayWay(CommandContext& cx, GraphWindow& w)
{
    const int speedSlot = cx.settings().SpeedChannel;
    if (!WayWayChannelsPresent(cx.rec, 0, speedSlot)) {
        cx.ui.message(NoWayWayChannels, Severity::Error);
        return {};
    }
    const WayWayRequest request{0, speedSlot, cx.view.at.F4, cx.view.at.F5};
    const WayWaySums sums = SumWayWay(cx.rec, request);
    if (!sums.enough) {
        cx.ui.message(NotEnoughSpeed, Severity::Warning);
        return {};
    }
    if (auto* last = w.findChild<WayWayWindow*>("wayWayWindow"))
        last->close();
    (new WayWayWindow(w, request, sums, cx.wb.dive.EventCounter))->show();
    if (sums.speedErrors > 0)
        cx.ui.message(std::to_string(sums.speedErrors) + " speed errors.", Severity::Information);
    return {};
}

}  // namespace

void RegisterCalculationsCommands(CommandTable& t, GraphWindow& w)
{
    t.add("calc.frequency.calculate", [&w](CommandContext&) {
        OpenFrequencyWindow(w);
        return CommandResult{};
    });
    t.add("calc.frequency.show-result", [&w](CommandContext&) {
        OpenFrequencyWindow(w);
        return CommandResult{};
    });
    t.add("calc.frequency.dispose-tags", [&w](CommandContext&) { return DisposeTags(w); });
    t.add("calc.spline", [&w](CommandContext&) { return OpenSplineWindow(w); });
    t.add("calc.statistics", [&w](CommandContext& cx) { return ShowStatistics(cx, w); });
    t.add("calc.histogram", [&w](CommandContext& cx) { return ShowHistogram(cx, w); });
    t.add("calc.way-way", [&w](CommandContext& cx) { return OpenWayWay(cx, w); });
    t.add("calc.count-events", [&w](CommandContext& cx) { return CountEventsOf(cx, w); });
    // Synchronizing needs two channels; with fewer its item stays disabled.
    int loaded = 0;
    for (int s = 0; s < SlotCount; ++s)
        loaded += w.workbench().rec.at(s).ChannelUsed ? 1 : 0;
    if (loaded >= 2) {
        t.add("calc.synchronize", [](CommandContext& cx) { return SuggestSamplingIntervals(cx); });
        t.add("calc.channel-plot", [&w](CommandContext& cx) { return PlotChannels(cx, w); });
    }
}

}  // namespace vk
