#include "core/process/RawLine.h"

#include <algorithm>

namespace vk {

bool DrawRawLine(Recording& rec, int slot, int32_t from, int32_t to, uint16_t w0, uint16_t w1)
{
    const ChannelDescriptor& d = rec.desc(slot);
    const int32_t lastInside = std::min(to, d.DataCnt);
    if (from < d.CorrSmpDelay || from >= to || lastInside < from ||
        AnyMissing(rec, slot, from, int64_t{lastInside} + 1))
        return false;
    const double span = static_cast<double>(to) - from, rise = static_cast<double>(w1) - w0;
    for (int32_t m = 1; from + m < to && from + m <= d.DataCnt; ++m) {
        bool inside = true;
        WriteRaw(rec, from + m, RoundRaw(w0 + m * rise / span, inside), slot);
    }
    return true;
}

bool DrawRawLine(Recording& rec, int slot, int32_t from, int32_t to)
{
    const int32_t end = std::min(to, rec.desc(slot).DataCnt);
    return DrawRawLine(rec, slot, from, to, ReadRaw(rec, from, slot), ReadRaw(rec, end, slot));
}

}  // namespace vk
