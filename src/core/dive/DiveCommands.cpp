#include "core/dive/DiveCommands.h"

#include <algorithm>

#include "core/store/Channel.h"
#include "core/store/MessagesOnce.h"

#include "core/dive/Bouts.h"
#include "core/dive/DiveFrame.h"
#include "core/dive/DiveShapes.h"
#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

// The commands' context, telling through `ui`.
ResultContext ResultsOf(CommandContext& cx, VkDialogs& ui, PictureSink* pictures)
{
    return {cx.wb, cx.view, ui, cx.undo, pictures};
}

// The view before the command, so that Undo restores borders and cursors.
void PushView(CommandContext& cx)
{
    cx.undo.Push(UndoKind::View, AnalysisSlot, redraw::Everything);
}

// A dive longer than the window gets this many times its length.
constexpr double LongDiveRoom = 1.5;

// The whole analysis channel, after burnished dives.
SampleChange WholeChannel(const CommandContext& cx)
{
    return {AnalysisSlot, 0, ChannelView(cx.wb.rec, AnalysisSlot).count(), false};
}

}  // namespace

CommandResult SearchNextCommand(CommandContext& cx)
{
    if (!AnalysisChannelReady(cx.rec, cx.view.active, cx.ui))
        return {};
    PushView(cx);
    // A baseline the search shifts is taken back by the same Undo as the view.
    MessagesOnce once(cx.ui, cx.wb.dive.warned);  // a warning seen this run goes to the status line
    DiveContext dc = ResultsOf(cx, once, nullptr).dive();
    const SearchOutcome o = SearchNext(dc, cx.settings().dive);
    if (o.refused)
        return {};
    if (!o.accepted)
        cx.ui.status("No further dive");
    const bool whole = o.windowMoved || o.baselineShifted || cx.settings().dive.AdjustYSize;
    return whole ? redraw::Everything : DiveRedraw;
}

CommandResult AnalyseCommand(CommandContext& cx)
{
    if (!AnalysisChannelReady(cx.rec, cx.view.active, cx.ui))
        return {};
    MessagesOnce once(cx.ui, cx.wb.dive.warned);
    DiveContext dc = ResultsOf(cx, once, nullptr).dive();
    AnalyseFramedDive(dc, cx.settings().dive);
    return DiveRedraw;
}

CommandResult WriteResultsCommand(CommandContext& cx, PictureSink* pictures)
{
    if (!AnalysisChannelReady(cx.rec, cx.view.active, cx.ui))
        return {};
    PushView(cx);
    MessagesOnce once(cx.ui, cx.wb.dive.warned);
    ResultContext rc = ResultsOf(cx, once, pictures);
    WriteResults(rc, cx.settings().dive);
    if (cx.settings().dive.BurnishDives)
        return {redraw::Everything, WholeChannel(cx)};
    return redraw::Everything;
}

CommandResult CommentCommand(CommandContext& cx)
{
    if (const auto text = cx.ui.input(" Input comment", " Enter a comment ", cx.wb.dive.comment))
        cx.wb.dive.comment = *text;
    return {};
}

CommandResult BoutCommand(CommandContext& cx, bool analyse)
{
    if (!AnalysisChannelReady(cx.rec, cx.view.active, cx.ui))
        return {};
    PushView(cx);
    MessagesOnce once(cx.ui, cx.wb.dive.warned);
    ResultContext rc = ResultsOf(cx, once, nullptr);
    DiveContext dc = rc.dive();
    const BoutOutcome o = FindBout(dc, cx.settings().dive, analyse);
    if (o.summary)
        WriteBout(rc, *o.summary);
    return redraw::Everything;
}

CommandResult ShapeCommand(CommandContext& cx, int tag)
{
    const double interval = ChannelView(cx.rec, AnalysisSlot).interval();
    DiveFrame f = FrameOf(cx.view.at, interval);
    const DiveFrame before = f;
    PressShapeButton(tag, cx.wb.dive, f, cx.settings().dive);
    if (f.F8 == before.F8 && f.F9 == before.F9)
        return {};
    cx.view.at.B1 = f.F8 * interval;
    cx.view.at.B2 = f.F9 * interval;
    return redraw::StripCursors;
}

CommandResult EventCounterCommand(CommandContext& cx)
{
    if (const auto n = AskInteger(cx.ui, "Type in event counter", "Warning! Pause will be wrong", "0"))
        cx.wb.dive.EventCounter = *n;
    return {};
}

CommandResult AutomaticCommand(CommandContext& cx, PictureSink* pictures, const AutomaticHooks& hooks,
                               AutomaticOutcome& outcome)
{
    PushView(cx);
    ResultContext rc = ResultsOf(cx, cx.ui, pictures);  // the run shows each text once itself
    outcome = AutomaticAnalysis(rc, cx.settings().dive, hooks);
    // The count stays beside the cursors after the run, with its outcome.
    const std::string count = std::to_string(outcome.dives) + (outcome.dives == 1 ? " dive" : " dives");
    const std::size_t doubts = outcome.doubts.doubts.size();
    cx.ui.status(outcome.cancelled ? "Automatic analysis cancelled: nothing written"
                                   : count + " analysed" + (outcome.halted ? ", halted" : "") +
                                         (doubts ? ", " + std::to_string(doubts) + " to check" : ""));
    if (cx.settings().dive.BurnishDives)
        return {redraw::Everything, WholeChannel(cx)};
    return redraw::Everything;
}

CommandResult GoToDiveCommand(CommandContext& cx, const RunDive& dive)
{
    const double interval = ChannelView(cx.rec, AnalysisSlot).interval();
    if (!(interval > 0))
        return {};
    PushView(cx);
    LinePositions& at = cx.view.at;
    at.F4 = dive.onset;
    at.F5 = dive.end;
    at.B1 = dive.bottomStart;
    at.B2 = dive.bottomEnd;
    DiveFrame f = FrameOf(at, interval);
    const double points = std::max(cx.settings().dive.WindowSize * 1000.0 / interval, LongDiveRoom * (f.F5 - f.F4));
    PlaceWindow(f, static_cast<int32_t>(std::clamp(points, 0.0, 2e9)), ChannelView(cx.rec, AnalysisSlot).last());
    at.F1 = f.F1 * interval;
    at.F2 = f.F2 * interval;
    // The read-outs show the dive gone to, as the run classified it.
    DiveRecord& r = cx.wb.dive.record;
    r.maxDepth = dive.maxDepth;
    r.shape = dive.shape;
    cx.wb.dive.recordOnset = at.F4;
    return redraw::Everything;
}

StretchFit FitBoutsOfStretch(CommandContext& cx, const DiveParameters& p,
                             const std::function<bool(double share)>& halted)
{
    if (!HoldsValues(cx.rec, AnalysisSlot)) {
        StretchFit none;
        none.fit.message = "The analysis channel holds no values: no pauses between dives to fit.";
        return none;
    }
    MessagesOnce once(cx.ui, cx.wb.dive.warned);
    DiveContext dc = ResultsOf(cx, once, nullptr).dive();
    return FitStretchBouts(dc, p, halted);
}

}  // namespace vk
