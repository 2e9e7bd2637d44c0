#pragma once

// Where a dive begins and ends: the end test (which serves the onset too,
// looking backward), the end search with its climb, the onset search, their
// automatic forms with the kink detector, and the surface baseline after a dive.

#include <cstdint>
#include <vector>

#include "core/setup/DiveParameters.h"
#include "core/store/ChannelSeries.h"

namespace vk {

class VkDialogs;

// Mean change from b to b + k * spacing * c over k = 1..count, divided by
// (count + 1) / 2, in m/s: the slope seen from b in direction c.
inline double SlopeEstimate(const ChannelSeries& depth, int32_t b, int c, int spacing, int count)
{
    if (count < 1)
        return 0;
    const double at = depth(b);
    double sum = 0;
    for (int k = 1; k <= count; ++k)
        sum += depth(Shifted(b, int64_t{k} * spacing * c)) - at;
    return sum / count / ((count + 1) / 2.0) * 1000.0 / depth.interval();
}

// SlopeEstimate at points visited mostly one after another, from running
// sums: each point's sum follows from the one `spacing` points before it.
class SlopeWalk {
public:
    SlopeWalk(const ChannelSeries& depth, int dir, int spacing, int count);
    double at(int32_t i);

private:
    struct Sum {
        int32_t at = INT32_MIN;
        double value = 0;
    };
    const ChannelSeries& depth_;
    int dir_, spacing_, count_;
    std::vector<Sum> sums_;  // one per residue of the position modulo spacing
};

// The depth band near the surface in which a dive can begin or end.
double SurfaceBand(double maxDepth, double baselineQuality);

// Gradients (m per sample) before and after x over a half window w, and their change.
struct Kink {
    bool found = false;
    double before = 0, after = 0, curvature = 0;
};
Kink KinkAt(const ChannelSeries& depth, int32_t x, int32_t w);

struct EdgeSearch {
    const ChannelSeries& depth;
    const DiveParameters& p;
    double& surfaceNoise;  // lives for the program run
    double max = 0;        // deepest point seen so far, and where
    int32_t maxIdx = 0;
    double band = 0;

    // True when the dive can end at b (c = +1) or begin there (c = -1).
    bool EndTest(int32_t b, int c) const;
    // The end of the dive whose onset candidate is b, or -1.
    int32_t End(int32_t b);
    // The onset, searched backward from the candidate i.
    int32_t Onset(int32_t i);

private:
    int32_t window() const;
    // A bound on a walk along the dive, given in samples of a 1 s record: as
    // many samples where the sampling is 1 s or coarser, as much time where
    // it is finer, so that a fast logger's long dive is walked whole.
    int32_t walkLimit(int32_t atOneSecond) const;
    int32_t autoEnd(int32_t g);
    int32_t autoOnset(int32_t i);
};

// The surface level after a dive ending at f5: depth(f5), or the mean of the
// shallow stretch after it when that stretch is level (smoothed gradient
// below 0.1 m/s). Reads through a workshop of the analysis slot.
double BaselineAfterDive(Recording& rec, const ChannelSeries& depth, int32_t f5, double threshold, VkDialogs& ui);

}  // namespace vk
