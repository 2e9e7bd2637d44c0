#include "core/dive/DiveSearch.h"
#include "core/calc/LineFit.h"

#include <algorithm>
#include <cmath>

#include "core/dive/BottomPhase.h"
#include "core/dive/DiveEdges.h"
#include "core/dive/DiveFrame.h"
#include "core/dive/DiveShapes.h"
#include "core/dive/DiveStops.h"
#include "core/dive/SurfaceCheck.h"
#include "core/dive/Wiggles.h"
#include "core/store/Channel.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

// Shape and bottom of the dive F4..F5 with maximum depth M.
int32_t ShapeAndBottom(DiveContext& cx, const DiveParameters& p, const ChannelSeries& depth, DiveFrame& f, double m,
                       int32_t maxIdx)
{
    DiveRecord& r = cx.state.record;
    const YResult y = TestY(depth, f.F4, f.F5, m, p);
    int32_t code = y.isY ? ShapeY : ShapeU;
    r.figures = FiguresOf(depth, f.F4, f.F5, m, y);
    const DiveFigures& fig = r.figures;

    f.t8 = f.t9 = NAN;
    if (p.BottomKind == BottomSearchKind::FixBottom) {
        code = ShapeU;
        FixedBottom(depth, f, m, p.ThrBott);
    } else {
        if (code != ShapeY)
            code = TestU(depth, f.F4, f.F5, m, p.RelBottSurf) ? ShapeU : ShapeV;
        switch (p.BottomKind) {
        case BottomSearchKind::Tamrin: TamrinBottom(depth, f, p.SlopBoB); break;
        case BottomSearchKind::WiggleDefined: {
            // The bottom is not known yet: the wiggles of the whole dive place it.
            DiveWiggles(depth, WholeDive(f), p, cx.state.wiggles, r.wiggles, cx.ui);
            if (!WiggleBottom(cx.state.wiggles, f, m, p.WiggDefPercent))
                GradientBottom(depth, f, fig, p);
            break;
        }
        default: GradientBottom(depth, f, fig, p); break;
        }
        if (f.F9 < f.F8)
            f.F9 = f.F8 + 1;
        if (f.F9 - f.F8 < 4 && code == ShapeY)
            code = ShapeU;
    }

    code = TestWL(cx.rec, depth, f, code, p, cx.ui);
    if ((code == ShapeV || code == ShapeU || code == ShapeL) && TestParabola(depth, f.F4, f.F5, m, p.ParabolaHeight))
        code = ShapeParabola;

    r.descentGradient = r.ascentGradient = Missing;
    if (p.WiggMethod == WiggleMethod::None && !p.DiveStops && (code == ShapeU || code == ShapeL)) {
        r.descentGradient = std::fabs(FitLine(depth, f.F4, f.F8).gradient);
        r.ascentGradient = std::fabs(FitLine(depth, f.F9, f.F5).gradient);
        if (r.descentGradient < p.NoCategoryGradient || r.ascentGradient < p.NoCategoryGradient)
            code = ShapeNone;
    }

    const bool normalOrTamrin = p.BottomKind == BottomSearchKind::Normal || p.BottomKind == BottomSearchKind::Tamrin;
    if (code == ShapeV && normalOrTamrin) {
        f.F8 = f.F9 = maxIdx;
        f.t8 = f.t9 = NAN;
    }
    if (p.BottomKind != BottomSearchKind::WiggleDefined && f.F8 == f.F9 && code != ShapeParabola)
        code = ShapeV;
    return code;
}

}  // namespace

SearchOutcome FrameNextDive(DiveContext& cx, const DiveParameters& p, DiveFraming& framing)
{
    SearchOutcome out;
    framing = DiveFraming{};
    DiveState& st = cx.state;
    if (p.Threshold < 3.0)
        st.surfaceNoise = 0.05;
    if (p.LenRest <= 0) {
        cx.ui.message(" Illegal parameter ^S-R", Severity::Error);
        out.refused = true;
        return out;
    }
    const ChannelSeries whole(cx.rec, AnalysisSlot);
    const double interval = whole.interval();
    if (!HoldsData(cx.rec, AnalysisSlot) || !(interval > 0)) {
        out.endOfData = true;
        return out;
    }
    DiveFrame f = FrameOf(cx.view.at, interval);
    const int32_t n = whole.count();
    const int32_t previousEnd = f.F5;

    // Onset candidate: deeper than the threshold and still descending. The
    // stretches between missing values are searched one after another, and
    // the dive is framed in its stretch alone.
    int32_t i = std::max(f.F5, 0);
    int32_t stretchAt = i;
    ChannelSeries depth = StretchSeries(cx.rec, AnalysisSlot, i);
    ChannelDescriptor& d = cx.rec.desc(AnalysisSlot);
    if (p.TrekBaseline && !d.bApplyPolynom && !st.baselineTaken) {
        // The band a dive ends in lies at the baseline, which each dive's end
        // levels. Before the first dive the record's surface stands in for it:
        // an offset surface would keep a first shallow dive from ending.
        const SurfaceEstimate s = EstimateSurface(cx.rec, AnalysisSlot);
        if (s.known && std::fabs(s.level) < p.Threshold) {
            cx.undo.Push(UndoKind::Baseline, AnalysisSlot, redraw::YScale);
            d.yOffset += s.level;
            out.baselineShifted = true;
        }
        st.baselineTaken = true;
    }
    while (true) {
        const int32_t end = depth.count();
        i = std::max(i, depth.first());
        while (i < end && !(depth(i) > p.Threshold && depth(i + 1) - depth(i - 1) > 0))
            ++i;
        if (i < end || end >= n)
            break;
        i = AfterMissing(cx.rec, AnalysisSlot, end);
        stretchAt = i;
        depth = StretchSeries(cx.rec, AnalysisSlot, i);
    }
    if (i >= n) {
        out.endOfData = true;
        return out;
    }
    // Missing values before or after the stretch: a dive reaching them is
    // framed up to them when the value beyond them lies at the surface (only
    // its start or end is missing), and passed over otherwise.
    const bool missingAfter = depth.count()<n, missingBefore = depth.first()> 0;
    const int32_t afterStretch = missingAfter ? AfterMissing(cx.rec, AnalysisSlot, depth.count()) : n;
    const int32_t beforeStretch = missingBefore ? BeforeMissing(cx.rec, AnalysisSlot, depth.first() - 1) : -1;
    auto surface = [&](int32_t index) { return index < 0 || index >= n || whole(index) <= p.Threshold; };
    auto passOver = [&](int32_t resume) {
        cx.view.at.F5 = resume * interval;
        return out;
    };

    EdgeSearch edges{depth, p, st.surfaceNoise};
    // The end, -1 at the end of the data, -2 when missing values cut the dive.
    auto findEnd = [&] {
        const int32_t end = edges.End(i);
        if (!missingAfter)
            return end;
        if (end < 0)
            return -2;
        const int32_t last = depth.count() - 1;
        if (end >= last - 1 && depth(end) > p.Threshold)
            return surface(afterStretch) ? last : -2;
        return end;
    };
    f.F5 = findEnd();
    if (f.F5 >= 0 && p.TrekBaseline && !d.bApplyPolynom) {
        const double baseline = BaselineAfterDive(cx.rec, depth, f.F5, p.Threshold, cx.ui);
        if (0.3 * edges.max > std::fabs(baseline)) {
            cx.undo.Push(UndoKind::Baseline, AnalysisSlot, redraw::YScale);
            d.yOffset += baseline;
            out.baselineShifted = true;
            f.F5 = findEnd();
        }
    }
    if (f.F5 == -2)
        return passOver(afterStretch);
    if (f.F5 < 0) {
        out.endOfData = true;
        return out;
    }

    f.F4 = std::max(edges.Onset(i), previousEnd);
    if (missingBefore && f.F4 == depth.first() && depth(f.F4) > p.Threshold && !surface(beforeStretch))
        return passOver(f.F5);
    const double duration = std::round((f.F5 - f.F4) * interval * cx.setup.commSampInterval);
    out.accepted = duration / 1000 > p.MinDiveDuration;
    out.maxDepth = edges.max;

    // The window depends on the onset and the end alone.
    if (!(p.FloatWindow && f.F5 >= f.F1 && f.F5 <= f.F2)) {
        PlaceWindow(f, static_cast<int32_t>(std::clamp(p.WindowSize * 1000.0 / interval, 0.0, 1e9)), n - 1);
        out.windowMoved = true;
    }
    framing = {true, stretchAt, f, edges.max, edges.maxIdx};
    return out;
}

void ShapeFramedDive(DiveContext& cx, const DiveParameters& p, const DiveFraming& framing)
{
    const ChannelSeries depth = StretchSeries(cx.rec, AnalysisSlot, framing.stretchAt);
    DiveFrame f = framing.f;
    const int32_t code = ShapeAndBottom(cx, p, depth, f, framing.max, framing.maxIndex);
    if (cx.rec.desc(AnalysisSlot).DisplayFlags & ShowShCursors)
        f.Sh1 = f.Sh2 = (f.F8 + f.F9) / 2;
    if (f.F5 - f.F4 < 11)
        SetHint(cx.rec, HintTooFewPoints);
    DiveRecord& r = cx.state.record;
    r.shape = code;
    r.maxDepth = framing.max;
    r.maxDepthIndex = framing.maxIndex;
    PutFrame(f, depth.interval(), cx.view.at);
    cx.state.recordOnset = cx.view.at.F4;
}

SearchOutcome SearchNextDive(DiveContext& cx, const DiveParameters& p)
{
    DiveFraming framing;
    const SearchOutcome out = FrameNextDive(cx, p, framing);
    if (framing.framed)
        ShapeFramedDive(cx, p, framing);
    return out;
}

SearchOutcome SearchDives(DiveContext& cx, const DiveParameters& p)
{
    SearchOutcome out;
    bool moved = false;
    do {
        const double before = cx.view.at.F5;
        out = SearchNextDive(cx, p);
        moved = moved || out.windowMoved;
        if (!out.refused && !out.endOfData && !(cx.view.at.F5 > before))
            out.endOfData = true;  // no progress: nothing further to find
    } while (!out.accepted && !out.endOfData && !out.refused);
    out.windowMoved = moved;
    return out;
}

void FindWiggles(DiveContext& cx, const DiveParameters& p)
{
    const ChannelSeries depth = DiveSeries(cx.rec, cx.view.at);
    DiveFrame f = FrameOf(cx.view.at, depth.interval());
    if (p.BottomKind == BottomSearchKind::WiggleDefined)
        f = WholeDive(f);
    DiveWiggles(depth, f, p, cx.state.wiggles, cx.state.record.wiggles, cx.ui);
}

void FitDepthRange(ChannelDescriptor& d, double maxDepth)
{
    d.Min = d.yOffset - maxDepth / 20;
    d.Max = d.yOffset + maxDepth + maxDepth / 20;
    if (d.Max - d.Min < 0.0001)
        d.Max = d.Min + 2;
}

void WigglesAndStops(DiveContext& cx, const DiveParameters& p, bool searched)
{
    if (!searched || p.BottomKind != BottomSearchKind::WiggleDefined)
        FindWiggles(cx, p);
    if (p.DiveStops)
        FindDiveStops(DiveSeries(cx.rec, cx.view.at), cx.view.at, p, cx.state.stops);
    else
        cx.state.stops = StopTable{};
}

SearchOutcome SearchNext(DiveContext& cx, const DiveParameters& p)
{
    if (p.EndDiveValid)
        cx.state.record.previous.end = cx.view.at.F5;
    const SearchOutcome out = SearchDives(cx, p);
    if (out.accepted) {
        WigglesAndStops(cx, p, true);
        if (p.AdjustYSize)
            FitDepthRange(cx.rec.desc(AnalysisSlot), out.maxDepth);
    }
    return out;
}

bool AnalysisChannelReady(const Recording& rec, int active, VkDialogs& ui)
{
    if (active != AnalysisSlot) {
        ui.message("No analysis available for this channel.", Severity::Information);
        return false;
    }
    if (!HoldsValues(rec, AnalysisSlot)) {
        ui.message(
            " The depth channel holds no values: there is nothing to analyse. Check its file, column and "
            "separator in the main dialog.",
            Severity::Warning);
        return false;
    }
    return true;
}

bool FrameHasValues(const Recording& rec, const LinePositions& at, VkDialogs& ui)
{
    const DiveFrame f = FrameOf(at, ChannelView(rec, AnalysisSlot).interval());
    if (!AnyMissing(rec, AnalysisSlot, f.F4, int64_t{f.F5} + 1))
        return true;
    ui.message(
        " F4..F5 holds samples without a value. Frame a dive with Search next (Q), or move the cursors "
        "onto one dive.",
        Severity::Warning);
    return false;
}

bool AnalyseFramedDive(DiveContext& cx, const DiveParameters& p)
{
    const LinePositions& at = cx.view.at;
    if (!FrameHasValues(cx.rec, at, cx.ui))
        return false;
    if (at.B1 < at.F4 || at.B2 > at.F5)
        cx.ui.message("Bottom Cursor F8 F9 outside dive!", Severity::Warning);
    WigglesAndStops(cx, p, false);  // for the cursors as they stand
    return AnalyseDive(cx.rec, at, p, cx.state, cx.setup, cx.ui);
}

}  // namespace vk
