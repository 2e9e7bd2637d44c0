#include "support/GraphFixture.h"

namespace vk::test {

void Fill(Recording& rec, int slot, int32_t n, int32_t rate, double lo, double hi,
          const std::function<double(int32_t)>& f)
{
    ChannelDescriptor& d = rec.desc(slot);
    d.SampRate = rate;
    d.LowRng = lo;
    d.HighRng = hi;
    SetScaling(rec, slot);
    d.DataCnt = n - 1;
    bool report = false;
    for (int32_t i = 0; i < n; ++i)
        WriteRaw(rec, i, PhysToRaw(rec, slot, report, f(i)), slot);
    rec.at(slot).ChannelUsed = true;
}

}  // namespace vk::test
