#pragma once

// Dive stops: stretches of the descent (F4..F8) and of the ascent (F9..F5)
// where the vertical movement pauses, the depth gradient staying below a limit
// for a least number of samples. At most four per phase. Also the edits the
// mouse and the dialog make to the table.

#include <array>
#include <string>
#include <vector>

#include "core/setup/DiveParameters.h"
#include "core/setup/DiveRecord.h"
#include "core/store/ChannelSeries.h"
#include "core/view/ViewState.h"

namespace vk {

// Clears the table and searches both phases; nothing is searched while
// StopLength1 or StopMinDuration is below 1.
void FindDiveStops(const ChannelSeries& depth, const LinePositions& at, const DiveParameters& p, StopTable& table);

// Divides stop k of a phase in two around its middle; not while the phase holds four.
bool DivideStop(StopTable& table, int phase, int k);
void RemoveStop(StopTable& table, int phase, int k);
// After a mouse edit: stops that do not end after their onset go, and a stop
// starting at or before the end of the one before it merges into that one.
void TidyStops(StopTable& table);

// A row of the "Change Dive stops" dialog; times relative to F4.
struct StopRow {
    bool checked = false;
    double onset = 0, end = 0;
};
using StopRows = std::array<std::array<StopRow, MaxStopsPerPhase>, 2>;

StopRows RowsOf(const StopTable& table, double f4);
// Takes the dialog's rows back; returns the warnings to show (they do not block the change).
std::vector<std::string> ApplyStopRows(StopTable& table, const StopRows& rows, const LinePositions& at);

}  // namespace vk
