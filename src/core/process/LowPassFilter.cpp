#include "core/process/LowPassFilter.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "core/process/RawSectionPass.h"
#include "core/process/Workshop.h"
#include "core/store/Channel.h"
#include "core/store/NumberInput.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

// Indexes a = the sample at or before F4 and b = the one at or before F5, cut to the stored samples.
StoredSection LowPassIndexes(const ChannelView& channel, double f5, double f4)
{
    if (channel.interval() <= 0)
        return {};
    return StoredPart(channel, static_cast<int64_t>(std::trunc(f4 / channel.interval())),
                      static_cast<int64_t>(std::trunc(f5 / channel.interval())));
}

}  // namespace

int32_t ProposedLowPassN(int32_t a, int32_t b)
{
    return std::max(std::min((b - a) / 10, LowPassMaxN), 2);
}

CommandResult LowPassCommand(ViewContext& cx, int slot, double f5, double f4)
{
    if (RefuseWhilePolynomial(cx.rec, cx.ui, slot, true))
        return {};
    const StoredSection s = LowPassIndexes(ChannelView(cx.rec, slot), f5, f4);
    if (s.count() < 3)  // nothing between the ends
        return {};
    const std::optional<int32_t> n =
        AskInteger(cx.ui, "Eliminate high frequencies", "N= (N<=" + std::to_string(LowPassMaxN) + ")",
                   std::to_string(ProposedLowPassN(s.first, s.last)));
    if (!n)
        return {};
    return LowPassSection(cx, slot, *n, f5, f4);
}

CommandResult LowPassSection(ViewContext& cx, int slot, int32_t n, double f5, double f4)
{
    Recording& rec = cx.rec;
    if (RefuseWhilePolynomial(rec, cx.ui, slot, true))
        return {};
    const StoredSection s = LowPassIndexes(ChannelView(rec, slot), f5, f4);
    n = std::min(n, LowPassMaxN);
    if (n <= 0 || s.count() < 3)
        return {};
    // The workshop holds a .. b - 1; a keeps its value, b is read, not written.
    cx.undo.PushRange(UndoKind::Smooth, slot, s.first, s.last, redraw::SampleEdit);
    ForEachStretch(rec, slot, {s.first, s.last - 1}, [&](int32_t lo, int32_t hi) {
        Workshop ws(rec, slot, std::max(lo, s.first), std::min(hi, s.last - 1) + 1, cx.ui);
        if (!ws.active())
            return;
        ws.limitReads(lo, hi);
        if (ws.LowPass(n, cx.ui))
            ws.WriteBack();
    });
    rec.at(slot).ChannelModified = true;
    return {redraw::SampleEdit, SampleChange{slot, s.first, s.last, false}};
}

}  // namespace vk
