#include "core/store/ChunkValues.h"

#include <algorithm>
#include <cmath>

#include "core/store/Channel.h"
#include "core/store/RawRuns.h"

namespace vk {

ChunkValues::ChunkValues(const Recording& rec, int slot, int32_t capacity, int ahead, int behind)
        : rec_(rec),
          slot_(slot),
          series_(rec, slot),
          lo_(ChannelView(rec, slot).firstStored()),
          hi_(ChannelView(rec, slot).last()),
          ahead_(ahead),
          behind_(behind),
          buffer_(static_cast<std::size_t>(capacity + ahead + behind))
{
}

const double* ChunkValues::load(int32_t j0, int32_t count)
{
    const int keep = behind_ + ahead_;
    double* out = buffer_.data();
    holes_ = holes_ && keep > 0;  // a carried value may be missing
    if (j0 == next_) {            // the values around the previous chunk's end are still the former ones
        std::copy(out + previous_, out + previous_ + keep, out);
        read(j0 + ahead_, j0 + count + ahead_, out + keep);
    } else {
        holes_ = false;
        read(j0 - behind_, j0 + count + ahead_, out);
    }
    previous_ = count;
    next_ = j0 + count;
    return out + behind_;
}

void ChunkValues::read(int32_t from, int32_t to, double* out)
{
    const ChannelDescriptor& d = rec_.desc(slot_);
    const bool plain = !d.Derivation && !d.bApplyPolynom && rec_.workshop == nullptr;
    const double gain = d.CoeffA, low = d.CoeffB, offset = d.yOffset;
    const GapList& gaps = rec_.at(slot_).missing;
    for (int32_t i = from; i < to;) {
        if (plain && i >= lo_ && i <= hi_) {
            const int64_t p = int64_t{i} - lo_;
            const int row = static_cast<int>(p >> SampleStore::BlockShift);
            const int64_t stop =
                std::min<int64_t>({to, int64_t{hi_} + 1, lo_ + ((int64_t{row} + 1) << SampleStore::BlockShift)});
            const uint16_t* block = rec_.store.block(slot_, row);
            if (block && !gaps.overlaps(p, stop - lo_)) {
                const auto n = static_cast<int32_t>(stop - i);
                ValuesOfRaw(block + (p & SampleStore::BlockMask), n, gain, low, offset, out + (i - from));
                i += n;
                continue;
            }
        }
        const PhysValue v = series_.read(std::clamp(i, lo_, hi_));
        const bool known = v.status == 0 || v.status == -2;
        out[i - from] = known ? v.value : NoValue;
        holes_ = holes_ || !known || std::isnan(v.value);
        ++i;
    }
}

}  // namespace vk
