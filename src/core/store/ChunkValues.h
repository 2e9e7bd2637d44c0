#pragma once

// One channel's values chunk after chunk, each chunk with `behind` values
// before it and `ahead` after it. A value is read before any position at or
// after it is written, and the values around a chunk's end are carried into
// the next chunk rather than read again: a result written into this channel
// never reads its own new values. Reads beyond the stored samples give the
// nearest stored value; a missing value is NaN.

#include <cstdint>
#include <limits>
#include <vector>

#include "core/store/ChannelSeries.h"

namespace vk {

inline constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();

class ChunkValues {
public:
    // Chunks of at most `capacity` values.
    ChunkValues(const Recording& rec, int slot, int32_t capacity, int ahead, int behind);

    // The values of j0 - behind .. j0 + count + ahead - 1; the result points at y(j0).
    const double* load(int32_t j0, int32_t count);

    // False when no value of the last chunk loaded is missing.
    bool holes() const { return holes_; }

private:
    // Values of from .. to - 1: straight from the blocks where the channel is
    // plain and has its values, else value by value.
    void read(int32_t from, int32_t to, double* out);

    const Recording& rec_;
    int slot_;
    ChannelSeries series_;
    int32_t lo_, hi_;
    int ahead_, behind_;
    std::vector<double> buffer_;
    int32_t next_ = INT32_MIN;
    int32_t previous_ = 0;
    bool holes_ = false;
};

}  // namespace vk
