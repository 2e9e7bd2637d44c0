#pragma once

// Rows and extents of the lines drawn over a strip: grid, subsidiary lines,
// cursors.

#include <vector>

#include "core/store/ChannelDescriptor.h"
#include "core/view/PixelMap.h"
#include "core/view/SubsidiaryLines.h"

namespace vk {

// Grid rows of a channel with grid distance GridDist (none for 0).
std::vector<int> GridRows(const ChannelDescriptor& d, int height);

// Rows of the enabled subsidiary lines inside the displayed range; a row that
// an earlier line already has is left out (one line, not two).
std::vector<int> SubsidiaryRows(const SubsidiaryLines& lines, const ChannelDescriptor& d, int height);

struct Extent {
    int top, bottom;
};
// Cursors and borders: from height/24 to height - height/24.
Extent CursorExtent(int height);
// B-cursors: from position x height/10 for `length` tenths.
Extent BCursorExtent(int height, int position, int length);
// Sh-cursors: the lower half.
Extent ShCursorExtent(int height);
// Wiggle marks: the lowest quarter.
Extent WiggleMarkExtent(int height);
// Dive stop marks: between a fifth and a third of the height, where the mouse takes them.
Extent StopMarkExtent(int height);

}  // namespace vk
