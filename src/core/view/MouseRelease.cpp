#include "core/view/MouseRelease.h"

#include <algorithm>

#include "core/store/Channel.h"
#include "core/view/RangeCommands.h"
#include "core/view/RedrawRequest.h"
#include "core/view/ViewCommands.h"

namespace vk {

namespace {

ReleaseOutcome AfterDrag(ViewContext& cx, const MouseRelease& r, bool upwards)
{
    LinePositions& at = cx.view.at;
    auto pushView = [&cx](uint32_t redraw) { cx.undo.Push(UndoKind::View, cx.view.active, redraw); };
    if (r.line != Line::None) {
        LinePositions trial = at;
        const uint32_t request = DragLine(trial, r.line, r.t);
        if (request == 0)
            return {};
        if (LineNeedsUndo(r.line))
            pushView(request);
        at = trial;
        return {CommandResult{request}};
    }
    if (r.edge == EdgeLeft || r.edge == EdgeRight) {
        // The border goes where the mouse was let go, but (our choice) never past its partner.
        const bool left = r.edge == EdgeLeft;
        if (!(left ? r.t < at.F2 : r.t > at.F1))
            return {};
        pushView(redraw::BorderMove);
        (left ? at.F1 : at.F2) = std::clamp(r.t, 0.0, cx.view.T);
        return {CommandResult{redraw::BorderMove}};
    }
    if (r.edge == EdgeTop || r.edge == EdgeBottom) {
        pushView(redraw::RangeChange);
        ChannelDescriptor& d = cx.rec.desc(cx.view.active);
        ((r.edge == EdgeTop) == upwards ? d.Max : d.Min) = r.v + d.yOffset;
        return {CommandResult{redraw::RangeChange}};
    }
    return {};
}

}  // namespace

ReleaseOutcome ReleaseMouse(ViewContext& cx, const MouseRelease& r)
{
    const bool upwards = ChannelView(cx.rec, cx.view.active).direction() == DrawDirection::Upwards;
    if (r.dragged)
        return AfterDrag(cx, r, upwards);
    LinePositions& at = cx.view.at;
    switch (r.edge) {
    case EdgeLeft:
    case EdgeRight: {
        const bool left = r.edge == EdgeLeft;
        const double s = at.F2 - at.F1;
        cx.undo.Push(UndoKind::View, cx.view.active, redraw::BorderMove);
        if (left)
            at.F1 = std::max(0.0, at.F1 - s / 2);
        else
            at.F2 = std::min(cx.view.T, at.F2 + s / 2);
        return {CommandResult{redraw::BorderMove}, false, left ? ModeF1 : ModeF2};
    }
    case EdgeTop:
    case EdgeBottom: {
        cx.undo.Push(UndoKind::View, cx.view.active, redraw::RangeChange);
        ChannelDescriptor& d = cx.rec.desc(cx.view.active);
        const bool widenAbove = (r.edge == EdgeTop) == upwards;  // the limit shown at that edge
        if (widenAbove)
            RangeStep(d, 0, -2);
        else
            RangeStep(d, 2, 0);
        return {CommandResult{redraw::RangeChange}};
    }
    default: return {{}, true};
    }
}

}  // namespace vk
