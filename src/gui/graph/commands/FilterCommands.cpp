// The Filter menu: the smoothing kernels, the running mean, the low pass, the
// flat baseline, the envelope, peak elimination, "Del. < 0", the running-mean
// overlay and the sensor-inertia compensation.

#include <QDialog>

#include "core/dive/CompensationRun.h"
#include "core/process/Compensation.h"
#include "core/process/FlatBaseline.h"
#include "core/process/LowPassFilter.h"
#include "core/process/Mantle.h"
#include "core/process/PeakElimination.h"
#include "core/process/SectionOperation.h"
#include "core/process/SmoothKernel.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/commands/Commands.h"
#include "gui/process/CompensationDialog.h"
#include "gui/process/ElimPeaksDialog.h"
#include "gui/process/FlatBaselineDialog.h"
#include "gui/process/MantleDialog.h"
#include "gui/process/RunMeanDialog.h"
#include "gui/widgets/ModalDialog.h"

namespace vk {

namespace {

// The curve over its strip while the question, placed beside it, is open.
class WindowPreview : public CompensationPreview {
public:
    explicit WindowPreview(GraphWindow& w) : w_(w) {}
    Answer confirm(VkDialogs& ui, const PreviewCurve& curve, bool offerAbort) override
    {
        w_.showPreview(&curve);
        const Answer a = ui.askAt(CompensateQuestion, offerAbort ? Buttons::YesNoAbort : Buttons::YesNo, QuestionPlace,
                                  QuestionPlace);
        w_.showPreview(nullptr);
        return a;
    }

private:
    GraphWindow& w_;
};

// A dialog run before a command: the command only after OK.
template <typename Dialog, typename Run>
CommandResult AfterDialog(Dialog& dialog, Run run)
{
    return ExecDialog(dialog) == QDialog::Accepted ? run() : CommandResult{};
}

CommandResult Peaks(CommandContext& cx, GraphWindow& w)
{
    PeakChoices& c = cx.wb.filters.peaks;
    ElimPeaksDialog dialog(c, cx.ui, w.help(), &w);
    const int slot = cx.view.active;
    const double f4 = cx.view.at.F4, f5 = cx.view.at.F5;
    return AfterDialog(dialog, [&] {
        switch (c.option) {
        case PeakOption::Peaks: return EliminatePeaks(cx, slot, c.PeakLength, c.PeakAmplitude, f5, f4);
        case PeakOption::Replace:
            return ReplaceValues(cx, c.relation, c.interpolate, slot, f5, f4, c.replacement, c.threshold);
        default: return EliminateExtremes(cx, slot, f5, f4);
        }
    });
}

// The running-mean overlay's interval; an answer that is no number removes it.
CommandResult RunMeanOverlayCommand(CommandContext& cx)
{
    ChannelDescriptor& d = cx.rec.desc(cx.view.active);
    const auto text = cx.ui.input("Running mean (overlay)", "Interval (0: No run. mean) ", std::to_string(d.RunMean));
    if (!text)
        return {};
    int64_t n = 0;
    d.RunMean = ParseInteger(*text, n) && n > 0 && n <= INT32_MAX ? static_cast<int32_t>(n) : 0;
    return redraw::Everything;
}

CommandResult CompensationSettingsCommand(CommandContext& cx, GraphWindow& w)
{
    CompensationDialog dialog(cx.settings().compensation, cx.ui, w.help(), &w);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return {};
    WindowPreview preview(w);
    switch (dialog.run()) {
    case CompensationDialog::Run::Repetitive: {
        // Dive after dive until none is left: Halt stops it between dives.
        CompensationHooks hooks;
        hooks.framed = [&w] { w.executeRedraw(redraw::Everything); };
        hooks.halted = [&w] { return w.pollHalt(); };
        CommandResult result;
        w.runLong([&] { result = RepeatCompensation(cx, &preview, hooks); });
        return result;
    }
    case CompensationDialog::Run::Single: {
        bool repeat = false;
        return CompensateInertia(cx, cx.view.active, cx.settings().compensation, repeat, &preview, cx.view.at.F5,
                                 cx.view.at.F4);
    }
    default: return {};
    }
}

}  // namespace

void RegisterFilterCommands(CommandTable& t, GraphWindow& w)
{
    const std::pair<const char*, int> kernels[] = {{"filter.smooth.1-2-1", Smooth121},
                                                   {"filter.smooth.1-2-4-10", Smooth12410},
                                                   {"filter.smooth.1-1-2-3-2", Smooth11232},
                                                   {"filter.smooth.1-1-1-1", SmoothTrimmedSeven}};
    for (const auto& [item, mode] : kernels)
        t.add(item, [mode](CommandContext& cx) {
            return SmoothKernel(cx, cx.view.active, mode, {}, NoLevel, NoJump, cx.view.at.F5, cx.view.at.F4);
        });
    t.add("filter.smooth.running-mean", [&w](CommandContext& cx) {
        RunningMeanSetting& m = cx.wb.filters.runningMean;
        RunMeanDialog dialog(m, cx.ui, w.help(), &w);
        return AfterDialog(dialog, [&] {
            return SmoothKernel(cx, cx.view.active, SmoothRunningMean, m, NoLevel, NoJump, cx.view.at.F5,
                                cx.view.at.F4);
        });
    });
    t.add("filter.smooth.low-pass",
          [](CommandContext& cx) { return LowPassCommand(cx, cx.view.active, cx.view.at.F5, cx.view.at.F4); });
    t.add("filter.smooth.flat-baseline", [&w](CommandContext& cx) {
        FlatBaselineSettings& s = cx.settings().flatBaseline;
        FlatBaselineDialog dialog(s, cx.ui, w.help(), &w);
        return AfterDialog(dialog, [&] {
            return FlatBaseline(cx, cx.view.active, s, cx.settings().dive.Threshold, cx.view.at.F5, cx.view.at.F4);
        });
    });
    t.add("filter.smooth.mantle", [&w](CommandContext& cx) {
        MantleSetting& m = cx.wb.filters.mantle;
        MantleDialog dialog(m, cx.ui, w.help(), &w);
        return AfterDialog(dialog, [&] { return Mantle(cx, cx.view.active, m, cx.view.at.F5, cx.view.at.F4); });
    });
    t.add("filter.peak-elimination", [&w](CommandContext& cx) { return Peaks(cx, w); });
    t.add("filter.negative-to-zero", [](CommandContext& cx) {
        return ApplySectionOperation(cx, SectionNegativeToZero, RampNone, cx.view.active, 0, cx.view.at.F5,
                                     cx.view.at.F4);
    });
    t.add("filter.running-mean", RunMeanOverlayCommand);
    t.add("filter.compensate", [&w](CommandContext& cx) {
        WindowPreview preview(w);
        bool repeat = false;
        return CompensateInertia(cx, cx.view.active, cx.settings().compensation, repeat, &preview, cx.view.at.F5,
                                 cx.view.at.F4);
    });
    t.add("filter.compensation-settings", [&w](CommandContext& cx) { return CompensationSettingsCommand(cx, w); });
}

}  // namespace vk
