#pragma once

// What the release of a press in a strip does to the view: a line or border
// dragged, the range set from a dragged top or bottom edge, a border widened
// or the range stepped by a click on an edge; with one undo step of the view
// where it changes. A click elsewhere is read out by the window.

#include "core/view/Command.h"
#include "core/view/MouseRules.h"

namespace vk {

struct MouseRelease {
    Line line = Line::None;  // the line grabbed at the press
    int edge = EdgeNone;     // the edge zone of the press
    bool dragged = false;
    double t = 0, v = 0;  // where the mouse was let go: time, and value of the active channel
};

struct ReleaseOutcome {
    CommandResult result;
    bool readout = false;  // a click to read out
    int moveMode = -1;     // the move mode that follows, or -1 to keep it
};

ReleaseOutcome ReleaseMouse(ViewContext& cx, const MouseRelease& r);

}  // namespace vk
