#include "core/view/ViewCommands.h"
#include "core/store/Channel.h"
#include "core/store/Markers.h"

#include <algorithm>
#include <cmath>

#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

using redraw::AllMove;
using redraw::BorderMove;
using redraw::CursorMove;
using redraw::PairMove;
using redraw::WindowOnCursors;
constexpr uint32_t BMove = redraw::LineMove;

void Shift(double& a, double& b, double d)
{
    a += d;
    b += d;
}

// Halves the border step (not below 1) until it is shorter than the window.
void FitBorderStep(ViewState& v)
{
    while (v.borderStep >= v.at.F2 - v.at.F1 && v.borderStep > 1)
        v.borderStep = std::max(1.0, v.borderStep / 2);
}

// y-minimum and y-maximum of the active channel from its samples in F4..F5.
void RangeFromSection(const ViewState& v, Recording& rec)
{
    ChannelDescriptor& d = rec.desc(v.active);
    const ChannelView channel(rec, v.active);
    const double rate = channel.interval();
    if (!(rate > 0))
        return;
    const auto first = static_cast<int64_t>(std::floor(v.at.F4 / rate));
    const auto last = static_cast<int64_t>(std::floor(v.at.F5 / rate));
    double lo = Unreached, hi = -Unreached;
    for (int64_t i = std::max<int64_t>(first, 0); i <= last && i <= channel.last(); ++i) {
        const PhysValue p = ReadValue(rec, static_cast<int32_t>(i), v.active);
        if (p.status != 0)
            continue;
        lo = std::min(lo, p.value);
        hi = std::max(hi, p.value);
    }
    if (lo < hi) {
        d.Min = lo + d.yOffset;
        d.Max = hi + d.yOffset;
    }
}

}  // namespace

uint32_t MoveRedraw(int mode)
{
    switch (mode) {
    case ModeF1:
    case ModeF2:
    case ModeBorders: return BorderMove;
    case ModeF4:
    case ModeCursors:
    case ModeF5: return CursorMove;
    case ModeBordersAndCursors: return AllMove;
    case ModeNone: return redraw::Nothing;
    default: return BMove;
    }
}

uint32_t StepLeft(ViewState& v)
{
    LinePositions& p = v.at;
    const double bs = v.borderStep, cs = v.cursorStep;
    switch (v.moveMode) {
    case ModeF1: p.F1 = p.F1 > bs ? p.F1 - bs : 0; break;
    case ModeF2:
        if (p.F2 - p.F1 > 1) {
            FitBorderStep(v);
            p.F2 -= v.borderStep;
        }
        break;
    case ModeBorders: Shift(p.F1, p.F2, -std::min(bs, p.F1)); break;
    case ModeBordersAndCursors:
        Shift(p.F1, p.F2, -std::min(bs, p.F1));
        Shift(p.F4, p.F5, -std::min(bs, p.F4));
        break;
    case ModeF4: p.F4 = p.F4 > cs ? p.F4 - cs : 0; break;
    case ModeCursors: Shift(p.F4, p.F5, -std::min(cs, p.F4)); break;
    case ModeF5:
        if (cs <= p.F5 - p.F4)
            p.F5 -= cs;
        break;
    case ModeB1: p.B1 = cs < p.B1 ? p.B1 - cs : 0; break;
    case ModeBCursors: Shift(p.B1, p.B2, -std::min(cs, p.B1)); break;
    case ModeB2: p.B2 -= std::min(p.B2 - p.B1, cs); break;
    case ModeSh1: p.Sh1 = cs < p.Sh1 ? p.Sh1 - cs : 0; break;
    case ModeSh2: p.Sh2 -= std::min(p.Sh2 - p.Sh1, cs); break;
    default: break;
    }
    return MoveRedraw(v.moveMode);
}

uint32_t StepRight(ViewState& v)
{
    LinePositions& p = v.at;
    const double bs = v.borderStep, cs = v.cursorStep, t = v.T;
    switch (v.moveMode) {
    case ModeF1:
        if (p.F2 - p.F1 > 1) {
            FitBorderStep(v);
            p.F1 += v.borderStep;
        }
        break;
    case ModeF2: p.F2 = t - p.F2 > bs ? p.F2 + bs : t; break;
    case ModeBorders: Shift(p.F1, p.F2, std::min(bs, t - p.F2)); break;
    case ModeBordersAndCursors:
        Shift(p.F1, p.F2, std::min(bs, t - p.F2));
        Shift(p.F4, p.F5, std::min(bs, t - p.F5));
        break;
    case ModeF4:
        if (p.F5 - p.F4 >= cs)
            p.F4 += cs;
        break;
    case ModeCursors: Shift(p.F4, p.F5, std::min(cs, t - p.F5)); break;
    case ModeF5: p.F5 = cs < t - p.F5 ? p.F5 + cs : t; break;
    case ModeB1: p.B1 += std::min(p.B2 - p.B1, cs); break;
    case ModeBCursors: Shift(p.B1, p.B2, std::min(cs, t - p.B2)); break;
    case ModeB2: p.B2 = cs < t - p.B2 ? p.B2 + cs : t; break;
    case ModeSh1: p.Sh1 += std::min(p.Sh2 - p.Sh1, cs); break;
    case ModeSh2: p.Sh2 = cs < t - p.Sh2 ? p.Sh2 + cs : t; break;
    default: break;
    }
    return MoveRedraw(v.moveMode);
}

uint32_t MoveHome(ViewState& v)
{
    LinePositions& p = v.at;
    switch (v.moveMode) {
    case ModeF1: p.F1 = 0; break;
    case ModeF2: p.F2 = p.F1 + 1; break;
    case ModeBorders: Shift(p.F1, p.F2, -p.F1); break;
    case ModeF4: p.F4 = 0; break;
    case ModeCursors: Shift(p.F4, p.F5, -p.F4); break;
    case ModeF5: p.F5 = p.F4 + 1; break;
    case ModeB1: p.B1 = 0; break;
    case ModeBCursors: Shift(p.B1, p.B2, -p.B1); break;
    case ModeB2: p.B2 = p.B1 + 1; break;
    default: break;
    }
    return MoveRedraw(v.moveMode);
}

uint32_t MoveEnd(ViewState& v)
{
    LinePositions& p = v.at;
    const double t = v.T;
    switch (v.moveMode) {
    case ModeF1: p.F1 = p.F2 - 1; break;
    case ModeF2: p.F2 = t; break;
    case ModeBorders: Shift(p.F1, p.F2, t - p.F2); break;
    case ModeF4: p.F4 = p.F5 - 1; break;
    case ModeCursors: Shift(p.F4, p.F5, t - p.F5); break;
    case ModeF5: p.F5 = t; break;
    case ModeB1: p.B1 = p.B2; break;
    case ModeBCursors: Shift(p.B1, p.B2, t - p.B2); break;
    case ModeB2: p.B2 = t; break;
    default: break;
    }
    return MoveRedraw(v.moveMode);
}

uint32_t PageLeft(ViewState& v)
{
    LinePositions& p = v.at;
    const double s = p.F2 - p.F1, d = p.F5 - p.F4;
    const int m = v.moveMode;
    if (m >= ModeF1 && m <= ModeBorders) {
        if (p.F1 > s)
            Shift(p.F1, p.F2, -s);
    } else if (m >= ModeF4 && m <= ModeF5) {
        if (p.F1 > d)
            Shift(p.F1, p.F2, -(d + 1));
        if (d < p.F4)
            Shift(p.F4, p.F5, -(d + 1));
    } else if (m == ModeBordersAndCursors) {
        if (p.F1 > s)
            Shift(p.F1, p.F2, -s);
        if (s < p.F4)
            Shift(p.F4, p.F5, -s);
    } else {
        return redraw::Nothing;
    }
    return AllMove;
}

uint32_t PageRight(ViewState& v)
{
    LinePositions& p = v.at;
    const double s = p.F2 - p.F1, d = p.F5 - p.F4, t = v.T;
    const int m = v.moveMode;
    if (m >= ModeF1 && m <= ModeBorders) {
        if (t - p.F2 > s)
            Shift(p.F1, p.F2, s);
    } else if (m >= ModeF4 && m <= ModeF5) {
        if (t - p.F2 > d)
            Shift(p.F1, p.F2, d + 1);
        if (d < t - p.F5)
            Shift(p.F4, p.F5, d + 1);
    } else if (m == ModeBordersAndCursors) {
        if (t - p.F2 > s)
            Shift(p.F1, p.F2, s);
        if (s < t - p.F5)
            Shift(p.F4, p.F5, s);
    } else {
        return redraw::Nothing;
    }
    return AllMove;
}

namespace {

bool BorderKind(int mode)
{
    return (mode >= ModeF1 && mode <= ModeBorders) || mode == ModeBordersAndCursors;
}

}  // namespace

uint32_t DoubleStep(ViewState& v)
{
    if (v.moveMode == ModeNone)
        return redraw::Nothing;
    double& step = BorderKind(v.moveMode) ? v.borderStep : v.cursorStep;
    step = std::min(step * 2, std::max(v.T, 1.0));
    return redraw::TimeScale;
}

uint32_t HalveStep(ViewState& v)
{
    if (v.moveMode == ModeNone)
        return redraw::Nothing;
    double& step = BorderKind(v.moveMode) ? v.borderStep : v.cursorStep;
    step = std::max(step / 2, 1.0);
    return redraw::TimeScale;
}

uint32_t CursorsIntoBorders(ViewState& v)
{
    LinePositions& p = v.at;
    const double s = p.F2 - p.F1;
    v.moveMode = ModeCursors;
    p.F4 = p.F1 + s / 4;
    p.F5 = p.F2 - s / 4;
    v.cursorStep = std::min(v.T, s / 12);
    return CursorMove | redraw::TimeScale;
}

namespace {

// A pair of lines a third inside the window, chosen for moving.
uint32_t PairIntoBorders(ViewState& v, int mode, double& left, double& right)
{
    const double s = v.at.F2 - v.at.F1;
    v.moveMode = mode;
    left = v.at.F1 + s / 3;
    right = v.at.F2 - s / 3;
    return PairMove;
}

}  // namespace

uint32_t BCursorsIntoBorders(ViewState& v)
{
    return PairIntoBorders(v, ModeB2, v.at.B1, v.at.B2);
}

uint32_t ShCursorsIntoBorders(ViewState& v)
{
    return PairIntoBorders(v, ModeShPair, v.at.Sh1, v.at.Sh2);
}

uint32_t BordersToCursors(ViewState& v, Recording& rec)
{
    LinePositions& p = v.at;
    v.moveMode = ModeBorders;
    const double c = (p.F5 - p.F4) / 8;
    p.F1 = std::max(0.0, std::floor(p.F4 - c));
    p.F2 = std::min(v.T, std::floor(p.F5 + c));
    RangeFromSection(v, rec);
    return WindowOnCursors;
}

uint32_t BordersOntoCursors(ViewState& v, Recording& rec)
{
    v.moveMode = ModeBorders;
    v.at.F1 = v.at.F4;
    v.at.F2 = v.at.F5;
    RangeFromSection(v, rec);
    return WindowOnCursors;
}

uint32_t ZoomTimeAround(ViewState& v, double t, double factor, double least)
{
    LinePositions& p = v.at;
    const double before = p.F2 - p.F1;
    if (!(before > 0) || !(factor > 0))
        return redraw::Nothing;
    const double width = std::max(std::min(before * factor, v.T), std::min(least, v.T));
    const double share = std::clamp((t - p.F1) / before, 0.0, 1.0);
    const double f1 = std::clamp(t - share * width, 0.0, std::max(0.0, v.T - width));
    p.F1 = f1;
    p.F2 = f1 + width;
    return BorderMove;
}

uint32_t PanTime(ViewState& v, double share)
{
    LinePositions& p = v.at;
    const double width = p.F2 - p.F1;
    const double f1 = std::clamp(p.F1 + share * width, 0.0, std::max(0.0, v.T - width));
    p.F2 = f1 + width;
    p.F1 = f1;
    return BorderMove;
}

uint32_t TimeScaleClick(ViewState& v, double t)
{
    LinePositions& p = v.at;
    const double c = std::floor((p.F1 + p.F2) / 2);
    // Not past the end, and (our choice) not before the start either.
    Shift(p.F4, p.F5, std::max(std::min(t - c, v.T - p.F5), -p.F4));
    Shift(p.F1, p.F2, std::max(std::min(t - c, v.T - p.F2), -p.F1));
    return AllMove;
}

}  // namespace vk
