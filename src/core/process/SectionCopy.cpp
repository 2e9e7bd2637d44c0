#include "core/process/SectionCopy.h"

#include <algorithm>
#include <cmath>

#include "core/store/Channel.h"
#include "core/view/RedrawRequest.h"

namespace vk {

SectionOverwrite PlanOverwrite(const Recording& rec, const SectionBuffer& buffer, bool merge, int slot, double f4)
{
    SectionOverwrite plan;
    plan.slot = slot;
    const ChannelView source(rec, buffer.SecSlot), into(rec, slot);
    const double interval = source.interval();
    if (!buffer.SecUsed || interval <= 0 || into.interval() <= 0)
        return plan;
    const auto first = static_cast<int64_t>(std::trunc((buffer.SecStart + interval - 1) / interval));
    const auto last = std::min<int64_t>(static_cast<int64_t>(std::trunc(buffer.SecEnd / interval)), source.last());
    // Where the preview is: the sample at F4 of the channel written to.
    const auto at = static_cast<int64_t>(std::nearbyint(f4 / into.interval()));
    const int64_t from = std::max<int64_t>(first, source.firstStored());
    const int64_t count = std::min(last - from + 1, into.count() - at);
    if (count <= 0 || at < into.firstStored())
        return plan;
    plan.first = static_cast<int32_t>(at);
    plan.words.reserve(static_cast<std::size_t>(count));
    for (int64_t k = 0; k < count; ++k) {
        const auto p = static_cast<int32_t>(from + k), q = static_cast<int32_t>(at + k);
        const uint16_t word = ReadRaw(rec, p, buffer.SecSlot);
        // Missing values are neither copied nor overwritten.
        const bool missing = IsMissing(rec, buffer.SecSlot, p) || IsMissing(rec, slot, q);
        const bool keep =
            missing || (merge && !(ReadValue(rec, p, buffer.SecSlot).value > ReadValue(rec, q, slot).value));
        plan.words.push_back(keep ? ReadRaw(rec, q, slot) : word);
    }
    return plan;
}

CommandResult FixOverwrite(ViewContext& cx, const SectionOverwrite& plan)
{
    if (plan.empty())
        return {};
    const int32_t end = plan.first + static_cast<int32_t>(plan.words.size());
    cx.undo.PushRange(UndoKind::SectionOverwrite, plan.slot, plan.first, end, redraw::SampleEdit);
    for (std::size_t k = 0; k < plan.words.size(); ++k)
        WriteRaw(cx.rec, plan.first + static_cast<int32_t>(k), plan.words[k], plan.slot);
    cx.rec.at(plan.slot).ChannelModified = true;
    return {redraw::SampleEdit, SampleChange{plan.slot, plan.first, end, false}};
}

}  // namespace vk
