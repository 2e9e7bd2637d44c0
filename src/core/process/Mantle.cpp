#include "core/process/Mantle.h"

#include <algorithm>
#include <cmath>

#include "core/calc/Extrema.h"
#include "core/process/RawLine.h"
#include "core/process/RawSectionPass.h"
#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"
#include "core/view/RedrawRequest.h"

namespace vk {

CommandResult Mantle(ViewContext& cx, int slot, const MantleSetting& m, double f5, double f4)
{
    Recording& rec = cx.rec;
    const ChannelDescriptor& d = rec.desc(slot);
    const ChannelView channel(rec, slot);
    if (channel.interval() <= 0)
        return {};
    const StoredSection s = StoredPart(channel, static_cast<int64_t>(std::trunc(f4 / channel.interval())),
                                       static_cast<int64_t>(std::trunc(f5 / channel.interval())));
    if (s.count() < 2)
        return {};
    cx.undo.PushRange(UndoKind::Spline, slot, s.first, s.last + 1, redraw::SampleEdit);
    const int wanted = m.side == MantleAbove ? 1 : -1;
    bool any = false;
    PassProgress progress(cx.ui, s.count());
    auto cover = [&](const auto& value) {
        ForEachStretch(rec, slot, s, [&](int32_t lo, int32_t hi) {
            const int32_t to = std::min(hi, s.last);
            int32_t c = std::max(lo, s.first), at = c;
            while (at < to) {
                progress.at(at - s.first);
                const Extremum e = NextExtremumOf(value, at, to, m.minAmplitude);
                if (e.type == 0 || e.index <= at)
                    break;
                if (e.type == wanted) {
                    if (e.index - c < m.maxPeriod)
                        any = DrawRawLine(rec, slot, c, e.index) || any;
                    c = e.index;
                }
                at = e.index;
            }
        });
    };
    // A plain channel is read straight from its words.
    if (!d.Derivation && !d.bApplyPolynom && rec.workshop == nullptr) {
        cover([&rec, &d, slot](int32_t i) { return ReadPhysOf(rec.store, d, slot, i).value; });
    } else {
        const ChannelSeries series(rec, slot);
        cover([&series](int32_t i) { return series.read(i).value; });
    }
    if (any)
        rec.at(slot).ChannelModified = true;
    return {redraw::SampleEdit, SampleChange{slot, s.first, int64_t{s.last} + 1, false}};
}

}  // namespace vk
