#include "core/store/CommonStart.h"

#include <algorithm>
#include <cmath>

#include "core/store/Channel.h"
#include "core/store/VkDialogs.h"

namespace vk {

namespace {

constexpr double FarApartSeconds = 2.6e7;  // about 301 days

}  // namespace

bool SettleCommonStart(Recording& rec, VkDialogs& ui)
{
    double first = 1e17;
    for (const SlotData& s : rec.slots)
        if (s.ChannelUsed)
            first = std::min(first, s.desc.StartTime);

    for (SlotData& s : rec.slots) {
        if (!s.ChannelUsed)
            continue;
        ChannelDescriptor& d = s.desc;
        d.SmpDelay = 0;
        if (d.SampRate <= 0) {
            ui.message(" Illegal sampl. rate", Severity::Error);
            return false;
        }
        double delay = d.StartTime - first;
        if (delay / 1000.0 > FarApartSeconds &&
            ui.ask(" Start times differs much! \r\n(May origin from info in file header)\r\nContinue? ", Buttons::YesNo,
                   Severity::Warning) != Answer::Yes)
            return false;
        delay /= d.SampRate;
        if (!(delay <= 2147483647.0)) {
            ui.message("Illegal start time", Severity::Error);
            return false;
        }
        d.SmpDelay = static_cast<int32_t>(std::nearbyint(delay));
    }

    rec.time.Start = DecodeTime(first);
    // The milliseconds too: a logger's times or an archive may start between seconds.
    rec.time.GlobalStart = EncodeTime(rec.time.Start) + rec.time.Start.millisecond + rec.time.TimeOffset;

    const double offset = std::trunc(rec.time.TimeOffset);
    for (int slot = 0; slot < SlotCount; ++slot) {
        SlotData& s = rec.at(slot);
        if (!s.ChannelUsed)
            continue;
        const auto o = static_cast<int64_t>(offset) / s.desc.SampRate;
        Channel(rec, slot).setFirstStored(static_cast<int32_t>(std::max<int64_t>(s.desc.SmpDelay - o, 0)));
        s.SkipCount = static_cast<int32_t>(std::max<int64_t>(o - s.desc.SmpDelay, 0));
    }
    return true;
}

}  // namespace vk
