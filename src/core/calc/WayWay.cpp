#include "core/calc/WayWay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/store/ChannelSeries.h"
#include "core/store/FileUtil.h"

namespace vk {

namespace {

constexpr double MsPerSecond = 1000.0;

int64_t IndexOf(double f, double interval)
{
    constexpr double Far = 9e15;
    const double q = std::trunc(f / interval);
    return std::isnan(q) ? -1 : static_cast<int64_t>(std::clamp(q, -Far, Far));
}

// Calls step(i, distanceSoFar, depth_i) for every depth sample of the
// section, distanceSoFar including sample i's step. False when a depth or
// speed value is missing (the walk stops there).
template <typename Step>
bool WalkWayWay(const Recording& rec, const WayWayRequest& r, StoredSection range, int64_t& speedErrors, Step step)
{
    const ChannelSeries depth(rec, r.depthSlot), speed(rec, r.speedSlot);
    const ChannelDescriptor& d = rec.desc(r.depthSlot);
    const double seconds = d.SampRate / MsPerSecond;
    const double ratio = static_cast<double>(d.SampRate) / rec.desc(r.speedSlot).SampRate;
    const bool sameTimes = ratio == 1.0;
    // The sample before the section, when there is one, starts the first step.
    PhysValue before = range.first > d.CorrSmpDelay ? depth.read(range.first - 1) : PhysValue{0, StatusMissing};
    double walked = 0;
    for (int32_t i = range.first; i <= range.last; ++i) {
        const PhysValue z = depth.read(i);
        const auto s = sameTimes ? i : static_cast<int32_t>(std::floor(i * ratio));
        const PhysValue v = speed.read(s);
        if (z.status != 0 || v.status != 0)
            return false;
        if (before.status == 0) {
            const double path = std::fabs(v.value * seconds), dz = std::fabs(z.value - before.value);
            if (path >= dz)
                walked += std::sqrt((path - dz) * (path + dz));
            else
                ++speedErrors;
        }
        step(i, walked, z.value);
        before = z;
    }
    return true;
}

}  // namespace

bool WayWayChannelsPresent(const Recording& rec, int depthSlot, int speedSlot)
{
    const auto holds = [&](int s) { return s >= 0 && s < SlotCount && HoldsData(rec, s); };
    return depthSlot != speedSlot && holds(depthSlot) && holds(speedSlot);
}

StoredSection WayWaySamples(const ChannelDescriptor& depth, double f4, double f5)
{
    if (!(depth.SampRate > 0))
        return {};
    return StoredPart(depth, IndexOf(f4, depth.SampRate), IndexOf(f5, depth.SampRate) + 1);
}

WayWaySums SumWayWay(const Recording& rec, const WayWayRequest& r)
{
    WayWaySums sums;
    sums.range = WayWaySamples(rec.desc(r.depthSlot), r.f4, r.f5);
    if (sums.range.count() <= 0)
        return sums;
    double walked = 0;
    sums.enough = WalkWayWay(rec, r, sums.range, sums.speedErrors, [&](int32_t, double w, double) { walked = w; });
    sums.distance = walked;
    return sums;
}

int DistanceColumn(double d, double distance, int width)
{
    if (!(distance > 0))
        return 0;
    return static_cast<int>(std::lround(std::clamp(d / distance, 0.0, 1.0) * width));
}

std::vector<WayWayColumn> TraceWayWay(const Recording& rec, const WayWayRequest& r, double distance, int width)
{
    std::vector<WayWayColumn> columns(static_cast<std::size_t>(std::max(width, 0) + 1));
    const StoredSection range = WayWaySamples(rec.desc(r.depthSlot), r.f4, r.f5);
    int64_t errors = 0;
    WalkWayWay(rec, r, range, errors, [&](int32_t, double w, double z) {
        WayWayColumn& c = columns[static_cast<std::size_t>(DistanceColumn(w, distance, width))];
        if (!c.any)
            c = {true, z, z, z, z};
        c.last = z;
        c.min = std::min(c.min, z);
        c.max = std::max(c.max, z);
    });
    return columns;
}

bool ExportWayWay(const Recording& rec, const WayWayRequest& r, const std::string& path)
{
    const StoredSection range = WayWaySamples(rec.desc(r.depthSlot), r.f4, r.f5);
    SafeFileWriter out(path);
    std::string text;
    constexpr std::size_t Flush = 1 << 20;
    int64_t errors = 0;
    const bool enough = WalkWayWay(rec, r, range, errors, [&](int32_t, double w, double z) {
        char line[64];
        const int n = std::snprintf(line, sizeof line, "%8.2f\t%8.2f\r\n", w, z);
        text.append(line, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof line) - 1)));
        if (text.size() >= Flush) {
            out.write(text);
            text.clear();
        }
    });
    out.write(text);
    if (!enough)
        out.fail();
    return out.commit();
}

std::string WayWayClickCaption(int dive, double distance, double depth)
{
    char text[96];
    std::snprintf(text, sizeof text, "Dive%d  %.2f   %.2f", dive, distance, depth);
    return text;
}

std::string WayWayTagText(double distance, double depth)
{
    char text[80];
    std::snprintf(text, sizeof text, "%.2f; %.2f", distance, depth);
    return text;
}

}  // namespace vk
