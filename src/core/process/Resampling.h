#pragma once

// Changing a channel's sampling interval in place: keeping every n-th
// sample (reduce), n samples per interval by linear interpolation (expand),
// or twice as many by a bent interpolation (double points). Positions are
// counted from the channel's first stored sample, so a channel that starts
// late keeps its start.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "core/store/GapList.h"
#include "core/view/Command.h"

namespace vk {


// A progress bar along a long run; (0, 0) hides it.
using StepProgress = std::function<void(int64_t done, int64_t total)>;

// Moves the bar about 16 times over `total` steps, and hides it at the end,
// also when the run stops early.
class StepReporter {
public:
    StepReporter(const StepProgress& p, int64_t total) : p_(p), total_(total), every_(std::max<int64_t>(1, total / 16))
    {
        if (p_)
            p_(0, total_);
    }
    ~StepReporter()
    {
        if (p_)
            p_(0, 0);
    }
    StepReporter(const StepReporter&) = delete;
    StepReporter& operator=(const StepReporter&) = delete;
    void at(int64_t done)
    {
        if (p_ && done >= next_) {
            p_(done, total_);
            next_ = done + every_;
        }
    }

private:
    const StepProgress& p_;
    int64_t total_, every_, next_ = 0;
};

// x rounded to the nearest whole number, ties to even, without a library
// call: adding and taking away 2^52 drops the fraction (|x| < 2^51).
inline double RoundEven(double x)
{
    const double shift = std::copysign(4503599627370496.0, x);
    return (x + shift) - shift;
}

// The word i / n of the way from `here` to here + rise, as expand makes it.
inline uint16_t LineWord(uint16_t here, double rise, int32_t i, int32_t n)
{
    return static_cast<uint16_t>(here + RoundEven(rise * i / n));
}

// Where values are missing after a change of density: a new position is
// missing when an old one it is made from is. Old positions from .. to - 1
// become from * up / down - reach .. (to - 1) * up / down + reach, cut to 0 .. last.
GapList ResampledGaps(const GapList& gaps, int64_t up, int64_t down, int64_t reach, int64_t last);

// Keeps every n-th sample; the interval becomes n times as long. Nothing for n < 2.
bool ReduceChannel(Recording& rec, UndoSink& undo, int slot, int32_t n);

// n samples per former interval, the new ones on the straight line between
// the old; the interval becomes round(interval / n). False after "Command
// rejected. Sampl. int. too small." or "Not enough capacity for this operation.".
bool ExpandChannel(Recording& rec, VkDialogs& ui, UndoSink& undo, int slot, int32_t n, const StepProgress& progress);

// A new sample between every two, bent towards the curvature of their
// neighbours; the interval is halved. False after the capacity message.
bool DoublePoints(Recording& rec, VkDialogs& ui, UndoSink& undo, int slot, const StepProgress& progress);

// The menu commands: they ask as the menu items do, then run the above.
CommandResult ReduceCommand(ViewContext& cx, int slot);
CommandResult ExpandCommand(ViewContext& cx, int slot, const StepProgress& progress);
CommandResult DoublePointsCommand(ViewContext& cx, int slot, const StepProgress& progress);

}  // namespace vk
