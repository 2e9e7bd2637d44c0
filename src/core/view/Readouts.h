#pragma once

// The texts of the graph window's read-outs.

#include <optional>
#include <string>

#include "core/store/Recording.h"
#include "core/view/ViewState.h"

namespace vk {

// Fixed format with 7 (or `significant`) digits and 4 (or `decimals`)
// decimals ("1234.5680"); scientific from 10^significant on.
std::string FormatReadout(double value, int significant = 7, int decimals = 4);

// "hh:mm:ss" and "dd.mm.yyyy" of a clock time, milliseconds added when not 0.
std::string FormatClock(double ms);
std::string FormatDate(double ms);
// A span as "hh:mm:ss", with days in front when it has any.
std::string FormatDuration(double ms);

// The channel's value at time t (ms from the start): the sample at or before
// it, or with interpolation the straight line to the next sample. Nothing when
// a sample needed has no value.
std::optional<double> ValueAtTime(const Recording& rec, int slot, double t, bool interpolate);

struct CursorReadouts {
    std::string leftValue, leftTime, leftDate;
    std::string rightValue, rightTime, rightDate;
    std::string difference;
};

// The read-outs of F4 and F5 for the active channel; in time-axis mode 1 the
// date fields show sample indexes and the time fields stay empty.
CursorReadouts MakeCursorReadouts(const Recording& rec, const ViewState& view, int timeAxisMode, bool interpolate);

}  // namespace vk
