#include "store/ChannelSeries.h"

namespace vk {

PhysValue ChannelSeries::slowChannel(int32_t i) const
{
    if (d_->Derivation == 1 || d_->bApplyPolynom == 1)
        return ReadChannelValue(*rec_, i, slot_);
    const int64_t p = int64_t{i} - d_->CorrSmpDelay;
    if (i >= 0 && i <= d_->DataCnt && p >= 0 && p < SampleStore::Capacity) {
        const int row = static_cast<int>(p >> SampleStore::BlockShift);
        if (const uint16_t* block = rec_->store.block(slot_, row)) {
            cached_ = block;
            cachedFrom_ = int64_t{row} << SampleStore::BlockShift;
        }
    }
    return ReadPhysOf(rec_->store, *d_, slot_, i);
}

}  // namespace vk
