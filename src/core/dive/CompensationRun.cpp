#include "core/dive/CompensationRun.h"

#include <cmath>

#include "core/dive/DiveSearch.h"
#include "core/dive/ResultStep.h"
#include "core/store/Channel.h"
#include "core/view/RedrawRequest.h"

namespace vk {

void PlaceCompensationStart(const Recording& rec, int slot, ViewState& view, double startDepth)
{
    const double interval = ChannelView(rec, slot).interval();
    if (interval <= 0)
        return;
    LinePositions& at = view.at;
    for (double* t : {&at.F1, &at.F2, &at.F4, &at.F5, &at.B1, &at.B2})
        *t = std::trunc(*t / interval) * interval;
    auto y = [&](int32_t i) { return ReadValue(rec, i, slot).value; };
    auto i = static_cast<int32_t>(at.F4 / interval);
    while (i > 0 && y(i) < startDepth)
        --i;
    at.F4 = i * interval;
    const double y0 = y(i), y1 = y(i + 1);
    if (y1 != y0)
        at.F4 += std::nearbyint((startDepth - y0) / (y1 - y0) * interval);
}

CommandResult RepeatCompensation(CommandContext& cx, CompensationPreview* preview, const CompensationHooks& hooks)
{
    const int slot = AnalysisSlot;
    cx.undo.Push(UndoKind::View, slot, redraw::Everything);  // the lines as they were
    CommandResult result = redraw::Everything;
    const CompensationSettings s = cx.settings().compensation;
    bool repeat = true;
    while (repeat) {
        DiveContext dc = ResultContext{cx.wb, cx.view, cx.ui, cx.undo}.dive();
        const SearchOutcome o = SearchNext(dc, cx.settings().dive);
        if (!o.accepted || o.refused)
            break;
        PlaceCompensationStart(cx.rec, slot, cx.view, s.CompStartDepth);
        if (hooks.framed)
            hooks.framed();
        const CommandResult one = CompensateInertia(cx, slot, s, repeat, preview, cx.view.at.F5, cx.view.at.F4);
        result.changed.add(one.changed.bySlot[static_cast<std::size_t>(slot)]);
        if (hooks.halted && hooks.halted())
            break;
    }
    return result;
}

}  // namespace vk
