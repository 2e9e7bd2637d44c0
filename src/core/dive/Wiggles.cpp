#include "core/dive/Wiggles.h"

#include <algorithm>
#include <cmath>

#include "core/calc/Extrema.h"
#include "core/store/VkDialogs.h"

namespace vk {

bool StepTest(const ChannelSeries& depth, int32_t a, int32_t g, int32_t l, double x)
{
    const double b = l < 1 ? 0.0 : (depth(a) - depth(a - l)) / l;
    for (int32_t i = a; i < a + g; ++i) {
        const double step = depth(i + 1) - depth(i) - b;
        if (x >= 0 ? step < x : step > x)
            return false;
    }
    return true;
}

namespace {

void Summarise(const std::vector<WiggleEntry>& table, WiggleSummary& summary)
{
    summary.count = static_cast<int32_t>(table.size());
    if (table.empty())
        return;
    double amplitude = 0, duration = 0;
    for (const WiggleEntry& w : table) {
        amplitude += w.amplitude;
        duration += w.duration;
    }
    summary.totalAmplitude = amplitude;
    summary.totalDuration = duration;
    summary.meanAmplitude = amplitude / static_cast<double>(table.size());
    summary.meanDuration = duration / static_cast<double>(table.size());
}

// The depth as the extrema search reads it, called directly (no std::function per sample).
auto Values(const ChannelSeries& depth)
{
    return [&depth](int32_t i) { return depth(i); };
}

}  // namespace

void SimeoneWiggles(const ChannelSeries& depth, int32_t f8, int32_t f9, const DiveParameters& p,
                    std::vector<WiggleEntry>& table, WiggleSummary& summary, VkDialogs& ui)
{
    table.clear();
    summary = WiggleSummary{};
    const double interval = depth.interval();
    if (!(interval > 0))
        return;
    const auto g = static_cast<int32_t>(std::min(p.WiggDuration * 1000.0 / interval, 1e9));
    if (g < 1) {
        ui.message(" Wiggles: \".. over n sec\" too small. ", Severity::Warning);
        return;
    }
    const auto l = static_cast<int32_t>(std::clamp(p.WiggRelPreceding * 1000.0 / interval, -1e9, 1e9));
    const double x = p.WiggAmplitude;
    const std::vector<Extremum> ext = FindExtremaInStretches(depth.recording(), depth.slot(), Values(depth), f8, f9,
                                                                 std::fabs(x), interval);
    if (ext.size() < 2)
        return;
    const Extremum& e0 = ext[0];
    for (int32_t a = f8; a <= e0.index - g; ++a)
        if (StepTest(depth, a, g, l, x)) {
            table.push_back({a, depth(a), e0.value - depth(a), 2.0 * (e0.index - a) * interval / 1000, e0.type});
            break;
        }
    for (std::size_t k = 1; k + 1 < ext.size() && table.size() < MaxWiggles; ++k) {
        const Extremum &e = ext[k], &s = ext[k + 1];
        for (int32_t a = e.index; a <= s.index - g; ++a) {
            if (!StepTest(depth, a, g, l, x))
                continue;
            if (!table.empty() && a <= table.back().index - g / 2 + l)
                continue;  // too close to the wiggle before
            table.push_back({a, e.value, s.value - e.value, 2.0 * (s.index - a) * interval / 1000, e.type});
            break;
        }
    }
    Summarise(table, summary);
}

void BostWiggles(const ChannelSeries& depth, int32_t f4, int32_t f5, const DiveParameters& p,
                 std::vector<WiggleEntry>& table, WiggleSummary& summary)
{
    table.clear();
    summary = WiggleSummary{};
    const double interval = depth.interval();
    if (!(interval > 0))
        return;
    const auto e =
        static_cast<int32_t>(std::min(p.WiggDuration * 1000.0 / interval, 1e9));  // "Max. Duration" in points
    const std::vector<Extremum> ext = FindExtremaInStretches(depth.recording(), depth.slot(), Values(depth), f4, f5,
                                                                 p.WiggAmplitude, interval);
    int32_t lastKept = -1;
    for (std::size_t k = 0; k < ext.size() && table.size() < MaxWiggles - 1; ++k) {
        const Extremum& x = ext[k];
        const bool nextClose = k + 1 < ext.size() && ext[k + 1].index - x.index <= e;
        bool keep = false;
        if (k + 1 == ext.size())
            keep = lastKept >= 0 && x.index - lastKept <= e;
        else if (k == 0)
            keep = nextClose;
        else
            keep = nextClose || (lastKept >= 0 && x.index - lastKept < e);
        if (!keep)
            continue;
        const double seconds = k > 0 ? (x.index - ext[k - 1].index) * interval / 1000 : 0.0;
        table.push_back({x.index, x.value, std::fabs(x.peakToPeak), seconds, x.type});
        lastKept = x.index;
    }
    Summarise(table, summary);
}

void DiveWiggles(const ChannelSeries& depth, const DiveFrame& f, const DiveParameters& p,
                 std::vector<WiggleEntry>& table, WiggleSummary& summary, VkDialogs& ui)
{
    switch (p.WiggMethod) {
    case WiggleMethod::Simeone: SimeoneWiggles(depth, f.F8, f.F9, p, table, summary, ui); break;
    case WiggleMethod::Bost: BostWiggles(depth, f.F4, f.F5, p, table, summary); break;
    case WiggleMethod::None:
        table.clear();
        summary = WiggleSummary{};
        break;
    }
}

}  // namespace vk
