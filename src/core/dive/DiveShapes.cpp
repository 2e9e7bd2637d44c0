#include "core/dive/DiveShapes.h"
#include "core/calc/LineFit.h"
#include "core/calc/Smoothing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core/process/Workshop.h"

namespace vk {

YResult TestY(const ChannelSeries& depth, int32_t f4, int32_t f5, double maxDepth, const DiveParameters& p)
{
    YResult y;
    y.modalDepth = maxDepth;
    const int32_t d = f5 - f4;
    if (d < 4 || maxDepth < 0.1)
        return y;
    const int g = std::min(20, d);
    const double width = maxDepth / g, perClass = g / maxDepth;
    std::array<int32_t, 21> counts{};  // the maximum falls into class g
    for (int32_t i = f4; i <= f5; ++i) {
        const double c = depth(i) * perClass;
        counts[c <= 0 ? 0 : c >= g ? static_cast<std::size_t>(g) : static_cast<std::size_t>(c)]++;
    }
    auto count = [&](int c) { return c >= 0 && c <= g ? counts[static_cast<std::size_t>(c)] : 0; };
    int k = g / 5;
    for (int c = g / 5; c <= g; ++c)
        if (count(c) >= count(k))
            k = c;  // a later class wins ties
    y.modalCount = count(k);
    if (k < g) {
        const double ck = count(k);
        bool dominant = 3.0 * (d - ck) / (g - 1) < ck;
        if (!dominant && g >= 15) {
            double w = ck;
            if (count(k + 1) >= count(k - 1))
                w += count(k + 1) + std::max(count(k + 2), count(k - 1));
            else
                w += count(k - 1) + (count(k + 1) >= count(k - 2) ? count(k + 1) : count(k - 2));
            dominant = w > 0.4 * d;
        }
        if (dominant)
            y.modalDepth = (k + 0.5) * width;
    }
    int32_t deep = 0, rest = 0;
    for (int c = k + 2; c <= g; ++c)
        deep += count(c);
    for (int c = 2; c <= k + 1; ++c)
        rest += count(c);
    y.isY = g * p.YFormDivision > k && deep * p.YFormFactor < rest;
    return y;
}

namespace {

// Samples from F4 forward and from F5 backward not deeper than `level`.
int32_t ShallowEnds(const ChannelSeries& depth, int32_t f4, int32_t f5, double level)
{
    int32_t n = 0;
    for (int32_t i = f4; i <= f5 && depth(i) <= level; ++i)
        ++n;
    for (int32_t i = f5; i >= f4 && depth(i) <= level; --i)
        ++n;
    return n;
}

}  // namespace

bool TestU(const ChannelSeries& depth, int32_t f4, int32_t f5, double maxDepth, double relBottSurf)
{
    const int32_t d = f5 - f4;
    if (maxDepth == 0 || d < 5)
        return false;
    const int32_t w66 = ShallowEnds(depth, f4, f5, 0.66 * maxDepth);
    const int32_t w85 = ShallowEnds(depth, f4, f5, 0.85 * maxDepth);
    const double u = 1 + 0.6 * relBottSurf;
    return (d - w66) > 0.33 * u * d || (d - w85) > 0.15 * u * d;
}

int32_t TestWL(Recording& rec, const ChannelSeries& depth, const DiveFrame& f, int32_t code, const DiveParameters& p,
               VkDialogs& ui)
{
    const int32_t d = f.F5 - f.F4;
    if (d < 4 || f.F9 < f.F8)
        return code;
    int32_t s = d / 12;
    if (s > 200) {
        s = 200;
        SetHint(rec, HintRunMean);
    }
    Workshop ws(rec, depth.slot(), f.F4, f.F5 + 1, ui);
    if (!ws.active())
        return code;
    if (s > 1)
        ws.RunningMean(s);
    auto smooth = [&](int32_t i) { return ws.get(i - f.F4); };

    const int32_t edge = f.F9 - f.F8 < 10 ? 0 : s;
    double low = smooth(f.F8);
    for (int32_t i = f.F8 + 1; i <= f.F9; ++i)
        low = std::min(low, smooth(i));
    const double a = smooth(f.F8 + edge), b = smooth(f.F9 - edge);
    if (low < a && low < b) {
        const double t = (low + std::min(a, b)) / 2, h = p.WShapeHeight * t / 3;
        int stage = 0;  // trough, hump, trough
        for (int32_t i = f.F8; i <= f.F9 && stage < 3; ++i) {
            const double v = smooth(i);
            if (stage == 1 ? v < t - h : v > t + h)
                ++stage;
        }
        if (stage == 3)
            return ShapeW;
    }
    if (code == ShapeU && (f.F9 - s) - (f.F8 + s) >= 2) {  // a line through two points says nothing
        // The fit reads the smoothed dive: the workshop answers the slot's reads.
        const LineFit fit = FitLine(depth, f.F8 + s, f.F9 - s);
        if (std::fabs(fit.gradient) > p.LShapeParm && std::fabs(fit.correlation) > 0.82)
            return ShapeL;
    }
    return code;
}

bool TestParabola(const ChannelSeries& depth, int32_t f4, int32_t f5, double maxDepth, double height)
{
    const int32_t d = f5 - f4;
    if (d <= 3)
        return false;
    std::vector<double> x;
    if (d <= 27) {  // twice the density
        for (int32_t i = f4; i < f5; ++i) {
            x.push_back(depth(i));
            x.push_back((depth(i) + depth(i + 1)) / 2);
        }
        x.push_back(depth(f5));
    } else {
        for (int32_t i = f4; i <= f5; ++i)
            x.push_back(depth(i));
    }
    const int k = static_cast<int>(std::clamp(15 - 10 * height, 1.0, 1e6));
    const int width = std::clamp(d / k, 3, 9);  // from the dive's own points, resampled or not
    RunningMean(x, width);
    for (const double above : {0.5, 0.75, 0.85})
        if (height > above)
            RunningMean(x, width);

    const double level = (0.3 * height + 0.45) * maxDepth;
    const auto n = static_cast<int32_t>(x.size());
    int32_t j = 0, i = n - 1;
    while (j < n && x[static_cast<std::size_t>(j)] < level)
        ++j;
    while (i >= 0 && x[static_cast<std::size_t>(i)] < level)
        --i;
    if (j >= n || i - j <= 3)
        return false;

    const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
    const double low = *lo, range = *hi - *lo;
    if (range <= 0)
        return false;
    for (double& v : x)
        v = (v - low) / range;
    Difference(x);
    Difference(x);  // x[m] is the second difference around m + 1
    const double scale = static_cast<double>(n) * n / 4;
    const int32_t first = std::max(j - 1, 0), last = std::min(i - 1, n - 3);
    double c = 0;
    for (int32_t m = first; m <= last; ++m)
        c += x[static_cast<std::size_t>(m)] * scale;
    c /= last - first + 1;
    double e = 0;
    for (int32_t m = first; m <= last; ++m)
        e += std::fabs(x[static_cast<std::size_t>(m)] * scale - c);
    e /= last - first + 1;
    return (c < -1.8 && e < 0.6) || (c < 0.65 * height - 2 && e < 1.35 * height + 0.5);
}

void PressShapeButton(int32_t tag, DiveState& state, DiveFrame& f, DiveParameters& parameters)
{
    DiveRecord& r = state.record;
    const int32_t old = r.shape;
    if (tag < 0 || tag == old)
        return;
    if (state.cursorFollow) {
        if (tag == ShapeV) {
            f.F8 = f.F9 = r.maxDepthIndex;
        } else if (old == ShapeV && f.F8 == f.F9 && f.F8 > f.F4 && f.F8 < f.F5) {
            const int32_t d = std::max((f.F5 - f.F4) / 6, 1);
            f.F9 = std::min(f.F9 + d, f.F5);
            f.F8 = std::max(f.F8 - d, f.F4);
        }
    }
    // Only a dive whose gradients were fitted teaches the limit.
    const double least = std::min(r.descentGradient, r.ascentGradient);
    if (least < Missing && (old == ShapeU || old == ShapeL) && tag == ShapeNone)
        parameters.NoCategoryGradient = 1.1 * least;
    else if (least < Missing && old == ShapeNone && (tag == ShapeU || tag == ShapeL))
        parameters.NoCategoryGradient = least;
    r.shape = tag;
}

}  // namespace vk
