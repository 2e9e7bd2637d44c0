#include "core/dive/DiveFrame.h"

#include "core/setup/DiveRecord.h"
#include "core/store/Channel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vk {

namespace {

int32_t IndexOf(double t, double interval)
{
    const double x = interval > 0 ? t / interval : 0.0;
    if (!(x > INT32_MIN) || !(x < INT32_MAX))
        return x > 0 ? INT32_MAX : 0;  // NaN and times beyond any channel
    return static_cast<int32_t>(x);
}

}  // namespace

DiveFrame FrameOf(const LinePositions& at, double interval)
{
    DiveFrame f;
    f.F1 = IndexOf(at.F1, interval);
    f.F2 = IndexOf(at.F2, interval);
    f.F4 = IndexOf(at.F4, interval);
    f.F5 = IndexOf(at.F5, interval);
    f.F8 = IndexOf(at.B1, interval);
    f.F9 = IndexOf(at.B2, interval);
    f.Sh1 = IndexOf(at.Sh1, interval);
    f.Sh2 = IndexOf(at.Sh2, interval);
    return f;
}

void PutFrame(const DiveFrame& f, double interval, LinePositions& at)
{
    at.F1 = f.F1 * interval;
    at.F2 = f.F2 * interval;
    at.F4 = f.F4 * interval;
    at.F5 = f.F5 * interval;
    at.B1 = std::isnan(f.t8) ? f.F8 * interval : f.t8;
    at.B2 = std::isnan(f.t9) ? f.F9 * interval : f.t9;
    at.Sh1 = f.Sh1 * interval;
    at.Sh2 = f.Sh2 * interval;
}

void PlaceWindow(DiveFrame& f, int32_t w, int32_t lastIndex, double share)
{
    const int64_t l = std::max((int64_t{w} - (int64_t{f.F5} - f.F4)) / 2, int64_t{w} / 10);
    f.F1 = static_cast<int32_t>(std::max(std::llround(f.F4 - 2.0 * l * share), 0LL));
    f.F2 =
        static_cast<int32_t>(std::min(std::llround(f.F5 + 2.0 * l * (1 - share)), static_cast<long long>(lastIndex)));
}

IndexSpan BottomSamples(const LinePositions& at, double interval)
{
    // A time a whole number of samples long may carry a rounding error either way.
    constexpr double Slack = 1e-9;
    if (!(interval > 0))
        return {};
    auto index = [](double x) { return std::isnan(x) ? 0 : static_cast<int32_t>(std::clamp(x, -2e9, 2e9)); };
    return {index(std::ceil(at.B1 / interval - Slack)), index(std::floor(at.B2 / interval + Slack))};
}

ChannelSeries DiveSeries(const Recording& rec, const LinePositions& at)
{
    return StretchSeries(rec, AnalysisSlot, IndexOf(at.F4, ChannelView(rec, AnalysisSlot).interval()));
}

}  // namespace vk
