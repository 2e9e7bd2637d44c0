#pragma once

// The way-way diagram: a dive's depth against the horizontal distance swum,
// from the speed channel and the depth change of each depth step. The path
// of a step is speed x the depth interval; what the depth change leaves of it
// is the horizontal part. A depth change longer than the path adds nothing
// and counts as a speed error.

#include <cstdint>
#include <string>
#include <vector>

#include "core/store/Recording.h"
#include "core/store/Stretches.h"

namespace vk {

struct WayWayRequest {
    int depthSlot = 0, speedSlot = 2;
    double f4 = 0, f5 = 0;
};

// Both channels must hold data, in different slots.
bool WayWayChannelsPresent(const Recording& rec, int depthSlot, int speedSlot);
inline constexpr const char* NoWayWayChannels = " No depth file or no speed file available";
inline constexpr const char* NotEnoughSpeed = " Not eenaf speed data at this section";

// The depth samples of the section: trunc(F4 / interval) .. trunc(F5 / interval) + 1,
// ending at the last depth sample.
StoredSection WayWaySamples(const ChannelView& depth, double f4, double f5);

// A run of depth samples walked at once: the distance before it and its own,
// and its depths.
struct WayWayChunk {
    int32_t first = 0, count = 0;
    double start = 0, length = 0;
    double zFirst = 0, zLast = 0, zMin = 0, zMax = 0;
};

struct WayWaySums {
    bool enough = false;  // false: a depth or speed value was missing
    double distance = 0;  // W
    int64_t speedErrors = 0;
    StoredSection range;
    std::vector<WayWayChunk> chunks;  // what the trace needs of the walk
};
WayWaySums SumWayWay(const Recording& rec, const WayWayRequest& r);

// The path drawn across `width` columns: for each column the depths at which
// the path enters and leaves it and their extremes.
struct WayWayColumn {
    bool any = false;
    double first = 0, last = 0, min = 0, max = 0;
};
// Only the runs of samples that cross a column's border are walked again.
std::vector<WayWayColumn> TraceWayWay(const Recording& rec, const WayWayRequest& r, const WayWaySums& sums, int width);

// Column of a distance: round(d / W x width); every point at 0 when W is 0.
int DistanceColumn(double d, double distance, int width);

// "distance<TAB>depth" per depth sample (each %8.2f), CRLF. False when the
// file cannot be written (it is then left as it was) or a value is missing.
bool ExportWayWay(const Recording& rec, const WayWayRequest& r, const std::string& path);

// The caption after a click: "Dive" + n + "  " + distance + "   " + depth (%9.2f each).
std::string WayWayClickCaption(int dive, double distance, double depth);
// The text a tag writes beside its point: distance + "; " + depth.
std::string WayWayTagText(double distance, double depth);

}  // namespace vk
