#include "dive/DiveFrame.h"

#include <algorithm>

namespace vk {

namespace {

int32_t IndexOf(double t, double interval)
{
    return static_cast<int32_t>(t / interval);
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

void PlaceWindow(DiveFrame& f, int32_t w, int32_t lastIndex)
{
    constexpr double share = 0.25;
    const int32_t l = std::max((w - (f.F5 - f.F4)) / 2, w / 10);
    f.F1 = std::max(static_cast<int32_t>(std::lround(f.F4 - 2 * l * share)), 0);
    f.F2 = std::min(static_cast<int32_t>(std::lround(f.F5 + 2 * l * (1 - share))), lastIndex);
}

}  // namespace vk
