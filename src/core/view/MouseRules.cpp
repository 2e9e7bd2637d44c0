#include "core/view/MouseRules.h"

#include <cmath>
#include <cstdlib>

#include "core/store/Channel.h"
#include "core/view/PixelMap.h"
#include "core/view/Readouts.h"
#include "core/view/RedrawRequest.h"

namespace vk {

int EdgeZoneAt(int x, int y, int width, int height)
{
    int zone = EdgeNone;
    if (y < 12)
        zone = EdgeTop;
    if (y > height - 12)
        zone = EdgeBottom;
    if (x > width - 12)
        zone = EdgeRight;
    if (x < 12)
        zone = EdgeLeft;
    return zone;
}

LineGrab NearestLine(const LinePositions& at, double f1, double f2, int width, int x, bool withSh, bool inStrip)
{
    struct Candidate {
        Line line;
        double t;
        int mode;
        int margin;  // pixels by which it must be nearer than the best so far
    };
    const Candidate candidates[] = {{Line::F1, at.F1, 1, 0},    {Line::F2, at.F2, 2, 0},   {Line::F4, at.F4, 4, 0},
                                    {Line::F5, at.F5, 6, 0},    {Line::B1, at.B1, 8, 2},   {Line::B2, at.B2, 10, 2},
                                    {Line::Sh1, at.Sh1, 11, 2}, {Line::Sh2, at.Sh2, 12, 2}};
    LineGrab best;
    bool any = false;
    for (const Candidate& c : candidates) {
        if (!withSh && (c.line == Line::Sh1 || c.line == Line::Sh2))
            continue;
        const int distance = std::abs(LineColumn(c.t, f1, f2, width) - x);
        if (!any || distance + c.margin < best.distance) {
            best = {c.line, c.mode, distance};
            any = true;
        }
    }
    if (inStrip) {
        const int limit =
            static_cast<int>(std::lround((LineColumn(at.F2, f1, f2, width) - LineColumn(at.F1, f1, f2, width)) / 30.0));
        if (best.distance > limit)
            best.line = Line::None;
    }
    return best;
}

uint32_t DragLine(LinePositions& at, Line line, double t)
{
    struct Pair {
        Line line;
        double LinePositions::*self;
        double LinePositions::*partner;
        bool left;  // the line must stay before its partner
        uint32_t redraw;
    };
    static constexpr Pair pairs[] = {
        {Line::F1, &LinePositions::F1, &LinePositions::F2, true, redraw::BorderMove},
        {Line::F2, &LinePositions::F2, &LinePositions::F1, false, redraw::BorderMove},
        {Line::F4, &LinePositions::F4, &LinePositions::F5, true, redraw::CursorMove},
        {Line::F5, &LinePositions::F5, &LinePositions::F4, false, redraw::CursorMove},
        {Line::B1, &LinePositions::B1, &LinePositions::B2, true, redraw::PairMove},
        {Line::B2, &LinePositions::B2, &LinePositions::B1, false, redraw::PairMove},
        {Line::Sh1, &LinePositions::Sh1, &LinePositions::Sh2, true, redraw::PairMove},
        {Line::Sh2, &LinePositions::Sh2, &LinePositions::Sh1, false, redraw::PairMove},
    };
    for (const Pair& p : pairs) {
        if (p.line != line)
            continue;
        if (p.left ? t >= at.*p.partner : t <= at.*p.partner)
            return redraw::Nothing;
        at.*p.self = t;
        return p.redraw;
    }
    return redraw::Nothing;
}

bool LineNeedsUndo(Line line)
{
    return line != Line::None && line != Line::Sh1 && line != Line::Sh2;
}

MouseReadout ClickReadout(const Recording& rec, int slot, double t, double v, int timeAxisMode, bool diff, double t0,
                          double v0)
{
    MouseReadout r;
    const double rate = ChannelView(rec, slot).interval();
    r.value = FormatReadout(diff ? v - v0 : v, 6);
    if (diff) {
        const double dt = std::fabs(t - t0);
        if (timeAxisMode == 0)
            r.time = FormatDuration(std::round(dt));
        else
            r.date = std::to_string(static_cast<long long>(std::floor(dt / rate)));
        return r;
    }
    if (timeAxisMode == 0) {
        const double at = rec.time.GlobalStart + std::round(t);
        r.time = FormatClock(at);
        r.date = FormatDate(at);
    } else {
        r.date = std::to_string(static_cast<long long>(std::floor(t / rate)));
    }
    return r;
}

}  // namespace vk
