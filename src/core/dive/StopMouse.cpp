#include "core/dive/StopMouse.h"

#include <algorithm>
#include <cstdlib>

#include "core/dive/DiveStops.h"
#include "core/view/PixelMap.h"

namespace vk {

StopGrab PressOnStops(const StopTable& stops, double f1, double f2, int width, int height, int x, int y,
                      int lineDistance)
{
    StopGrab best;
    if (y < height / 5 || y > height / 3)
        return best;
    int bestDistance = 0;
    for (int phase = 0; phase < 2; ++phase)
        for (int k = 0; k < stops.count[static_cast<std::size_t>(phase)]; ++k) {
            const DiveStop& s = stops.stop[static_cast<std::size_t>(phase)][static_cast<std::size_t>(k)];
            const int onset = std::abs(LineColumn(s.onset, f1, f2, width) - x);
            const int end = std::abs(LineColumn(s.end, f1, f2, width) - x);
            if (onset + end < 7)
                return {StopGrab::Whole, phase, k};
            const int distance = std::min(onset, end);
            if (best.part == StopGrab::None || distance < bestDistance) {
                best = {onset <= end ? StopGrab::Onset : StopGrab::End, phase, k};
                bestDistance = distance;
            }
        }
    const int limit = (LineColumn(f2, f1, f2, width) - LineColumn(f1, f1, f2, width)) / 30;
    if (best.part != StopGrab::None && !(bestDistance < limit && bestDistance < lineDistance))
        best.part = StopGrab::None;
    return best;
}

void ReleaseOnStops(StopTable& stops, const StopGrab& grab, double t)
{
    if (grab.part == StopGrab::None || grab.phase < 0 || grab.phase > 1 ||
        grab.stop >= stops.count[static_cast<std::size_t>(grab.phase)])
        return;
    DiveStop& s = stops.stop[static_cast<std::size_t>(grab.phase)][static_cast<std::size_t>(grab.stop)];
    switch (grab.part) {
    case StopGrab::Onset: s.onset = t; break;
    case StopGrab::End: s.end = t; break;
    default: DivideStop(stops, grab.phase, grab.stop); break;
    }
    TidyStops(stops);
}

}  // namespace vk
