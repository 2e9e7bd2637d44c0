#pragma once

// Moving the borders, cursors, B- and Sh-cursors of the graph window: the key
// and menu commands, each returning the redraw request it needs.

#include <cstdint>

#include "core/store/Recording.h"
#include "core/view/ViewState.h"

namespace vk {

// Move modes: which line(s) the arrow keys move.
enum MoveMode : int {
    ModeNone = 0,
    ModeF1 = 1,
    ModeF2 = 2,
    ModeBorders = 3,
    ModeF4 = 4,
    ModeCursors = 5,
    ModeF5 = 6,
    ModeB1 = 8,
    ModeBCursors = 9,
    ModeB2 = 10,
    ModeSh1 = 11,
    ModeSh2 = 12,
    ModeBordersAndCursors = 13,
    ModeShPair = 110,
};

// The redraw request after a move in this mode.
uint32_t MoveRedraw(int mode);

uint32_t StepLeft(ViewState& v);
uint32_t StepRight(ViewState& v);
uint32_t MoveHome(ViewState& v);
uint32_t MoveEnd(ViewState& v);
uint32_t PageLeft(ViewState& v);
uint32_t PageRight(ViewState& v);
// PgUp doubles the step of the selected kind (not above T), PgDn halves it (not below 1).
uint32_t DoubleStep(ViewState& v);
uint32_t HalveStep(ViewState& v);

uint32_t CursorsIntoBorders(ViewState& v);
uint32_t BCursorsIntoBorders(ViewState& v);
uint32_t ShCursorsIntoBorders(ViewState& v);
// The window around the cursors (with an eighth of the section on each side),
// or onto them; the active channel's range then follows its samples there.
uint32_t BordersToCursors(ViewState& v, Recording& rec);
uint32_t BordersOntoCursors(ViewState& v, Recording& rec);

// Centres window and cursors on time t, unless they would pass the end.
uint32_t TimeScaleClick(ViewState& v, double t);

// The mouse wheel: the window's width times `factor` with the time t where
// it stood (at least `least` wide, at most the recording, within it).
uint32_t ZoomTimeAround(ViewState& v, double t, double factor, double least);
// Shift+wheel: the window moved by `share` of its width, within the recording.
uint32_t PanTime(ViewState& v, double share);

}  // namespace vk
