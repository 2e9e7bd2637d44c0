#pragma once

// The commands of moving around and of the y-range and baseline: each records
// its undo step, moves the lines or the range, and says what to redraw. The
// moves themselves are in ViewCommands and RangeCommands.

#include "core/view/Command.h"
#include "core/view/RangeCommands.h"
#include "core/view/ViewCommands.h"

namespace vk {

// Arrow keys, Home, End and the pages: a step of the lines of the move mode
// (an undo step unless no mode is chosen).
CommandResult MoveCommand(ViewContext& cx, uint32_t (*step)(ViewState&));
// PgUp and PgDn: the step of the selected kind doubled or halved (no undo step).
CommandResult StepSizeCommand(ViewContext& cx, bool doubled);

// The pair commands of the x-Zoom menu.
CommandResult CursorsIntoBordersCommand(ViewContext& cx);
CommandResult BCursorsIntoBordersCommand(ViewContext& cx);
CommandResult ShCursorsIntoBordersCommand(ViewContext& cx);
CommandResult BordersToCursorsCommand(ViewContext& cx);
CommandResult BordersOntoCursorsCommand(ViewContext& cx);
// A click on a time scale at time t.
CommandResult TimeScaleCommand(ViewContext& cx, double t);
// The mouse wheel over a strip at time t and row y of `height` (steps: + away
// from the user): time zoom, with Shift a move, with Ctrl the slot's range.
// Each an undo step of the view.
enum class WheelKind { Zoom, Pan, Range };
CommandResult WheelCommand(ViewContext& cx, WheelKind kind, int slot, double t, int y, int height, double steps);

// y-Zoom: the range by eighths (a, b as RangeStep), asked for, or moved by a
// click at row y of a y scale of the given height.
CommandResult RangeStepCommand(ViewContext& cx, int a, int b);
CommandResult AskRangeCommand(ViewContext& cx);
CommandResult YScaleCommand(ViewContext& cx, int slot, int y, int height);
// Baseline: the active channel's offset.
CommandResult BaselineOf(ViewContext& cx, BaselineCommand command);

}  // namespace vk
