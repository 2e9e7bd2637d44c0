#pragma once

// Bouts: runs of dives whose pauses stay shorter than BoutIntermediate and
// that last, from the first onset to the last end, longer than BoutMinDur.
// "Analyze bout, find next" summarises the framed bout and frames the next;
// "Skip bout, find next" only frames. The summary is made from the dives'
// analysed values; the same sums serve a run that groups dives as it goes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dive/DiveSearch.h"
#include "core/setup/Settings.h"
#include "core/store/Markers.h"

namespace vk {

struct BoutSummary {
    int32_t onsetIndex = 0;
    double onsetTime = 0, endTime = 0;                          // ms
    double duration = 0;                                        // s
    int32_t dives = 0, wiggles = 0, stops = 0;                  // stops -1: dive stops were not searched
    std::array<int32_t, 6> shapes{};                            // V, U, Y, W, L, parabola
    double longestDive = -Unreached, deepestDive = -Unreached;  // s, m
    double deepestWithBottom = -Unreached, deepestWithoutBottom = -Unreached;
    double meanDepthWithBottom = Unreached, meanDepthWithoutBottom = Unreached;
    double totalDiveTime = 0, meanDiveDuration = Unreached, meanMaxDepth = Unreached,
           meanDepth = Unreached;  // s, s, m, m
    double totalBottomTime = 0, meanBottomDepth = Unreached, bottomFraction = Unreached;
    double timeAveragedDepth = Unreached, divesPerHour = Unreached, surfaceTime = Unreached, bottomShare = Unreached;
    double meanDescentRate = Unreached, meanAscentRate = Unreached;          // m/s
    double weightedDescentRate = Unreached, weightedAscentRate = Unreached;  // m/s
};

// The sums a bout summary is formed from, one analysed dive at a time.
class BoutSums {
public:
    // The dive as the record, the stops and its bottom extrema describe it;
    // `stopsSearched` as the dive stops setting was.
    void add(const DiveRecord& r, const StopTable& stops, int32_t bottomExtrema, double interval, bool stopsSearched);
    // The summary of the bout from `onset` to `end` (ms); `pauseAfter` (ms) is
    // the pause that ended it, counted into the bottom share.
    BoutSummary summary(int32_t onsetIndex, double onset, double end, double pauseAfter) const;

private:
    BoutSummary s_;
    double durations = 0, maxDepths = 0, depthSums = 0, points = 0;
    double bottomDepthSums = 0, bottomPoints = 0, integrals = 0;
    double withBottomSums = 0, withBottomPoints = 0, withoutBottomSums = 0, withoutBottomPoints = 0;
    double descentRates = 0, ascentRates = 0, descentWeighted = 0, ascentWeighted = 0;
    double descentPoints = 0, ascentPoints = 0;
    int32_t descentRated = 0, ascentRated = 0;  // dives whose phase has a rate
    bool stopsSearched_ = true;
};

// The extrema of the bottom F8..F9 with the hysteresis WiggAmplitude.
int32_t BottomExtrema(const ChannelSeries& depth, const LinePositions& at, double hysteresis);

struct BoutOutcome {
    bool framed = false;  // a bout long enough was found and framed
    bool windowMoved = false;
    std::optional<BoutSummary> summary;  // of the bout framed before, when asked for
};

// Find bout: summarises the framed bout first when `analyse` is set and one
// was framed before, then frames the next. Nothing while either limit is 0 s.
BoutOutcome FindBout(DiveContext& cx, const DiveParameters& p, bool analyse);

// Where bouts begin and end: a pause of at least the intermediate limit
// parts two bouts; a bout counts when longer than the least duration.
bool PartsBouts(double pauseMs, const DiveParameters& p, double interval);
bool LongEnoughBout(double durationMs, const DiveParameters& p, double interval);

// Groups dives into bouts as they are analysed, one after another, by the
// rules of FindBout; a run over a whole recording forms its bouts so.
class BoutGrouper {
public:
    // The bout that ended before this dive, when it was long enough.
    std::optional<BoutSummary> add(const DiveRecord& r, const StopTable& stops, int32_t bottomExtrema,
                                   const DiveParameters& p, double interval);
    // The last bout, when long enough.
    std::optional<BoutSummary> finish(const DiveParameters& p, double interval);

private:
    std::optional<BoutSummary> close(double pauseAfter, const DiveParameters& p, double interval);
    BoutSums sums_;
    bool open_ = false;
    int32_t onsetIndex_ = 0;
    double onset_ = 0, lastEnd_ = 0;
};

// The bout result file.
std::string BoutHeader(char delimiter);
const std::vector<std::string>& BoutColumnNames();
std::string BoutLine(int32_t number, const BoutSummary& b, const Recording& rec, const Settings& s);

}  // namespace vk
