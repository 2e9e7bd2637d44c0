#include "core/view/Alter.h"

#include <cmath>

#include "core/store/Channel.h"
#include "core/store/UndoSink.h"
#include "core/view/RedrawRequest.h"

namespace vk {

CommandResult AlterSample(ViewContext& cx, int slot, double t, double v)
{
    Recording& rec = cx.rec;
    const ChannelView channel(rec, slot);
    if (!(channel.interval() > 0) || !std::isfinite(t) || !std::isfinite(v))
        return {};
    const double at = std::round(t / channel.interval());
    if (!(at >= channel.firstStored() && at <= channel.last()))
        return {};
    if (RefuseWhilePolynomial(rec, cx.ui, slot, true))
        return {};
    const auto i = static_cast<int32_t>(at);
    cx.undo.PushRange(UndoKind::SingleValue, slot, i, i, redraw::ActiveChannel);
    bool report = true;
    WriteRaw(rec, i, PhysToRaw(rec, slot, report, v), slot);
    rec.at(slot).ChannelModified = true;
    // A value written where none was is a value: the curve and the figures take it.
    const auto stored = static_cast<int32_t>(channel.stored(i));
    const bool wasMissing = rec.at(slot).missing.filled(stored, stored + 1);
    return {redraw::ActiveChannel, SampleChange{slot, i, int64_t{i} + 1, wasMissing}};
}

}  // namespace vk
