#include "core/dive/BoutFitRun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/dive/DiveAnalysis.h"
#include "core/dive/DiveFrame.h"
#include "core/store/Channel.h"
#include "core/store/MessagesOnce.h"
#include "core/store/UndoSink.h"

namespace vk {

void PauseCollector::add(const DiveRecord& r)
{
    ++dives_;
    if (!Known(r.pause))
        return;
    if (r.pauseAcrossGap)
        ++acrossGaps_;
    else
        pauses_.push_back(r.pause / 1000);
}

StretchFit FitStretchBouts(DiveContext& caller, const DiveParameters& p,
                           const std::function<bool(double share)>& halted)
{
    // Everything the search moves, kept to be put back.
    const ViewState view = caller.view;
    const DiveState state = caller.state;
    const ChannelDescriptor descriptor = caller.rec.desc(AnalysisSlot);
    MessagesOnce once(caller.ui);
    NoUndo undo;
    DiveContext cx{caller.rec, caller.view, caller.state, once, undo, caller.setup};

    StretchFit out;
    PauseCollector pauses;
    LinePositions& at = cx.view.at;
    const double start = at.F4, end = at.F5;
    at.F5 = at.F4;
    while (true) {
        const SearchOutcome o = SearchNext(cx, p);
        if (!o.accepted || at.F5 > end)
            break;
        AnalyseDive(cx.rec, at, p, cx.state, cx.setup, cx.ui);
        pauses.add(cx.state.record);
        CountDive(cx.state.record, at.F5);
        if (halted && halted(StretchDone(start, end, at.F5))) {
            out.halted = true;
            break;
        }
    }
    caller.view = view;
    caller.state = state;
    caller.rec.desc(AnalysisSlot) = descriptor;
    out.dives = pauses.dives();
    out.acrossGaps = pauses.acrossGaps();
    if (!out.halted)
        out.fit = FitBoutCriterion(pauses.pauses());
    return out;
}

std::string BoutFitLine(const BoutFit& fit)
{
    if (!fit.fitted())
        return fit.message;
    char text[160];
    std::snprintf(text, sizeof text, "p %.3f, λf 1/%.0f s, λs 1/%.0f s, criterion %.0f s from %d pauses", fit.p,
                  1 / fit.fast, 1 / fit.slow, fit.criterion, fit.pauses);
    return text;
}

}  // namespace vk
