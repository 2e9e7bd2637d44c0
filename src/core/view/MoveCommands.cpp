#include "core/view/MoveCommands.h"

#include <cmath>

#include "core/store/Channel.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

// The view before a command that moves lines or the range: one zoom step.
void PushView(ViewContext& cx, uint32_t redraw, int slot = -1)
{
    cx.undo.Push(UndoKind::View, slot < 0 ? cx.view.active : slot, redraw);
}

}  // namespace

CommandResult MoveCommand(ViewContext& cx, uint32_t (*step)(ViewState&))
{
    if (cx.view.moveMode != ModeNone)
        PushView(cx, MoveRedraw(cx.view.moveMode));
    return step(cx.view);
}

CommandResult StepSizeCommand(ViewContext& cx, bool doubled)
{
    return doubled ? DoubleStep(cx.view) : HalveStep(cx.view);
}

CommandResult CursorsIntoBordersCommand(ViewContext& cx)
{
    PushView(cx, redraw::CursorMove);
    return CursorsIntoBorders(cx.view);
}

CommandResult BCursorsIntoBordersCommand(ViewContext& cx)
{
    PushView(cx, redraw::PairMove);
    return BCursorsIntoBorders(cx.view);
}

CommandResult ShCursorsIntoBordersCommand(ViewContext& cx)
{
    PushView(cx, redraw::PairMove);
    return ShCursorsIntoBorders(cx.view);
}

CommandResult BordersToCursorsCommand(ViewContext& cx)
{
    PushView(cx, redraw::WindowOnCursors);
    return BordersToCursors(cx.view, cx.rec);
}

CommandResult BordersOntoCursorsCommand(ViewContext& cx)
{
    PushView(cx, redraw::WindowOnCursors);
    return BordersOntoCursors(cx.view, cx.rec);
}

CommandResult TimeScaleCommand(ViewContext& cx, double t)
{
    PushView(cx, redraw::AllMove);
    return TimeScaleClick(cx.view, t);
}

CommandResult WheelCommand(ViewContext& cx, WheelKind kind, int slot, double t, int y, int height, double steps)
{
    constexpr double StepFactor = 0.8;  // one notch away from the user: 0.8 of the width or range
    constexpr double PanShare = 0.1;    // one notch: a tenth of the window
    constexpr int LeastSamples = 8;     // the narrowest window the wheel makes
    if (steps == 0)
        return {};
    const double factor = std::pow(StepFactor, steps);
    if (kind == WheelKind::Range) {
        PushView(cx, redraw::RangeChange, slot);
        ZoomRangeAround(cx.rec.desc(slot), y, height, factor);
        return redraw::RangeChange;
    }
    PushView(cx, redraw::BorderMove | redraw::YScale);
    if (kind == WheelKind::Pan)
        return PanTime(cx.view, -PanShare * steps);
    return ZoomTimeAround(cx.view, t, factor, LeastSamples * ChannelView(cx.rec, slot).interval());
}

CommandResult RangeStepCommand(ViewContext& cx, int a, int b)
{
    PushView(cx, redraw::RangeChange);
    RangeStep(cx.rec.desc(cx.view.active), a, b);
    return redraw::RangeChange;
}

CommandResult AskRangeCommand(ViewContext& cx)
{
    ChannelDescriptor& d = cx.rec.desc(cx.view.active);
    const ChannelDescriptor before = d;
    if (!AskRange(d, cx.ui))
        return {};
    // The step keeps the range as it was before the question.
    const double min = d.Min, max = d.Max;
    d = before;
    PushView(cx, redraw::RangeChange);
    d.Min = min;
    d.Max = max;
    return redraw::RangeChange;
}

CommandResult YScaleCommand(ViewContext& cx, int slot, int y, int height)
{
    PushView(cx, redraw::RangeChange, slot);
    YScaleClick(cx.rec.desc(slot), y, height);
    return redraw::RangeChange;
}

CommandResult BaselineOf(ViewContext& cx, BaselineCommand command)
{
    return Baseline(command, cx.rec, cx.view, cx.ui, cx.undo);
}

}  // namespace vk
