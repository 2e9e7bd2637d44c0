#pragma once

// One channel as the analysis engines read it: values by index as ReadValue
// gives them, the number of points and the sample interval.

#include <cstdint>

#include "store/Recording.h"

namespace vk {

class ChannelSeries {
public:
    ChannelSeries(const Recording& rec, int slot) : rec_(&rec), slot_(slot) {}

    double operator()(int32_t i) const { return ReadValue(*rec_, i, slot_).value; }
    PhysValue read(int32_t i) const { return ReadValue(*rec_, i, slot_); }
    uint16_t raw(int32_t i) const { return ReadRaw(*rec_, i, slot_); }

    int32_t count() const { return rec_->desc(slot_).DataCnt + 1; }   // indexes 0 .. count - 1
    double interval() const { return rec_->desc(slot_).SampRate; }     // ms
    int slot() const { return slot_; }
    const Recording& recording() const { return *rec_; }

    // Index of a time: trunc(t / interval).
    int32_t index(double t) const { return static_cast<int32_t>(t / interval()); }

private:
    const Recording* rec_;
    int slot_;
};

}  // namespace vk
