#pragma once

// What a press and release of the mouse in a strip or the total window mean:
// the edge zones, the line nearest to the press, drags that keep each line on
// its side of its partner, and the read-outs of a click.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/store/Recording.h"
#include "core/view/ViewState.h"

namespace vk {

enum class Line { None, F1, F2, F4, F5, B1, B2, Sh1, Sh2 };

enum EdgeZone : int { EdgeNone = 0, EdgeLeft = 1, EdgeRight = 2, EdgeTop = 3, EdgeBottom = 4 };

// Within 12 pixels of an edge, tested top, bottom, right, left: the last that holds wins.
int EdgeZoneAt(int x, int y, int width, int height);

struct LineGrab {
    Line line = Line::None;
    int moveMode = 0;  // follows the nearest line even when it is too far to grab
    int distance = 0;
};

// The line nearest to column x of an image showing f1..f2 across `width`
// pixels. B- and Sh-cursors must be nearer by more than 2 pixels, Sh-cursors
// count only where shown. In a strip a line farther than a thirtieth of the
// window's width is not grabbed.
LineGrab NearestLine(const LinePositions& at, double f1, double f2, int width, int x, bool withSh, bool inStrip);

// A press and release at least 4 pixels apart (x plus y distance) is a drag.
inline bool Dragged(int pressX, int pressY, int releaseX, int releaseY)
{
    return std::abs(releaseX - pressX) + std::abs(releaseY - pressY) >= 4;
}

// Moves a grabbed line to t if it stays on its side of its partner; returns
// the redraw request, 0 when refused.
uint32_t DragLine(LinePositions& at, Line line, double t);

// Whether a line's undo step is recorded (F-lines and B-cursors).
bool LineNeedsUndo(Line line);

struct MouseReadout {
    std::string value, time, date;
};

// The read-outs of a click at time t with value v, or (with `diff`) the
// differences to the previous click at t0 with v0.
MouseReadout ClickReadout(const Recording& rec, int slot, double t, double v, int timeAxisMode, bool diff, double t0,
                          double v0);

}  // namespace vk
