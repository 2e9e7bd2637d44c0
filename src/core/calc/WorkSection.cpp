#include "core/calc/WorkSection.h"

#include <cmath>

namespace vk {

namespace {

// An index from a time, held where int64 arithmetic stays safe.
int64_t IndexOf(double quotient)
{
    constexpr double Far = 9e15;
    if (std::isnan(quotient))
        return -1;
    return static_cast<int64_t>(std::fmax(-Far, std::fmin(Far, quotient)));
}

}  // namespace

StoredSection SectionSamples(const ChannelView& channel, double f4, double f5)
{
    const double interval = channel.interval();
    if (!(interval > 0))
        return {};
    return StoredPart(channel, IndexOf(std::floor((f4 + interval - 1) / interval)), IndexOf(std::floor(f5 / interval)));
}

StoredSection EventSamples(const ChannelView& channel, double f4, double f5)
{
    const double interval = channel.interval();
    if (!(interval > 0))
        return {};
    return StoredPart(channel, IndexOf(std::trunc(f4 / interval)), IndexOf(std::trunc(f5 / interval)));
}

}  // namespace vk
