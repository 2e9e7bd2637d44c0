#pragma once

// The samples of a section that a channel stores, and its stretches: runs of
// stored samples without a missing value.

#include <cstdint>
#include <functional>

#include "core/store/Recording.h"

namespace vk {

// Samples first .. last (indexes), both included; first > last when none.
struct StoredSection {
    int32_t first = 0, last = -1;
    int64_t count() const { return int64_t{last} - first + 1; }
};
// The part of the samples first .. last that the slot stores (CorrSmpDelay .. DataCnt).
StoredSection StoredPart(const ChannelDescriptor& d, int64_t first, int64_t last);

// Calls f(lo, hi) for each run lo .. hi of stored samples with values (a
// stretch, whole, not cut to the section) that meets the section, in order.
void ForEachStretch(const Recording& rec, int slot, StoredSection section,
                    const std::function<void(int32_t lo, int32_t hi)>& f);

}  // namespace vk
