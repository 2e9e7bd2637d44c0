#include "core/process/RawLine.h"

#include <algorithm>

#include "core/store/Channel.h"

namespace vk {

bool DrawRawLine(Recording& rec, int slot, int32_t from, int32_t to, uint16_t w0, uint16_t w1)
{
    const ChannelView channel(rec, slot);
    const int32_t lastInside = std::min(to, channel.last());
    if (from < channel.firstStored() || from >= to || lastInside < from ||
        AnyMissing(rec, slot, from, int64_t{lastInside} + 1))
        return false;
    const double span = static_cast<double>(to) - from, rise = static_cast<double>(w1) - w0;
    for (int32_t m = 1; from + m < to && from + m <= channel.last(); ++m) {
        bool inside = true;
        WriteRaw(rec, from + m, RoundRaw(w0 + m * rise / span, inside), slot);
    }
    return true;
}

bool DrawRawLine(Recording& rec, int slot, int32_t from, int32_t to)
{
    const int32_t end = std::min(to, ChannelView(rec, slot).last());
    return DrawRawLine(rec, slot, from, to, ReadRaw(rec, from, slot), ReadRaw(rec, end, slot));
}

}  // namespace vk
