#include "core/dive/DiveStops.h"

#include <algorithm>

#include "core/dive/DiveEdges.h"
#include "core/dive/DiveFrame.h"

namespace vk {

namespace {

struct PhaseSearch {
    const ChannelSeries& depth;
    const DiveParameters& p;
    bool ascent;

    double pointGradient(int32_t a, int32_t b) const { return (depth(b) - depth(a)) * 1000.0 / depth.interval(); }
    // The vertical movement pauses: the depth grows (descent) or shrinks (ascent) slower than the limit.
    bool pausing(double gradient) const { return ascent ? gradient > -p.StopGradient : gradient < p.StopGradient; }
    // Seen from a sample looking back, the movement has resumed.
    bool resumed(double backward) const { return ascent ? backward > p.StopGradient : backward < -p.StopGradient; }

    void run(int32_t from, int32_t to, double interval, StopTable& table, int phase) const
    {
        // The gradient estimates looking forward and back, as the search moves on.
        SlopeWalk ahead(depth, +1, p.StopLength1, p.StopMinDuration), back(depth, -1, p.StopLength1, p.StopMinDuration);
        int32_t i = from;
        while (i < to) {
            while (i < to && !pausing(ahead.at(i)))
                ++i;
            if (i >= to)
                return;
            int32_t onset = i;
            while (onset > from && pausing(pointGradient(onset - 1, onset)))
                --onset;
            // The backward estimate looks into the stop only once it is this far in.
            int32_t end = std::min(Shifted(onset, int64_t{p.StopLength1} * p.StopMinDuration - 1), to);
            while (end < to && !resumed(back.at(end + 1)))
                ++end;
            while (end > onset && !pausing(pointGradient(end - 1, end)))
                --end;  // samples that already move belong to the movement
            if (end - onset > 1)
                --end;
            if (end - onset >= p.StopMinDuration) {
                int& n = table.count[static_cast<std::size_t>(phase)];
                if (n >= MaxStopsPerPhase)
                    return;
                table.stop[static_cast<std::size_t>(phase)][static_cast<std::size_t>(n++)] =
                    DiveStop{onset * interval, end * interval, depth(onset), end - onset + 1, true};
            }
            i = std::max(end, i) + 1;
        }
    }
};

DiveStop& At(StopTable& t, int phase, int k)
{
    return t.stop[static_cast<std::size_t>(phase)][static_cast<std::size_t>(k)];
}

}  // namespace

void FindDiveStops(const ChannelSeries& depth, const LinePositions& at, const DiveParameters& p, StopTable& table)
{
    table = StopTable{};
    if (p.StopLength1 < 1 || p.StopMinDuration < 1)
        return;
    const double interval = depth.interval();
    const DiveFrame f = FrameOf(at, interval);
    PhaseSearch{depth, p, false}.run(f.F4, f.F8, interval, table, PhaseDescent);
    PhaseSearch{depth, p, true}.run(f.F9, f.F5, interval, table, PhaseAscent);
}

void RemoveStop(StopTable& table, int phase, int k)
{
    int& n = table.count[static_cast<std::size_t>(phase)];
    if (k < 0 || k >= n)
        return;
    for (int j = k; j + 1 < n; ++j)
        At(table, phase, j) = At(table, phase, j + 1);
    At(table, phase, n - 1) = DiveStop{};
    --n;
}

bool DivideStop(StopTable& table, int phase, int k)
{
    int& n = table.count[static_cast<std::size_t>(phase)];
    // A full phase has no room for the second half: dividing would push a stop off the table.
    if (k < 0 || k >= n || n >= MaxStopsPerPhase)
        return false;
    const DiveStop old = At(table, phase, k);
    const double middle = (old.onset + old.end) / 2, quarter = (old.end - old.onset) / 4;
    for (int j = n; j > k + 1; --j)
        At(table, phase, j) = At(table, phase, j - 1);
    At(table, phase, k).end = middle - quarter;
    DiveStop second = old;
    second.onset = middle + quarter;
    At(table, phase, k + 1) = second;
    ++n;
    return true;
}

void TidyStops(StopTable& table)
{
    for (int phase = 0; phase < 2; ++phase) {
        const int& n = table.count[static_cast<std::size_t>(phase)];
        for (int k = 0; k < n;) {
            if (At(table, phase, k).end <= At(table, phase, k).onset)
                RemoveStop(table, phase, k);
            else
                ++k;
        }
        for (int k = 1; k < n;) {
            DiveStop& before = At(table, phase, k - 1);
            if (At(table, phase, k).onset <= before.end) {
                before.end = At(table, phase, k).end;
                RemoveStop(table, phase, k);
            } else {
                ++k;
            }
        }
    }
}

StopRows RowsOf(const StopTable& table, double f4)
{
    StopRows rows{};
    for (std::size_t phase = 0; phase < 2; ++phase)
        for (int k = 0; k < table.count[phase]; ++k) {
            const DiveStop& s = table.stop[phase][static_cast<std::size_t>(k)];
            rows[phase][static_cast<std::size_t>(k)] = {true, s.onset - f4, s.end - f4};
        }
    return rows;
}

std::vector<std::string> ApplyStopRows(StopTable& table, const StopRows& rows, const LinePositions& at)
{
    std::vector<std::string> warnings;
    for (int phase = 0; phase < 2; ++phase) {
        const StopTable before = table;
        int& n = table.count[static_cast<std::size_t>(phase)];
        n = 0;
        for (int k = 0; k < MaxStopsPerPhase; ++k) {
            const StopRow& row = rows[static_cast<std::size_t>(phase)][static_cast<std::size_t>(k)];
            if (!row.checked)
                continue;
            DiveStop s = k < before.count[static_cast<std::size_t>(phase)]
                             ? before.stop[static_cast<std::size_t>(phase)][static_cast<std::size_t>(k)]
                             : DiveStop{};
            s.onset = row.onset + at.F4;
            s.end = row.end + at.F4;
            s.enabled = true;
            At(table, phase, n++) = s;
        }
        for (int k = n; k < MaxStopsPerPhase; ++k)
            At(table, phase, k) = DiveStop{};
        const double lo = phase == PhaseDescent ? at.F4 : at.B2, hi = phase == PhaseDescent ? at.B1 : at.F5;
        const char* name = phase == PhaseDescent ? " exceeds descent phase." : " exceeds ascent phase.";
        for (int k = 0; k < n; ++k) {
            const DiveStop& s = At(table, phase, k);
            if (s.onset < lo || s.end > hi)
                warnings.push_back(" Warning. DiveStop " + std::to_string(k + 1) + name);
            if (k > 0 && s.onset < At(table, phase, k - 1).end)
                warnings.push_back(" Warning. DiveStop overlappings.");
        }
    }
    return warnings;
}

}  // namespace vk
