#include "graph/GraphScene.h"

#include <algorithm>
#include <future>
#include <vector>

namespace vk {

void BuildEnvelopes(const Recording& rec, std::array<Envelope, 3>& envelopes)
{
    std::vector<std::future<void>> work;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const SlotData& s = rec.at(slot);
        const int64_t stored = std::min<int64_t>(int64_t{s.desc.DataCnt} - s.desc.CorrSmpDelay + 1,
                                                 rec.store.capacity(slot));
        Envelope& e = envelopes[static_cast<std::size_t>(slot)];
        if (!s.ChannelUsed || stored <= 0) {
            e.build(rec.store, slot, 0);
            continue;
        }
        work.push_back(std::async(std::launch::async,
                                  [&rec, &e, slot, stored] { e.build(rec.store, slot, stored, rec.at(slot).missing); }));
    }
    for (auto& w : work)
        w.get();
}

}  // namespace vk
