#pragma once

// Where the ticks and labels of the y scales and the time scales go. Pure
// arithmetic, apart from any painter.

#include <string>
#include <vector>

#include "core/view/PixelMap.h"

namespace vk {

struct YTick {
    double value;
    int row;
    bool labelled;  // every other tick, from the first
};

struct YScale {
    double step = 0;
    int decimals = 0;
    std::vector<YTick> ticks;
};

// The y-scale ticks of a strip of `height` pixels showing `range`.
YScale YScaleTicks(const DisplayRange& range, int height, DrawDirection direction);
// The tick step alone (the rule by range and height).
double YTickStep(double range, int height);

enum class TimeLevel { Years, Months, Days, Hours, Minutes, Seconds };

struct TimeTick {
    int x;
    TimeLevel level;    // the coarsest level that has a tick here
    std::string label;  // empty when the level's ticks are too close for labels
};

struct TimeScale {
    int finest = 0;  // levels drawn: Years .. finest
    std::vector<TimeTick> ticks;
};

// Ticks of a time scale showing f1..f2 (ms from `globalStart`) across `width`
// pixels; density 0.75 for the strips' scale, 0.6 for the total window's.
TimeScale TimeScaleTicks(double globalStart, double f1, double f2, int width, double density);

// The step of each level for the density n = round(seconds x density); 0 when not drawn.
int TimeLevelStep(TimeLevel level, double n);

}  // namespace vk
