#pragma once

// The running-mean overlay of a strip: over the work section, the trailing
// mean of n values, y(i - n + 1) .. y(i), at the time of each index i > n,
// drawn as the least and greatest mean of each pixel column. The samples are
// not changed. The columns are worked out again only when the samples, the
// cursors, the window, n or the width change.

#include <cstdint>
#include <vector>

#include "core/store/Recording.h"
#include "core/view/ViewState.h"

namespace vk {

struct ColumnRange {
    double lo = 0, hi = 0;
    bool any = false;  // no mean falls into the column
};

// The columns of a strip `width` pixels wide over F1 .. F2. A window that
// holds a missing value has no mean.
std::vector<ColumnRange> RunMeanColumns(const Recording& rec, int slot, int32_t n, const LinePositions& at, int width);

class RunMeanOverlay {
public:
    // The columns for the slot's RunMean as things stand; empty when it is 0.
    const std::vector<ColumnRange>& columns(const Recording& rec, int slot, const LinePositions& at, int width);
    // The samples changed.
    void invalidate() { valid_ = false; }

private:
    bool valid_ = false;
    int32_t n_ = 0;
    int width_ = 0;
    LinePositions at_;
    std::vector<ColumnRange> columns_;
};

}  // namespace vk
