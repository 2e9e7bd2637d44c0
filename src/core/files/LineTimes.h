#pragma once

// The times of the lines a text load makes samples of, read from the
// channel's time columns (ChannelDescriptor::TimeColumn, DateColumn): the
// sampling grid they span, and what keeps them from making one.

#include <cstdint>
#include <string>

#include "core/files/SkipStrings.h"
#include "core/files/TimeGrid.h"
#include "core/store/ChannelDescriptor.h"
#include "core/store/Recording.h"

namespace vk {

struct LineTimes {
    TimeGrid grid;
    DateOrder order = DateOrder::Unknown;  // the order the dates were read in
    // The file's slashed dates fit day first and month first alike: the user must say.
    bool orderUnknown = false;
    // Why no grid could be made (the file, a line without a time); empty when one was.
    std::string error;
};

// Reads the time columns of every line the text load turns into a sample:
// after the header and `skipCount` lines, neither empty nor holding a skip
// string, and with a value unless empty fields are passed over. Times in
// stamps with offsets from UTC are kept on the first line's clock; a time of
// day without a date starts on the day of StartTime and goes on to the next
// day where the clock turns back past midnight; a plain number is seconds
// after StartTime.
LineTimes ReadLineTimes(const ChannelDescriptor& d, int64_t skipCount, const SkipStrings& skips);

// The slot's start (and its calendar fields) and interval from the grid of
// its lines' times, where the grid has them.
void TakeTimeGrid(Recording& rec, int slot, const TimeGrid& grid);

}  // namespace vk
