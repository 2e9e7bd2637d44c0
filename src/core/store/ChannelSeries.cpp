#include "core/store/ChannelSeries.h"

namespace vk {

PhysValue ChannelSeries::slowChannel(int32_t i) const
{
    if (bounded_ && (i < lo_ || i > hi_))
        return clamped(i);
    const ChannelDescriptor& d = channel_.descriptor();
    if (d.Derivation || d.bApplyPolynom)
        return ReadChannelValue(channel_.recording(), i, channel_.slot());
    const int64_t p = channel_.stored(i);
    const GapList& gaps = channel_.recording().at(channel_.slot()).missing;
    if (i >= lo_ && i <= hi_ && p >= 0 && p < SampleStore::Capacity) {
        const int row = static_cast<int>(p >> SampleStore::BlockShift);
        const int64_t from = int64_t{row} << SampleStore::BlockShift;
        const uint16_t* block = channel_.recording().store.block(channel_.slot(), row);
        if (block && !gaps.overlaps(from, from + SampleStore::BlockSamples)) {
            cached_ = block;
            cachedFrom_ = from;
        }
    }
    PhysValue v = ReadPhysOf(channel_.recording().store, d, channel_.slot(), i);
    if (v.status == 0 && !gaps.empty() && IsMissing(channel_.recording(), channel_.slot(), i))
        v.status = StatusMissing;
    return v;
}

PhysValue ChannelSeries::clamped(int32_t i) const
{
    PhysValue v = read(std::clamp(i, lo_, hi_));
    if (v.status == 0)
        v.status = -2;
    return v;
}

ChannelSeries StretchSeries(const Recording& rec, int slot, int32_t i)
{
    const ChannelSeries whole(rec, slot);
    const GapList& gaps = rec.at(slot).missing;
    if (gaps.empty())
        return whole;
    const int64_t origin = ChannelView(rec, slot).firstStored();
    const int64_t p = std::clamp<int64_t>(int64_t{i} - origin, INT32_MIN, INT32_MAX);
    int64_t lo = INT32_MIN, hi = INT32_MAX;
    for (const GapRange& g : gaps.ranges()) {
        if (g.to <= p)
            lo = g.to + origin;
        else if (g.from > p) {
            hi = g.from - 1 + origin;
            break;
        } else {  // i itself has no value: the stretch after its gap
            lo = g.to + origin;
        }
    }
    return whole.within(static_cast<int32_t>(std::clamp<int64_t>(lo, INT32_MIN, INT32_MAX)),
                        static_cast<int32_t>(std::clamp<int64_t>(hi, INT32_MIN, INT32_MAX)));
}

namespace {

const GapRange* GapAt(const Recording& rec, int slot, int32_t i)
{
    const int64_t p = ChannelView(rec, slot).stored(i);
    return p < 0 || p > INT32_MAX ? nullptr : rec.at(slot).missing.at(static_cast<int32_t>(p));
}

}  // namespace

int32_t AfterMissing(const Recording& rec, int slot, int32_t i)
{
    const GapRange* g = GapAt(rec, slot, i);
    return g ? static_cast<int32_t>(ChannelView(rec, slot).position(g->to)) : i;
}

int32_t BeforeMissing(const Recording& rec, int slot, int32_t i)
{
    const GapRange* g = GapAt(rec, slot, i);
    return g ? static_cast<int32_t>(ChannelView(rec, slot).position(g->from - 1)) : i;
}

}  // namespace vk
