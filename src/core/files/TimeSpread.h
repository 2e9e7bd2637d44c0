#pragma once

// A channel loaded one sample per line, placed at the positions of the
// lines' times: after each gap of its time grid the samples move up by the
// gap's length; the gap holds the stand-in of a missing value and is listed
// among the channel's missing positions, beside those the file left empty.

#include <cstdint>
#include <vector>

#include "core/files/TimeGrid.h"
#include "core/store/Recording.h"

namespace vk {

// False, with nothing changed, when the spread channel would not fit the
// slot. `standIn` is the raw word a missing value holds.
bool SpreadToTimes(Recording& rec, int slot, const std::vector<TimeGap>& gaps, uint16_t standIn);

}  // namespace vk
