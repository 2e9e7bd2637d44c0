#include "core/dive/Bouts.h"

#include <algorithm>
#include <cmath>

#include "core/calc/Extrema.h"
#include "core/dive/DiveFrame.h"
#include "core/dive/DiveStops.h"
#include "core/dive/ResultTables.h"
#include "core/store/Channel.h"
#include "core/store/MessagesOnce.h"
#include "core/store/TimeBase.h"

namespace vk {

namespace {

constexpr double Unset = Unreached;

double Ratio(double a, double b)
{
    return b != 0 ? a / b : Unset;
}

int32_t Points(double ms, double interval)
{
    return static_cast<int32_t>(std::clamp(ms / interval, -2e9, 2e9));
}

}  // namespace

void BoutSums::add(const DiveRecord& r, const StopTable& stops, int32_t bottomExtrema, double interval,
                   bool stopsSearched)
{
    BoutSummary& s = s_;
    ++s.dives;
    s.wiggles += std::max(bottomExtrema - 1, 0);
    s.stops += stops.total();
    stopsSearched_ = stopsSearched;
    static constexpr int column[7] = {0, 1, 2, 3, 5, 4, -1};  // V U Y W parabola L none -> V U Y W L P
    if (r.shape >= 0 && r.shape < 7 && column[r.shape] >= 0)
        ++s.shapes[static_cast<std::size_t>(column[r.shape])];
    s.longestDive = std::max(s.longestDive, r.duration / 1000);
    s.deepestDive = std::max(s.deepestDive, r.maxDepth);
    const double divePoints = r.duration / interval;
    if (r.bottomDuration > 0) {
        s.deepestWithBottom = std::max(s.deepestWithBottom, r.maxDepth);
        withBottomSums += r.depthSum;
        withBottomPoints += divePoints;
        s.totalBottomTime += r.bottomDuration / 1000;
        if (Known(r.bottomDepthSum)) {  // not for a dive too long to analyse
            bottomDepthSums += r.bottomDepthSum;
            bottomPoints += r.bottomDuration / interval;
        }
    } else {
        s.deepestWithoutBottom = std::max(s.deepestWithoutBottom, r.maxDepth);
        withoutBottomSums += r.depthSum;
        withoutBottomPoints += divePoints;
    }
    durations += r.duration;
    maxDepths += r.maxDepth;
    depthSums += r.depthSum;
    points += divePoints;
    if (Known(r.depthIntegral))
        integrals += r.depthIntegral;
    // A phase of no length has no rate: it counts in neither mean.
    if (Known(r.descentRate)) {
        descentRates += r.descentRate;
        ++descentRated;
        descentWeighted += r.descentDuration / interval * r.descentRate;
        descentPoints += r.descentDuration / interval;
    }
    if (Known(r.ascentRate)) {
        ascentRates += r.ascentRate;
        ++ascentRated;
        ascentWeighted += r.ascentDuration / interval * r.ascentRate;
        ascentPoints += r.ascentDuration / interval;
    }
}

BoutSummary BoutSums::summary(int32_t onsetIndex, double onset, double end, double pauseAfter) const
{
    BoutSummary s = s_;
    s.onsetIndex = onsetIndex;
    s.onsetTime = onset;
    s.endTime = end;
    s.duration = (end - onset) / 1000;
    if (!stopsSearched_)
        s.stops = -1;
    if (s.dives == 0)
        return s;
    s.meanDepthWithBottom = withBottomPoints > 0 ? withBottomSums / withBottomPoints : Unset;
    s.meanDepthWithoutBottom = withoutBottomPoints > 0 ? withoutBottomSums / withoutBottomPoints : Unset;
    s.totalDiveTime = durations / 1000;
    s.meanDiveDuration = durations / 1000 / s.dives;
    s.meanMaxDepth = maxDepths / s.dives;
    s.meanDepth = Ratio(depthSums, points);
    s.meanBottomDepth = bottomPoints > 0 ? bottomDepthSums / bottomPoints : Unset;
    s.bottomFraction = Ratio(s.totalBottomTime, s.duration);
    s.timeAveragedDepth = Ratio(integrals * 3600, s.duration);
    s.divesPerHour = Ratio(s.dives * 3600.0, s.duration);
    s.surfaceTime = s.duration - s.totalDiveTime;
    s.bottomShare = Ratio(s.totalBottomTime, s.duration + pauseAfter / 1000);
    s.meanDescentRate = Ratio(descentRates, descentRated);
    s.meanAscentRate = Ratio(ascentRates, ascentRated);
    s.weightedDescentRate = Ratio(descentWeighted, descentPoints);
    s.weightedAscentRate = Ratio(ascentWeighted, ascentPoints);
    return s;
}

int32_t BottomExtrema(const ChannelSeries& depth, const LinePositions& at, double hysteresis)
{
    const DiveFrame f = FrameOf(at, depth.interval());
    return static_cast<int32_t>(FindExtremaInStretches(
                                    depth.recording(), depth.slot(), [&depth](int32_t i) { return depth(i); }, f.F8,
                                    f.F9, hysteresis, depth.interval())
                                    .size());
}

bool PartsBouts(double pauseMs, const DiveParameters& p, double interval)
{
    return Points(pauseMs, interval) >= Points(p.BoutIntermediate * 1000.0, interval);
}

bool LongEnoughBout(double durationMs, const DiveParameters& p, double interval)
{
    return Points(durationMs, interval) > Points(p.BoutMinDur * 1000.0, interval);
}

namespace {

// The dive stops of the framed dive, as the search finds them: none while they are off.
StopTable StopsOf(const DiveContext& cx, const DiveParameters& p)
{
    StopTable stops;
    if (p.DiveStops)
        FindDiveStops(DiveSeries(cx.rec, cx.view.at), cx.view.at, p, stops);
    return stops;
}

// Adds the dive the cursors frame to the sums, analysed with its stops.
void AddFramed(DiveContext& cx, const DiveParameters& p, const StopTable& stops, BoutSums& sums)
{
    const LinePositions& at = cx.view.at;
    cx.state.stops = stops;
    AnalyseDive(cx.rec, at, p, cx.state, cx.setup, cx.ui);
    sums.add(cx.state.record, stops, BottomExtrema(DiveSeries(cx.rec, at), at, p.WiggAmplitude),
             ChannelView(cx.rec, AnalysisSlot).interval(), p.DiveStops != 0);
}

// The framed bout F4..F5 with the dives that framed it: each analysed as the
// search left it (its frame, its stops, its baseline). Cursors moved by hand
// since then frame other dives: those are searched anew.
BoutSummary Summarise(DiveContext& cx, const DiveParameters& p)
{
    LinePositions& at = cx.view.at;
    const LinePositions framed = at;
    const double interval = ChannelView(cx.rec, AnalysisSlot).interval();
    const double onset = at.F4, end = at.F5;
    const int32_t onsetIndex = static_cast<int32_t>(onset / interval);
    BoutSums sums;
    const std::vector<FramedDive>& dives = cx.state.boutDives;
    if (!dives.empty() && dives.front().at.F4 == onset && dives.back().at.F5 == end) {
        double& yOffset = cx.rec.desc(AnalysisSlot).yOffset;
        const double baseline = yOffset;
        for (const FramedDive& d : dives) {
            at = d.at;
            yOffset = d.yOffset;
            DiveRecord r = d.record;
            r.counter = cx.state.record.counter;
            r.previous = cx.state.record.previous;
            cx.state.record = r;
            AddFramed(cx, p, d.stops, sums);
        }
        yOffset = baseline;
    } else {
        at.F5 = at.F4;
        while (at.F5 < end) {
            const double before = at.F5;
            const SearchOutcome o = SearchDives(cx, p);
            if (!o.accepted || at.F5 > end || !(at.F5 > before))
                break;
            AddFramed(cx, p, StopsOf(cx, p), sums);
        }
    }
    at = framed;
    return sums.summary(onsetIndex, onset, end, cx.state.boutPause);
}

}  // namespace

BoutOutcome FindBout(DiveContext& caller, const DiveParameters& p, bool analyse)
{
    // A bout takes many searches: their warnings once each.
    MessagesOnce once(caller.ui);
    DiveContext cx{caller.rec, caller.view, caller.state, once, caller.undo, caller.setup};
    BoutOutcome out;
    const double interval = ChannelView(cx.rec, AnalysisSlot).interval();
    if (!HoldsData(cx.rec, AnalysisSlot) || Points(p.BoutMinDur * 1000.0, interval) == 0 ||
        Points(p.BoutIntermediate * 1000.0, interval) == 0)
        return out;
    LinePositions& at = cx.view.at;
    const double f1 = at.F1, f2 = at.F2;
    if (cx.state.boutCounter > 0 && analyse)
        out.summary = Summarise(cx, p);

    double onset = at.F4, lastEnd = at.F5;
    bool more = true;               // the last search found a dive
    bool any = false;               // the last round found dives
    std::vector<FramedDive> round;  // the dives of the bout framed in this round
    while (true) {
        any = false;
        round.clear();
        while (true) {
            const double before = at.F5;
            if (!SearchDives(cx, p).accepted || !(at.F5 > before)) {
                more = false;
                break;
            }
            if (!any) {
                onset = at.F4;
                any = true;
            } else if (PartsBouts(at.F4 - lastEnd, p, interval)) {
                cx.state.boutPause = at.F4 - lastEnd;
                break;
            }
            lastEnd = at.F5;
            round.push_back({at, cx.state.record, StopsOf(cx, p), cx.rec.desc(AnalysisSlot).yOffset});
        }
        if (any) {
            at.F4 = onset;
            at.F5 = lastEnd;
        }
        if (!any || !more || LongEnoughBout(lastEnd - onset, p, interval))
            break;
    }
    cx.state.boutDives.clear();
    if (any && LongEnoughBout(lastEnd - onset, p, interval)) {
        ++cx.state.boutCounter;
        out.framed = true;
        cx.state.boutDives = std::move(round);
    }
    at.F1 = f1;
    at.F2 = f2;
    if (!(p.FloatWindow && at.F4 >= f1 && at.F5 <= f2)) {
        DiveFrame f = FrameOf(at, interval);
        PlaceWindow(f, static_cast<int32_t>(std::clamp(1.5 * (f.F5 - f.F4), 0.0, 2e9)),
                    ChannelView(cx.rec, AnalysisSlot).last(), 0.5);
        at.F1 = f.F1 * interval;
        at.F2 = f.F2 * interval;
        out.windowMoved = true;
    }
    return out;
}

std::optional<BoutSummary> BoutGrouper::close(double pauseAfter, const DiveParameters& p, double interval)
{
    std::optional<BoutSummary> bout;
    if (open_ && LongEnoughBout(lastEnd_ - onset_, p, interval))
        bout = sums_.summary(onsetIndex_, onset_, lastEnd_, pauseAfter);
    sums_ = BoutSums{};
    open_ = false;
    return bout;
}

std::optional<BoutSummary> BoutGrouper::add(const DiveRecord& r, const StopTable& stops, int32_t bottomExtrema,
                                            const DiveParameters& p, double interval)
{
    std::optional<BoutSummary> bout;
    if (open_ && PartsBouts(r.onsetTime - lastEnd_, p, interval))
        bout = close(r.onsetTime - lastEnd_, p, interval);
    if (!open_) {
        open_ = true;
        onset_ = r.onsetTime;
        onsetIndex_ = r.onsetIndex;
    }
    sums_.add(r, stops, bottomExtrema, interval, p.DiveStops != 0);
    lastEnd_ = r.onsetTime + r.duration;
    return bout;
}

std::optional<BoutSummary> BoutGrouper::finish(const DiveParameters& p, double interval)
{
    return close(0, p, interval);
}

const std::vector<std::string>& BoutColumnNames()
{
    // A table laid out by hand.
    static const std::vector<std::string> names{"Bout",
                                                "Date",
                                                "Time",
                                                "Onset[s]",
                                                "Duration[s]",
                                                "Dives",
                                                "Wiggles",
                                                "DiveStops",
                                                "V",
                                                "U",
                                                "Y",
                                                "W",
                                                "L",
                                                "P",
                                                "LongestDive[s]",
                                                "DeepestDive[m]",
                                                "DeepestWithBottom[m]",
                                                "DeepestWithoutBottom[m]",
                                                "MeanDepthWithBottom[m]",
                                                "MeanDepthWithoutBottom[m]",
                                                "TotalDiveTime[s]",
                                                "MeanDiveDuration[s]",
                                                "MeanMaxDepth[m]",
                                                "MeanDepth[m]",
                                                "TotalBottomTime[s]",
                                                "MeanBottomDepth[m]",
                                                "BottomFraction",
                                                "TimeAveragedDepth[m]",
                                                "DivesPerHour",
                                                "SurfaceTime[s]",
                                                "BottomShare",
                                                "MeanDescentRate[m/s]",
                                                "MeanAscentRate[m/s]",
                                                "WeightedDescentRate[m/s]",
                                                "WeightedAscentRate[m/s]"};
    return names;
}

std::string BoutHeader(char delimiter)
{
    return HeaderLine(BoutColumnNames(), delimiter);
}

std::string BoutLine(int32_t number, const BoutSummary& b, const Recording& rec, const Settings& s)
{
    Row row(s.OutDlmt);
    row.count(number)
        .text(DateText(rec.time.GlobalStart + b.onsetTime, s.DateSep))
        .text(ClockText(rec.time.GlobalStart + b.onsetTime))
        .number(b.onsetTime / 1000, 3)
        .number(b.duration, 3)
        .count(b.dives)
        .count(b.wiggles);
    b.stops >= 0 ? row.count(b.stops) : row.empty();
    for (const int32_t n : b.shapes)
        row.count(n);
    for (const auto& [v, decimals] : {std::pair{b.longestDive, 3}, {b.deepestDive, 3},
                                      {b.deepestWithBottom, 3},    {b.deepestWithoutBottom, 3},
                                      {b.meanDepthWithBottom, 3},  {b.meanDepthWithoutBottom, 3},
                                      {b.totalDiveTime, 3},        {b.meanDiveDuration, 3},
                                      {b.meanMaxDepth, 3},         {b.meanDepth, 3},
                                      {b.totalBottomTime, 3},      {b.meanBottomDepth, 3},
                                      {b.bottomFraction, 4},       {b.timeAveragedDepth, 3},
                                      {b.divesPerHour, 3},         {b.surfaceTime, 3},
                                      {b.bottomShare, 4},          {b.meanDescentRate, 4},
                                      {b.meanAscentRate, 4},       {b.weightedDescentRate, 4},
                                      {b.weightedAscentRate, 4}})
        row.number(v, decimals);
    return row.line();
}

}  // namespace vk
