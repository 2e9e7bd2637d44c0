#pragma once

// The samples of a section that a channel stores, and its stretches: runs of
// stored samples without a missing value.

#include <algorithm>
#include <cstdint>
#include <functional>

#include "core/store/Channel.h"

namespace vk {

// Samples first .. last (indexes), both included; first > last when none.
struct StoredSection {
    int32_t first = 0, last = -1;
    int64_t count() const { return int64_t{last} - first + 1; }
};
// The part of the samples first .. last that the slot stores (its first stored position .. its last).
StoredSection StoredPart(const ChannelView& channel, int64_t first, int64_t last);

// Calls f(lo, hi) for each run lo .. hi of stored samples with values (a
// stretch, whole, not cut to the section) that meets the section, in order.
void ForEachStretch(const Recording& rec, int slot, StoredSection section,
                    const std::function<void(int32_t lo, int32_t hi)>& f);

// Calls f(i0, words, count) for the samples lo .. hi of allocated blocks,
// at most `most` words at a time and never across a block's border.
template <typename F>
void ForEachRun(const Recording& rec, int slot, int32_t lo, int32_t hi, int32_t most, F f)
{
    const ChannelView channel(rec, slot);
    for (int32_t i = lo; i <= hi;) {
        const int64_t p = channel.stored(i);
        const auto offset = static_cast<int32_t>(p & SampleStore::BlockMask);
        const int32_t count = std::min({hi - i + 1, SampleStore::BlockSamples - offset, most});
        if (const uint16_t* block = rec.store.block(slot, static_cast<int>(p >> SampleStore::BlockShift)))
            f(i, block + offset, count);
        i += count;
    }
}

}  // namespace vk
