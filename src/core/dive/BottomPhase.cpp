#include "core/dive/BottomPhase.h"

#include <algorithm>
#include <cmath>

namespace vk {

void FixedBottom(const ChannelSeries& depth, DiveFrame& f, double maxDepth, double thrBott)
{
    const double level = thrBott * maxDepth;
    int32_t a = f.F4;
    while (a < f.F5 && depth(a) < level)
        ++a;
    int32_t b = f.F5;
    while (b > f.F4 && depth(b) < level)
        --b;
    f.F8 = a;
    f.F9 = b;
    const double interval = depth.interval();
    auto crossing = [&](int32_t i, int32_t j) {  // where the line from i to j meets the level
        const double di = depth(i), dj = depth(j);
        const double t = dj != di ? std::clamp((level - di) / (dj - di), 0.0, 1.0) : 0.0;
        return (i + (j - i) * t) * interval;
    };
    f.t8 = a > f.F4 ? crossing(a - 1, a) : a * interval;
    f.t9 = b < f.F5 ? crossing(b, b + 1) : b * interval;
}

namespace {

// One side of the bottom, searched from `from` in direction `dir` (F4 and +1
// for the descent, F5 and -1 for the ascent), never past `stop`. `points`
// and `limit` are the side's points and rate to 90 % of the modal depth.
struct BottomSide {
    const ChannelSeries& depth;
    const DiveFigures& fig;
    int32_t from, stop;
    int dir;
    int32_t points;
    double limit;

    bool before(int32_t i) const { return dir > 0 ? i < stop : i > stop; }

    // The gradient from i further on in the search direction (depth growing: positive).

    bool localMaximum(int32_t i) const { return depth(i) >= depth(i - 1) && depth(i) >= depth(i + 1); }

    // The nearest local depth maximum within `reach` points, looking back first.
    int32_t nearestMaximum(int32_t i, int32_t reach) const
    {
        for (int32_t k = 0; k <= reach; ++k)
            for (const int32_t j : {i - dir * k, i + dir * k})
                if ((dir > 0 ? j > from && j < stop : j < from && j > stop) && localMaximum(j))
                    return j;
        return i;
    }

    int32_t find() const
    {
        int32_t w = static_cast<int32_t>(std::lround(0.66 * points));
        if (w < 1)
            w = 2;
        int stride = 1;
        if (w >= 37) {
            stride = 2;
            w = 19;
        }
        // The first point deep enough whose mean gradient over the window ahead
        // is small; the window's depths are kept as a running sum.
        const double perSecond = 1000.0 / depth.interval(), deep = 0.6 * fig.maxDepth;
        const int32_t step = dir * stride;
        int32_t x = from + dir;
        while (before(x) && depth(x) <= deep)
            x += step;
        double sumAhead = 0;
        for (int32_t k = 1; k <= w; ++k)
            sumAhead += depth(x + k * step);
        while (before(x)) {
            const double at = depth(x);
            if (at > deep && (sumAhead / w - at) / ((w + 1) / 2.0) / stride * perSecond < 1.2 * limit)
                break;
            sumAhead += depth(x + (w + 1) * step) - depth(x + step);
            x += step;
        }
        if (!before(x))
            return fallback();

        int32_t rb = std::clamp(static_cast<int32_t>(std::lround(0.6 * points)), 1, 20);
        int32_t rf = std::clamp(static_cast<int32_t>(std::lround(0.5 * fig.modalCount)), 1, 20);
        rb = std::min(rb, 3 * rf);
        rf = std::min(rf, 3 * rb);
        struct Knee {
            int32_t at = -1;
            double drop = 0;
        } first, second;
        int32_t chosen = -1;
        // The gradients before (over rb points) and after (over rf) each point,
        // from running sums of the depths on either side.
        double sumBehind = 0;
        sumAhead = 0;
        for (int32_t k = 1; k <= rb; ++k)
            sumBehind += depth(x - k * dir);
        for (int32_t k = 1; k <= rf; ++k)
            sumAhead += depth(x + k * dir);
        for (int32_t k = 0, y = x; k < stride * w && before(y); ++k, y += dir) {
            const double at = depth(y);
            const double gb = (at - sumBehind / rb) / ((rb + 1) / 2.0) * perSecond;
            const double ga = (sumAhead / rf - at) / ((rf + 1) / 2.0) * perSecond;
            sumBehind += at - depth(y - rb * dir);
            sumAhead += depth(y + (rf + 1) * dir) - depth(y + dir);
            if (gb <= limit / 2 && ga <= limit / 2) {
                chosen = y;
                break;
            }
            if (ga < limit && std::fabs(ga) < std::fabs(gb)) {
                const Knee knee{y, gb - ga};
                if (first.at < 0 || knee.drop > first.drop) {
                    second = first;
                    first = knee;
                } else if (second.at < 0 || knee.drop > second.drop) {
                    second = knee;
                }
            }
        }
        // The sharpest knee before the bottom is established marks its start;
        // a second knee of comparable drop that comes earlier wins.
        if (first.at >= 0) {
            chosen = first.at;
            const bool comparable = second.at >= 0 && first.drop > 0 && second.drop / first.drop > 0.55;
            if (comparable && (dir > 0 ? second.at < first.at : second.at > first.at))
                chosen = second.at;
        }
        if (chosen < 0)
            chosen = x;
        return nearestMaximum(chosen, std::max(rb / 4, 2));
    }

    // The first local maximum clearly deeper than the dive's end point; else one step in.
    int32_t fallback() const
    {
        const double base = depth(from) + fig.modalDepth / 60;
        for (int32_t i = from + dir; before(i); i += dir)
            if (localMaximum(i) && depth(i) >= base)
                return dir > 0 ? i : i + 1;
        return dir > 0 ? from + 1 : stop;
    }
};

}  // namespace

void GradientBottom(const ChannelSeries& depth, DiveFrame& f, const DiveFigures& fig, const DiveParameters& p)
{
    const double descentLimit = p.AutoGradient ? fig.descentRate90 / 4 : p.SlopBoB;
    const double ascentLimit = p.AutoGradient ? fig.ascentRate90 * -0.25 : p.SlopBoB;
    f.F8 = BottomSide{depth, fig, f.F4, f.F5, +1, fig.descentPoints90, descentLimit}.find();
    f.F9 = BottomSide{depth, fig, f.F5, f.F8, -1, fig.ascentPoints90, ascentLimit}.find();
}

void TamrinBottom(const ChannelSeries& depth, DiveFrame& f, double slopBoB)
{
    // Steps since the start; F8 before the first step much smaller than their mean.
    f.F8 = f.F5;
    double sum = 0;
    for (int32_t i = f.F4 + 1; i <= f.F5; ++i) {
        const double step = depth(i) - depth(i - 1);
        if (i > f.F4 + 1 && step * slopBoB < sum / (i - 1 - f.F4)) {
            f.F8 = i - 1;
            break;
        }
        sum += step;
    }
    f.F9 = f.F8;
    sum = 0;
    for (int32_t j = f.F5 - 1; j > f.F8; --j) {
        const double step = depth(j) - depth(j + 1);
        if (j < f.F5 - 1 && step * slopBoB < sum / (f.F5 - 1 - j)) {
            f.F9 = j + 1 == f.F5 ? j : j + 1;
            break;
        }
        sum += step;
    }
}

bool WiggleBottom(const std::vector<WiggleEntry>& wiggles, DiveFrame& f, double maxDepth, double percent)
{
    const double level = maxDepth * percent / 100;
    const auto first =
        std::find_if(wiggles.begin(), wiggles.end(), [&](const WiggleEntry& w) { return w.depth > level; });
    if (first == wiggles.end())
        return false;
    const auto last =
        std::find_if(wiggles.rbegin(), wiggles.rend(), [&](const WiggleEntry& w) { return w.depth >= level; });
    f.F8 = first->index;
    f.F9 = last->index;
    return true;
}

}  // namespace vk
