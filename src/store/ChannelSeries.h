#pragma once

// One channel as the analysis engines read it: values by index as ReadValue
// gives them, the number of points and the sample interval.

#include <cstdint>

#include "store/Recording.h"

namespace vk {

// b + delta, held inside the int32 range (reads beyond a channel's ends clamp anyway).
inline int32_t Shifted(int32_t b, int64_t delta)
{
    const int64_t i = int64_t{b} + delta;
    return i < INT32_MIN ? INT32_MIN : i > INT32_MAX ? INT32_MAX : static_cast<int32_t>(i);
}

class ChannelSeries {
public:
    ChannelSeries(const Recording& rec, int slot) : rec_(&rec), d_(&rec.desc(slot)), slot_(slot) {}

    double operator()(int32_t i) const { return read(i).value; }
    // ReadValue, with the plain case (no workshop, difference or polynomial) inline.
    PhysValue read(int32_t i) const
    {
        if (rec_->workshop)
            return ReadValue(*rec_, i, slot_);
        return channel(i);
    }
    // The channel's own value, never a workshop's (ReadChannelValue). Most
    // reads fall into the block of the read before: those stay inline.
    PhysValue channel(int32_t i) const
    {
        const int64_t p = int64_t{i} - d_->CorrSmpDelay;
        if (p >= cachedFrom_ && p < cachedFrom_ + SampleStore::BlockSamples && i >= 0 && i <= d_->DataCnt)
            return {cached_[p - cachedFrom_] * d_->CoeffA + d_->CoeffB - d_->yOffset, 0};
        return slowChannel(i);
    }
    uint16_t raw(int32_t i) const { return ReadRaw(*rec_, i, slot_); }

    int32_t count() const { return d_->DataCnt + 1; }  // indexes 0 .. count - 1
    double interval() const { return d_->SampRate; }   // ms
    int slot() const { return slot_; }
    const Recording& recording() const { return *rec_; }

private:
    PhysValue slowChannel(int32_t i) const;  // and remembers the block read

    const Recording* rec_;
    const ChannelDescriptor* d_;  // read live: the baseline may move during a search
    int slot_;
    // Never set for a channel with difference or polynomial: those take the long way.
    mutable const uint16_t* cached_ = nullptr;
    mutable int64_t cachedFrom_ = INT64_MIN / 2;  // position of cached_[0]
};

}  // namespace vk
