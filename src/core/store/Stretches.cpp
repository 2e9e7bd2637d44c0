#include "core/store/Stretches.h"

#include <algorithm>

namespace vk {

StoredSection StoredPart(const ChannelView& channel, int64_t first, int64_t last)
{
    StoredSection s;
    first = std::max<int64_t>(first, channel.firstStored());
    last = std::min<int64_t>(last, channel.last());
    if (first <= last) {
        s.first = static_cast<int32_t>(first);
        s.last = static_cast<int32_t>(last);
    }
    return s;
}

void ForEachStretch(const Recording& rec, int slot, StoredSection section,
                    const std::function<void(int32_t lo, int32_t hi)>& f)
{
    const ChannelView channel(rec, slot);
    const int32_t origin = channel.firstStored(), last = channel.last();
    const GapList& gaps = channel.gaps();
    int32_t lo = origin;
    while (lo <= last && lo <= section.last) {
        const GapRange* gap = gaps.after(lo - origin);
        if (gap && gap->from <= lo - origin) {  // lo is missing: the stretch starts after the gap
            lo = origin + gap->to;
            continue;
        }
        const int32_t hi = gap ? std::min(last, origin + gap->from - 1) : last;
        if (hi >= section.first)
            f(lo, hi);
        lo = hi + 1;
    }
}

}  // namespace vk
