#pragma once

// The dive commands of the graph window, as the one command pattern has them:
// each checks that the analysis channel is active and holds values, records
// its undo steps (the view first, so one Undo takes back the whole command),
// works through the engines, and says what to redraw. The window supplies
// what only it has: the pictures of a written dive, and for the automatic
// analysis its progress and Halt.

#include "core/dive/BoutFitRun.h"
#include "core/dive/ResultStep.h"
#include "core/setup/Command.h"
#include "core/view/RedrawRequest.h"

namespace vk {

// What a dive command redraws: the lines and marks over the strips, the total
// window's lines, the read-outs; everything when the window moved.
inline constexpr uint32_t DiveRedraw = redraw::StripCursors | redraw::TotalLines | redraw::Readouts;

// "&Search next" (Q). "No further dive" as a status text after the last one.
CommandResult SearchNextCommand(CommandContext& cx);
// "Anal&yse" (A): the dive as the cursors frame it.
CommandResult AnalyseCommand(CommandContext& cx);
// "&Write results" (W), with the window's pictures (none: no image, no thumbnail).
CommandResult WriteResultsCommand(CommandContext& cx, PictureSink* pictures);
// "&Comment ..." (C).
CommandResult CommentCommand(CommandContext& cx);
// "Analyze bout, find next" (Ctrl+B, `analyse`) and "Skip bout, find next" (Ctrl+F).
CommandResult BoutCommand(CommandContext& cx, bool analyse);
// A shape button pressed (tag 0..6): the shape of the dive, the B-cursors with it.
CommandResult ShapeCommand(CommandContext& cx, int tag);
// Shift+E: the number the next written dive gets.
CommandResult EventCounterCommand(CommandContext& cx);
// "&Automatic Anal. ..." once its dialog was answered with Start: every dive
// between F4 and F5. `outcome` tells how many, and whether Halt stopped it.
CommandResult AutomaticCommand(CommandContext& cx, PictureSink* pictures, const AutomaticHooks& hooks,
                               AutomaticOutcome& outcome);
// "Go to" in the list of dives to check: the cursors frame the dive as the
// run framed it, the window around it (wide enough for a long dive).
CommandResult GoToDiveCommand(CommandContext& cx, const RunDive& dive);

// "Fit from record" of the parameter dialog: the pauses between the dives of
// F4..F5, found with `p` as the automatic analysis finds them, fitted with two
// processes. Nothing is written and nothing changes; `halted` as FitStretchBouts asks it.
StretchFit FitBoutsOfStretch(CommandContext& cx, const DiveParameters& p,
                             const std::function<bool(double share)>& halted);

}  // namespace vk
