#pragma once

// One slot of a recording as engines, commands and painters see it.
//
// Positions count samples from the recording's common start at the channel's
// interval: position p lies at p x interval ms. A channel that starts later
// than the recording stores nothing before firstStored(); its positions there
// read as the raw word 0. Positions firstStored() .. last() are the stored
// samples; count() is last() + 1. The stored descriptor fields behind this
// (CorrSmpDelay, DataCnt, SampRate, GrRepr) are read and written here and by
// the setup and binary codecs only.

#include <cmath>
#include <cstdint>
#include <string>

#include "core/store/DrawDirection.h"
#include "core/store/Recording.h"

namespace vk {

// How raw words become values: raw x a + b less the baseline offset shown
// (c, a quadratic term, only where a single raw word is turned into a value).
struct Calibration {
    double a = 1.0, b = 0.0, c = 0.0, offset = 0.0;
    double value(double raw) const { return raw * a + b - offset; }
    bool linear() const { return c == 0.0; }
};

class ChannelView {
public:
    ChannelView(const Recording& rec, int slot) : rec_(&rec), d_(&rec.desc(slot)), slot_(slot) {}

    int slot() const { return slot_; }
    const Recording& recording() const { return *rec_; }
    const ChannelDescriptor& descriptor() const { return *d_; }

    // Positions 0 .. last(); last() is -1 or below for a channel without samples.
    int32_t last() const { return descriptor().DataCnt; }
    int64_t count() const { return int64_t{last()} + 1; }
    // The first stored position, and how many samples are stored from it.
    int32_t firstStored() const { return descriptor().CorrSmpDelay; }
    int64_t storedCount() const { return count() - firstStored(); }
    // A position's place in the sample store, and back.
    int64_t stored(int64_t position) const { return position - firstStored(); }
    int64_t position(int64_t stored) const { return stored + firstStored(); }
    // The position holds a stored sample.
    bool stores(int64_t position) const { return position >= firstStored() && position <= last(); }

    // The sampling interval in ms (exact: 62.5 for 16 Hz), and the time of a
    // position after the common start.
    double interval() const
    {
        const ChannelDescriptor& d = descriptor();
        return d.exactInterval > 0 ? d.exactInterval : d.SampRate;
    }
    double timeOf(int64_t position) const { return static_cast<double>(position) * interval(); }
    // The first position at or after a time and the last at or before it (0 without an interval).
    int64_t firstAtOrAfter(double ms) const
    {
        return interval() > 0 ? static_cast<int64_t>(std::ceil(ms / interval())) : 0;
    }
    int64_t lastAtOrBefore(double ms) const
    {
        return interval() > 0 ? static_cast<int64_t>(std::floor(ms / interval())) : 0;
    }
    // The time of the last position: the channel's span.
    double span() const { return timeOf(last()); }

    // The value a reader sees at a position (the workshop's while one is
    // active), and the channel's own value.
    PhysValue value(int32_t position) const { return ReadValue(*rec_, position, slot_); }
    PhysValue ownValue(int32_t position) const { return ReadChannelValue(*rec_, position, slot_); }
    uint16_t raw(int32_t position) const { return ReadRaw(*rec_, position, slot_); }
    bool missing(int64_t position) const { return IsMissing(*rec_, slot_, position); }
    // Where the data file gave no value, in stored places.
    const GapList& gaps() const { return rec_->at(slot_).missing; }

    Calibration calibration() const
    {
        const ChannelDescriptor& d = descriptor();
        return {d.CoeffA, d.CoeffB, d.CoeffC, d.yOffset};
    }
    const std::string& caption() const { return descriptor().Caption; }
    DrawDirection direction() const { return DirectionOfStyle(descriptor().GrRepr); }
    // The strip's drawing style as the setup keeps it: the curve's shape,
    // turned strips (6 .. 9) and, by its sign, the direction.
    int drawingStyle() const { return descriptor().GrRepr; }
    bool used() const { return rec_->at(slot_).ChannelUsed; }

private:
    const Recording* rec_;
    const ChannelDescriptor* d_;  // read live: commands change it while a view is held
    int slot_;
};

// The same with the changes that move a channel's extent or interval.
class Channel : public ChannelView {
public:
    Channel(Recording& rec, int slot) : ChannelView(rec, slot), rec_(&rec) {}

    ChannelDescriptor& descriptor() { return rec_->desc(slot()); }
    using ChannelView::descriptor;
    GapList& gaps() { return rec_->at(slot()).missing; }
    using ChannelView::gaps;

    // Stores `count` samples from position `first` on (count 0: no sample).
    void setExtent(int32_t first, int64_t count)
    {
        descriptor().CorrSmpDelay = first;
        descriptor().DataCnt = static_cast<int32_t>(first + count - 1);
    }
    void setLast(int32_t last) { descriptor().DataCnt = last; }
    void setFirstStored(int32_t first) { descriptor().CorrSmpDelay = first; }
    // Every position times n: the same samples at an n times shorter interval.
    void spreadPositions(int32_t n)
    {
        descriptor().DataCnt *= n;
        descriptor().CorrSmpDelay *= n;
    }
    // The interval in ms; the stored whole milliseconds are its rounding.
    void setInterval(double ms)
    {
        ChannelDescriptor& d = descriptor();
        d.SampRate = static_cast<int32_t>(std::lround(ms));
        d.exactInterval = ms == d.SampRate ? 0.0 : ms;
    }
    void setDirection(DrawDirection direction)
    {
        int32_t& style = descriptor().GrRepr;
        if ((direction == DrawDirection::Upwards) != (style >= 0))
            style = -style;
    }

private:
    Recording* rec_;
};

}  // namespace vk
