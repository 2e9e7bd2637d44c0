#include "core/dive/DiveAnalysis.h"
#include "core/calc/Binning.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/dive/ExtendedValues.h"
#include "core/process/Workshop.h"
#include "core/view/Readouts.h"

namespace vk {

void RatesTo90(const ChannelSeries& depth, int32_t f4, int32_t f5, double modalDepth, DiveFigures& fig)
{
    if (f5 - f4 < 4)
        return;
    const double level = 0.9 * modalDepth, perSecond = 1000.0 / depth.interval();
    int32_t i = f4;
    while (i < f5 && depth(i) < level)
        ++i;
    fig.descentPoints90 = i - f4;
    fig.descentRate90 = i > f4 ? (depth(i) - depth(f4)) / (i - f4) * perSecond : 0;
    int32_t j = f5;
    while (j > f4 && depth(j) < level)
        --j;
    fig.ascentPoints90 = f5 - j;
    fig.ascentRate90 = j < f5 ? (depth(f5) - depth(j)) / (f5 - j) * perSecond : 0;
}

DiveFigures FiguresOf(const ChannelSeries& depth, int32_t f4, int32_t f5, double maxDepth, const YResult& y)
{
    DiveFigures fig;
    fig.maxDepth = maxDepth;
    fig.modalDepth = y.modalDepth;
    fig.modalCount = y.modalCount;
    fig.f4 = f4;
    fig.f5 = f5;
    RatesTo90(depth, f4, f5, y.modalDepth, fig);
    return fig;
}

namespace {

constexpr double DegreesPerRadian = 57.29578;  // as the angles have always been written

struct Span {
    int32_t from = 0, to = 0;
};

// Speed values: distance along each phase from the speed channel, angles of
// descent and ascent, horizontal distance over the three phases.
SpeedValues SpeedOfPhases(const Recording& rec, const ChannelSeries& depth, const std::array<Span, 3>& phases,
                          int speedSlot)
{
    SpeedValues v;
    const ChannelSeries speed(rec, speedSlot);
    const double ratio = depth.interval() / speed.interval(), seconds = speed.interval() / 1000.0;
    std::array<double*, 3> distance{&v.descentDistance, &v.bottomDistance, &v.ascentDistance};
    std::array<double, 3> angle{Missing, Missing, Missing};
    for (std::size_t k = 0; k < 3; ++k) {
        const auto [a, b] = phases[k];
        if (a >= b)
            continue;
        const auto sa = static_cast<int32_t>(a * ratio), sb = static_cast<int32_t>(b * ratio);
        double d = 0;
        for (int32_t s = sa + 1; s <= sb; ++s)
            d += speed(s);
        d *= seconds;
        *distance[k] = d;
        const double change = depth(b) - depth(a);
        if (std::fabs(change) >= d)
            angle[k] = change < 0 ? -90.0 : 90.0;  // straight up or down
        else if (d > 0.00001)
            angle[k] = std::asin(change / d) * DegreesPerRadian;
        if (angle[k] != Missing)
            v.horizontalDistance = (v.horizontalDistance == Missing ? 0 : v.horizontalDistance) +
                                   std::cos(angle[k] / DegreesPerRadian) * d;
    }
    v.descentAngle = angle[0];
    v.ascentAngle = angle[2];
    return v;
}

struct TempStats {
    double sum = 0, low = 0, high = 0;
    int32_t n = 0;
    void add(double v)
    {
        low = n == 0 ? v : std::min(low, v);
        high = n == 0 ? v : std::max(high, v);
        sum += v;
        ++n;
    }
    double mean() const { return n > 0 ? sum / n : Missing; }
};

TempStats TempOver(const ChannelSeries& temp, int32_t from, int32_t to)
{
    TempStats s;
    for (int32_t i = std::max(from, 0); i <= to; ++i) {
        const PhysValue v = temp.read(i);
        if (v.status == 0)
            s.add(v.value);
    }
    return s;
}

WaterTemperature WaterTemperatureOf(const Recording& rec, const ChannelSeries& depth, const DiveFrame& f,
                                    const IndexSpan& bottom, int32_t maxIdx, int32_t surround)
{
    WaterTemperature w;
    const ChannelSeries temp(rec, TemperatureSlot);
    const double ratio = depth.interval() / temp.interval();
    auto map = [&](int32_t i) { return static_cast<int32_t>(i * ratio); };
    const auto window = std::min(static_cast<int32_t>(surround * 1000.0 / temp.interval()), f.F5 - f.F4);
    w.diveMean = TempOver(temp, map(f.F4), map(f.F5)).mean();
    if (bottom.last >= bottom.first) {
        const TempStats b = TempOver(temp, map(bottom.first), map(bottom.last));
        if (b.n > 0) {
            w.bottomMean = b.mean();
            w.bottomMin = b.low;
            w.bottomMax = b.high;
        }
    }
    const int32_t t = map(maxIdx);
    const PhysValue at = temp.read(t);
    if (at.status == 0)
        w.atMaxDepth = at.value;
    w.aroundMaxDepth = TempOver(temp, t - window, t + window).mean();
    return w;
}

}  // namespace

void DifferencesToPrevious(DiveRecord& r, const DiveParameters& p)
{
    r.durationDifference = r.duration - r.previous.duration;
    r.maxDepthDifference = r.maxDepth - r.previous.maxDepth;
    if (p.AbsDifferences) {
        r.durationDifference = std::fabs(r.durationDifference);
        r.maxDepthDifference = std::fabs(r.maxDepthDifference);
    }
}

void CountDive(DiveRecord& r, double endTime)
{
    ++r.counter;
    r.previous = {endTime, r.duration, r.maxDepth};
}

namespace {

// What the one pass over the dive found.
struct DivePass {
    int32_t maxIndex;
    double maxDepth, sum;
};

void AnalyseSamples(Recording& rec, const LinePositions& at, const DiveParameters& p, const ChannelSeries& depth,
                    const DiveFrame& f, const DivePass& pass, const AnalysisSetup& setup, VkDialogs& ui, DiveRecord& r);

}  // namespace

bool PauseAcrossGap(const Recording& rec, double onset, double pause)
{
    const double interval = ChannelView(rec, AnalysisSlot).interval();
    const int64_t from = static_cast<int64_t>(std::floor((onset - pause) / interval));
    const int64_t to = static_cast<int64_t>(std::ceil(onset / interval)) + 1;
    return rec.at(AnalysisSlot).missing.overlaps(from, to);
}

bool AnalyseDive(Recording& rec, const LinePositions& at, const DiveParameters& p, DiveState& state,
                 const AnalysisSetup& setup, VkDialogs& ui)
{
    if (!HoldsData(rec, AnalysisSlot))
        return false;
    const ChannelSeries depth = DiveSeries(rec, at);
    const double interval = depth.interval();
    const DiveFrame f = FrameOf(at, interval);
    DiveRecord& r = state.record;

    // A clean record; what the search, the wiggles and the stops found stays.
    DiveRecord fresh;
    fresh.counter = r.counter;
    fresh.previous = r.previous;
    fresh.shape = r.shape;
    fresh.descentGradient = r.descentGradient;
    fresh.ascentGradient = r.ascentGradient;
    fresh.wiggles = r.wiggles;
    fresh.figures = r.figures;
    r = fresh;
    r.onsetIndex = f.F4;
    r.onsetTime = at.F4;
    state.recordOnset = at.F4;

    // One pass over the dive.
    double maxDepth = -HUGE_VAL, sum = 0;
    int32_t maxIdx = f.F4, above = 0, below = 0, points = 0;
    for (int32_t i = f.F4; i <= f.F5; ++i) {
        const double v = depth(i);
        if (v > p.TimeAbove)
            ++above;
        if (v <= p.TimeBelow)
            ++below;
        if (v > maxDepth) {
            maxDepth = v;
            maxIdx = i;
        }
        sum += v;
        ++points;
    }
    if (points == 0)
        maxDepth = 0;
    if (p.TimeAbove != 0)
        r.timeAbove = above * interval;
    if (p.TimeBelow != 0)
        r.timeBelow = below * interval;
    r.maxDepth = maxDepth;
    r.maxDepthIndex = maxIdx;
    r.depthSum = sum;

    // Pause and differences to the previous dive, when there is one before this onset.
    r.duration = at.F5 - at.F4;
    if (r.counter != 0 && at.F4 >= r.previous.end) {
        r.pause = at.F4 - r.previous.end;
        r.pauseAcrossGap = PauseAcrossGap(rec, at.F4, r.pause);
        DifferencesToPrevious(r, p);
    }

    // Phases, and their rates in m/s where they last.
    r.descentDuration = at.B1 - at.F4;
    r.bottomDuration = at.B2 - at.B1;
    r.ascentDuration = at.F5 - at.B2;
    auto rate = [&](double from, double to) {
        const auto a = ValueAtTime(rec, AnalysisSlot, from, true), b = ValueAtTime(rec, AnalysisSlot, to, true);
        return to > from && a && b ? (*b - *a) / (to - from) * 1000 : Missing;
    };
    r.descentRate = rate(at.F4, at.B1);
    r.bottomRate = rate(at.B1, at.B2);
    r.ascentRate = rate(at.B2, at.F5);

    r.meanDepth = points > 0 ? sum / points : 0;

    if (f.F5 < f.F4)
        return true;

    // Whatever the dive's length it is analysed whole; a dive whose samples
    // cannot be held keeps the values above and is marked too long.
    if (int64_t{f.F5} - f.F4 + 1 > setup.mostSamples) {
        r.tooLong = true;
        return true;
    }
    DiveRecord whole = r;
    try {
        AnalyseSamples(rec, at, p, depth, f, {maxIdx, maxDepth, sum}, setup, ui, whole);
    } catch (const std::bad_alloc&) {
        r.tooLong = true;
        return true;
    }
    r = std::move(whole);
    return true;
}

namespace {

void AnalyseSamples(Recording& rec, const LinePositions& at, const DiveParameters& p, const ChannelSeries& depth,
                    const DiveFrame& f, const DivePass& pass, const AnalysisSetup& setup, VkDialogs& ui, DiveRecord& r)
{
    const double interval = depth.interval();
    const int32_t maxIdx = pass.maxIndex;
    const double maxDepth = pass.maxDepth, sum = pass.sum;
    r.depthIntegral = sum / 1000 / 3600 * interval;

    // The figures the search found, anew for cursors moved by hand.
    if (r.figures.f4 != f.F4 || r.figures.f5 != f.F5)
        r.figures = FiguresOf(depth, f.F4, f.F5, maxDepth, TestY(depth, f.F4, f.F5, maxDepth, p));

    // The bottom samples: from the first at or after the bottom start to the
    // last at or before its end (a start between samples is not rounded down
    // onto the shallower sample before it).
    const bool hasBottom = r.bottomDuration > 0;
    const IndexSpan bottom = hasBottom ? BottomSamples(at, interval) : IndexSpan{0, -1};
    if (bottom.last >= bottom.first) {
        std::vector<double> values;
        double squares = 0, vertical = 0;
        for (int32_t i = bottom.first; i <= bottom.last; ++i) {
            const double v = depth(i);
            values.push_back(v);
            squares += v * v;
            if (i > bottom.first)
                vertical += std::fabs(v - depth(i - 1));
        }
        const double n = static_cast<double>(values.size());
        double bsum = 0;
        for (const double v : values)
            bsum += v;
        r.bottomMedian = HistogramMedian(values);
        r.bottomMinimum = *std::min_element(values.begin(), values.end());
        r.bottomDepthSum = bsum;
        r.bottomMean = bsum / n;
        const double var = (squares - r.bottomMean * bsum) / n;
        r.bottomStdDev = var > 0 ? std::sqrt(var) : 0;
        double spread = 0;
        for (const double v : values)
            spread += (v - r.bottomMean) * (v - r.bottomMean);
        r.bottomSpread = std::sqrt(spread / n);
        r.bottomVerticalDistance = vertical;
    }

    if (p.SpeedAnalysis && setup.speedSlot >= 0 && setup.speedSlot < SlotCount && HoldsData(rec, setup.speedSlot))
        r.speed = SpeedOfPhases(rec, depth, {Span{f.F4, f.F8}, Span{f.F8, f.F9}, Span{f.F9, f.F5}}, setup.speedSlot);

    if (r.duration > 0)
        r.bottomFraction = r.bottomDuration / r.duration;
    if (maxDepth > 0 && Known(r.bottomMinimum))
        r.relativeBottomRange = (maxDepth - r.bottomMinimum) / maxDepth;

    if (hasBottom) {
        if (Known(r.pause) && r.pause + r.duration > 0)
            r.bottomShareOfCycle = r.bottomDuration / (r.pause + r.duration);
        r.maxPositionInBottom = ((maxIdx - f.F4) * interval - r.descentDuration) / r.bottomDuration;
        Workshop ws(rec, AnalysisSlot, bottom.first, bottom.last + 1, ui);
        if (ws.active() && ws.length() > 2) {
            ws.Difference();
            ws.Difference();
            double total = 0;
            for (const double v : ws.values())
                total += std::fabs(v);
            const double seconds = interval / 1000;
            r.bottomRoughness = total / (seconds * seconds) / (bottom.last - bottom.first + 1);
        }
    }

    // Depth classes: values outside MinBin..MaxBin are not counted.
    if (p.Frequencies && p.NrBins > 0 && p.MaxBin > p.MinBin) {
        const int32_t bins = std::min(p.NrBins, MaxDepthBins);
        const double width = (p.MaxBin - p.MinBin) / p.NrBins;
        r.depthClasses.assign(static_cast<std::size_t>(bins), 0);
        for (int32_t i = f.F4; i <= f.F5; ++i) {
            const double c = std::floor((depth(i) - p.MinBin) / width);
            if (c >= 0 && c < bins)
                r.depthClasses[static_cast<std::size_t>(c)]++;
        }
    }

    if (p.WaterTemp && HoldsData(rec, TemperatureSlot))
        r.temperature = WaterTemperatureOf(rec, depth, f, bottom, maxIdx, p.SurroundMaxDepth);

    const DiveTimes times{at.F4, at.B1, at.B2, at.F5, maxIdx * interval, r.counter == 0 ? at.F4 : r.previous.end};
    r.extended = ExtendedValues(rec, times, p, setup.commSampInterval, ui);

    r.analysed = true;
}

}  // namespace

}  // namespace vk
