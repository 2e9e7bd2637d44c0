#include "core/process/PointEditing.h"

#include <cmath>
#include <optional>

#include "core/process/SectionOperation.h"
#include "core/store/Channel.h"
#include "core/store/NumberInput.h"
#include "core/store/SampleMover.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr const char* TooLarge = " Rejected! Size exceeds limit.";
constexpr const char* NegativeCount = "The number of points to insert cannot be negative.";

// The whole channel from `from` on changed, and its length.
CommandResult Moved(Recording& rec, int slot, int64_t from)
{
    rec.at(slot).ChannelModified = true;
    return {redraw::Everything, SampleChange{slot, from, ChannelView(rec, slot).count(), true}};
}

}  // namespace

CommandResult InsertPoints(ViewContext& cx, int slot, double /*f5*/, double f4)
{
    Recording& rec = cx.rec;
    if (RefuseWhilePolynomial(rec, cx.ui, slot))
        return {};
    const std::optional<double> answer = AskNumber(cx.ui, "Insert points after F4-cursor", "How many points", "0");
    if (!answer)
        return {};
    const double rounded = std::nearbyint(*answer);
    if (rounded < 0) {
        cx.ui.message(NegativeCount, Severity::Error);
        return {};
    }
    const ChannelView channel(rec, slot);
    const int64_t p = std::max<int64_t>(SectionIndexes(channel, f4, f4).first, std::max(1, channel.firstStored()));
    if (rounded == 0 || p > channel.last())
        return {};
    // The stored samples after the insertion, the last one counted.
    const int64_t stored = channel.storedCount();
    if (stored + rounded > rec.store.capacity(slot)) {
        cx.ui.message(TooLarge, Severity::Error);
        return {};
    }
    const auto n = static_cast<int32_t>(rounded);
    const auto at = static_cast<int32_t>(p);
    cx.undo.PushRange(UndoKind::InsertPoints, slot, at, n, redraw::Everything);
    const uint16_t v = ReadRaw(rec, at, slot);
    MoveSamples(rec.store, slot, channel.stored(p + 1), channel.stored(channel.last()), n);
    AdjustLength(rec, slot, n);
    for (int32_t i = 1; i <= n; ++i)
        WriteRaw(rec, at + i, v, slot);
    rec.at(slot).missing.inserted(static_cast<int32_t>(channel.stored(p + 1)), n);
    return Moved(rec, slot, p);
}

CommandResult DeletePoints(ViewContext& cx, int slot, double f5, double f4)
{
    Recording& rec = cx.rec;
    if (RefuseWhilePolynomial(rec, cx.ui, slot))
        return {};
    if (cx.ui.ask("Delete all points between F4 and F5", Buttons::OkCancel) != Answer::Ok)
        return {};
    Channel channel(rec, slot);
    const WorkSection w = SectionIndexes(channel, f4, f5);
    // p stays where F4 is; the count stops at the channel's last sample.
    const int64_t p = std::max<int64_t>(w.first, channel.firstStored());
    const int64_t n = std::min<int64_t>(w.last, channel.last()) - p;
    if (n <= 0 || p > channel.last())
        return {};
    const auto at = static_cast<int32_t>(p);
    const auto count = static_cast<int32_t>(n);
    // The words the shift overwrites, then the deletion itself.
    cx.undo.PushRange(UndoKind::DeletedSamples, slot, at, channel.last() - count + 1, redraw::Everything);
    cx.undo.PushRange(UndoKind::DeletePoints, slot, at, count, redraw::Everything);
    MoveSamples(rec.store, slot, channel.stored(p + n), channel.stored(channel.last()), -n);
    channel.gaps().removed(static_cast<int32_t>(channel.stored(p)), count);
    channel.setLast(channel.last() - count);
    return Moved(rec, slot, p);
}

}  // namespace vk
