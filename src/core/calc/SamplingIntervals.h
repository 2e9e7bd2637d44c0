#pragma once

// "Synchronize": the sampling intervals under which the sample at one cursor
// of a channel would fall on the time of the other cursor, for two channels
// named by the user. It only reports them.

#include <cstdint>
#include <string>

#include "core/view/Command.h"

namespace vk {

// Asks for two channel numbers and shows the four intervals. Nothing
// changes. Refused with a message for numbers that are not channels, the same
// channel twice or a third number; channels with different start times open
// the page "ESIdiff.rtf".
CommandResult SuggestSamplingIntervals(ViewContext& cx);

// One interval as the message shows it: t / index with 3 decimals in 9
// characters, or "      ---" for index 0.
std::string IntervalText(double t, int64_t index);

}  // namespace vk
