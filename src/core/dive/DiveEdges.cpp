#include "core/dive/DiveEdges.h"
#include "core/store/Markers.h"

#include <algorithm>
#include <cmath>

#include "core/process/Workshop.h"

namespace vk {

SlopeWalk::SlopeWalk(const ChannelSeries& depth, int dir, int spacing, int count)
        : depth_(depth),
          dir_(dir),
          spacing_(std::max(spacing, 1)),
          count_(count),
          sums_(static_cast<std::size_t>(std::max(spacing, 1)))
{
}

double SlopeWalk::at(int32_t i)
{
    if (count_ < 1)
        return 0;
    Sum& s = sums_[static_cast<std::size_t>(((i % spacing_) + spacing_) % spacing_)];
    if (s.at == Shifted(i, -spacing_)) {  // the window moved on by one place
        s.value += dir_ > 0 ? depth_(Shifted(i, int64_t{count_} * spacing_)) - depth_(i)
                            : depth_(Shifted(i, -spacing_)) - depth_(Shifted(i, -int64_t{spacing_} * (count_ + 1)));
    } else if (s.at != i) {
        s.value = 0;
        for (int k = 1; k <= count_; ++k)
            s.value += depth_(Shifted(i, int64_t{k} * spacing_ * dir_));
    }
    s.at = i;
    return (s.value - count_ * depth_(i)) / count_ / ((count_ + 1) / 2.0) * 1000.0 / depth_.interval();
}

double SurfaceBand(double maxDepth, double baselineQuality)
{
    const double decades = maxDepth > 0 ? std::log10(maxDepth) : 0.0;
    return std::max(decades, 0.2) * baselineQuality;
}

Kink KinkAt(const ChannelSeries& depth, int32_t x, int32_t w)
{
    Kink k;
    const int32_t room = w + w / 2;
    if (w < 1 || x - depth.first() < room || x + room > depth.count() - 1)
        return k;
    double before = 0, after = 0;
    for (int32_t j = 0; j <= w; ++j) {
        before += depth(x - j);
        after += depth(x + j);
    }
    before /= w + 1;
    after /= w + 1;
    const double at = depth(x);
    k.found = true;
    k.before = (at - before) * 2 / w;
    k.after = (after - at) * 2 / w;
    k.curvature = k.after - k.before;
    return k;
}

bool EdgeSearch::EndTest(int32_t b, int c) const
{
    const PhysValue v = depth.read(b);
    const bool surfaceClause =
        (p.Criterion == OnsetCriterion::And || p.Criterion == OnsetCriterion::OnlySlope) && v.value < surfaceNoise;
    if (v.value > p.Threshold || v.value > band)
        return surfaceClause;  // too deep to end here: the slope need not be looked at
    const double slope = SlopeEstimate(depth, b, c, p.LenRest, p.LenRest);
    const bool slopeHolds = -slope <= p.SlopEoD;
    const bool levelHolds = v.value <= (1 - p.Level) * max;
    bool result = false;
    switch (p.Criterion) {
    case OnsetCriterion::And: result = slopeHolds && levelHolds; break;
    case OnsetCriterion::Or: result = slopeHolds || levelHolds; break;
    case OnsetCriterion::OnlyLevel: result = levelHolds; break;
    case OnsetCriterion::OnlySlope: result = slopeHolds; break;
    case OnsetCriterion::OnlyLevelAbs: result = v.value <= p.Level; break;
    }
    if (v.status == 0 && v.value - depth(b + c) > 0.05 * max)
        result = false;  // still a steep change
    return result || surfaceClause;
}

int32_t EdgeSearch::End(int32_t b)
{
    const int32_t n = depth.count();
    if (n - 1 - b < 6)
        return -1;
    max = depth(b);
    maxIdx = b;
    // Climb until the depth falls on both look-ahead points or is back above the threshold.
    int32_t g = b;
    for (int steps = 1;; ++steps) {
        ++g;
        const double v = depth(g);
        if (v > max) {
            max = v;
            maxIdx = g;
        }
        const bool falling = depth(g + 3) < v && depth(g + 4) < v;
        if (falling || v <= p.Threshold || steps >= walkLimit(16000) || g >= n - 1)
            break;
    }
    surfaceNoise = std::min(surfaceNoise, 0.005 * max);
    band = SurfaceBand(max, p.BaselineQuality);
    if (p.AutoDive) {
        g = autoEnd(g);
        if (g < 0)
            return -1;
    } else {
        for (int steps = 0; !EndTest(g, +1); ++steps) {
            if (g + 1 >= n - 1 || steps >= walkLimit(40000))
                break;
            ++g;
            const double v = depth(g);
            if (v > max) {
                max = v;
                maxIdx = g;
            }
        }
    }
    // A flat maximum: its middle.
    int32_t j = 0;
    while (maxIdx + j + 1 < n && depth.raw(maxIdx + j + 1) == depth.raw(maxIdx + j))
        ++j;
    if (j > 1)
        maxIdx += j / 2;
    return g;
}

int32_t EdgeSearch::Onset(int32_t i)
{
    if (p.AutoDive)
        return autoOnset(i);
    int32_t b = i;
    for (int steps = 0; !EndTest(b, -1); ++steps) {
        if (b <= depth.first() || steps >= walkLimit(30000))
            break;
        --b;
    }
    return b;
}

int32_t EdgeSearch::walkLimit(int32_t atOneSecond) const
{
    constexpr double OneSecond = 1000.0;
    const double perSecond = OneSecond / depth.interval();
    return perSecond > 1 ? static_cast<int32_t>(std::min(atOneSecond * perSecond, 1e9)) : atOneSecond;
}

int32_t EdgeSearch::window() const
{
    int32_t w = static_cast<int32_t>(std::clamp(0.6 * max * 1000.0 / depth.interval(), 1.0, 1e9));
    if (w > 9)
        w = static_cast<int32_t>(std::sqrt(w)) + 1;
    return w;
}

int32_t EdgeSearch::autoEnd(int32_t g)
{
    const int32_t n = depth.count();
    const int32_t w = window();
    for (int steps = 0;; ++g, ++steps) {
        if (g >= n - 1 || steps > walkLimit(15000))
            return -1;
        const double v = depth(g);
        if (v > max) {  // the dive's deepest point may lie after the climb
            max = v;
            maxIdx = g;
        }
        const Kink k = KinkAt(depth, g, w);
        if (!k.found)
            continue;
        if ((v < 0 && k.before > -0.1) || (k.before < -0.1 && k.after >= -0.0002 && v < p.Threshold && v < band))
            break;
    }
    surfaceNoise = 0.11 * max;
    int32_t best = -1;
    double bestCurvature = 0;
    for (int32_t x = std::min(g + w / 4, n - 1); x >= depth.first(); --x) {
        const double v = depth(x);
        if (v > p.Threshold || v > band)
            break;
        const Kink k = KinkAt(depth, x, w);
        if (k.found && k.before < 0 && k.before < k.after && (best < 0 || k.curvature > bestCurvature)) {
            best = x;
            bestCurvature = k.curvature;
        }
    }
    return best >= 0 ? best : g;
}

int32_t EdgeSearch::autoOnset(int32_t i)
{
    const int32_t n = depth.count();
    const int32_t w = window();
    int32_t x = i;
    for (int steps = 0; steps < walkLimit(15000) && x > depth.first(); ++steps, --x) {
        const Kink k = KinkAt(depth, x, w);
        if (!k.found)
            continue;
        const double v = depth(x);
        if ((v < 0 && k.before < 0.1) || (k.before <= 0.0002 && k.after > 0.1 && v < p.Threshold && v < band))
            break;
    }
    surfaceNoise = 0.1 * max;
    int32_t best = -1;
    double bestCurvature = -Unreached;
    for (int32_t y = std::max(x - w / 8, depth.first()); y < n; ++y) {
        const double v = depth(y);
        if (v > p.Threshold || v > band)
            break;
        const Kink k = KinkAt(depth, y, w);
        if (k.found && k.after > 0 && k.after > k.before && k.curvature > bestCurvature) {
            best = y;
            bestCurvature = k.curvature;
        }
    }
    return best >= 0 ? best : x;
}

double BaselineAfterDive(Recording& rec, const ChannelSeries& depth, int32_t f5, double threshold, VkDialogs& ui)
{
    const int32_t n = depth.count();
    int32_t count = 0;
    while (count < 1000 && f5 + count < n && depth(f5 + count) < threshold)
        ++count;
    double baseline = depth(f5);
    if (count <= 5)
        return baseline;
    Workshop ws(rec, depth.slot(), f5, f5 + count, ui);
    if (!ws.active())
        return baseline;
    const int passes = std::clamp(count / 20, 1, 8);
    const int32_t len = ws.length();
    double figure = 0;
    std::vector<double>& x = ws.values();
    for (int pass = 0; pass < passes; ++pass) {
        // Each value from the values before the pass: the left neighbour is kept aside.
        double left = x[0];
        x[0] = (x[0] + x[1]) / 2;
        for (std::size_t i = 1; i + 4 <= x.size(); ++i) {
            const double here = x[i];
            x[i] = (left + 2 * here + x[i + 1]) / 4;
            left = here;
        }
        figure = (x.back() - x.front()) / len;
    }
    const double gradient = figure / depth.interval() * 1000.0;
    if (std::fabs(gradient) < 0.1) {
        double sum = 0;
        for (const double v : ws.values())
            sum += v;
        baseline = sum / len;
    }
    return baseline;
}

}  // namespace vk
