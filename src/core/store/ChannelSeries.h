#pragma once

// One channel as the analysis engines read it: values by index as ReadValue
// gives them, the number of points and the sample interval. A series may be
// limited to a stretch of indexes: reads beyond it give the value at its end,
// as reads beyond a channel's ends do, so a stretch between missing values
// behaves as a channel of its own.

#include <algorithm>
#include <cstdint>

#include "core/store/Channel.h"

namespace vk {

// b + delta, held inside the int32 range (reads beyond a channel's ends clamp anyway).
inline int32_t Shifted(int32_t b, int64_t delta)
{
    const int64_t i = int64_t{b} + delta;
    return i < INT32_MIN ? INT32_MIN : i > INT32_MAX ? INT32_MAX : static_cast<int32_t>(i);
}

class ChannelSeries {
public:
    ChannelSeries(const Recording& rec, int slot)
            : channel_(rec, slot), lo_(0), hi_(channel_.last())
    {
    }

    // The same channel read only over indexes lo .. hi.
    ChannelSeries within(int32_t lo, int32_t hi) const
    {
        ChannelSeries s(channel_.recording(), channel_.slot());
        s.lo_ = std::max(lo, 0);
        s.hi_ = std::min(hi, channel_.last());
        s.bounded_ = true;
        return s;
    }

    double operator()(int32_t i) const { return read(i).value; }
    // ReadValue, with the plain case (no workshop, difference or polynomial) inline.
    PhysValue read(int32_t i) const
    {
        if (channel_.recording().workshop)
            return bounded_ && (i < lo_ || i > hi_) ? clamped(i) : ReadValue(channel_.recording(), i, channel_.slot());
        return channel(i);
    }
    // The channel's own value, never a workshop's (ReadChannelValue). Most
    // reads fall into the block of the read before: those stay inline.
    PhysValue channel(int32_t i) const
    {
        const int64_t p = channel_.stored(i);
        if (p >= cachedFrom_ && p < cachedFrom_ + SampleStore::BlockSamples && i >= lo_ && i <= hi_) {
            const ChannelDescriptor& d = channel_.descriptor();
            return {cached_[p - cachedFrom_] * d.CoeffA + d.CoeffB - d.yOffset, 0};
        }
        return slowChannel(i);
    }
    uint16_t raw(int32_t i) const { return ReadRaw(channel_.recording(), bounded_ ? std::clamp(i, lo_, hi_) : i, channel_.slot()); }

    int32_t first() const { return lo_; }             // the first index read
    int32_t count() const { return hi_ + 1; }         // indexes first() .. count - 1
    double interval() const { return channel_.interval(); }  // ms
    int slot() const { return channel_.slot(); }
    const Recording& recording() const { return channel_.recording(); }

private:
    PhysValue slowChannel(int32_t i) const;  // and remembers the block read
    PhysValue clamped(int32_t i) const;      // a read beyond the stretch

    ChannelView channel_;  // read live: the baseline may move during a search
    // The indexes read: the channel's, or a stretch of them (bounded_), whose
    // ends then stand in for reads beyond them.
    int32_t lo_, hi_;
    bool bounded_ = false;
    // Never set for a channel with difference or polynomial, nor for a block
    // with missing values: those take the long way.
    mutable const uint16_t* cached_ = nullptr;
    mutable int64_t cachedFrom_ = INT64_MIN / 2;  // position of cached_[0]
};

// The channel around index i as far as it has values: limited to the stretch
// between the missing values before and after i (the whole channel when it
// has none).
ChannelSeries StretchSeries(const Recording& rec, int slot, int32_t i);
// The first index with a value from i on: i, or the end of the missing values at i.
int32_t AfterMissing(const Recording& rec, int slot, int32_t i);
// The last index with a value up to i: i, or the one before the missing values at i (-1 for none).
int32_t BeforeMissing(const Recording& rec, int slot, int32_t i);

}  // namespace vk
