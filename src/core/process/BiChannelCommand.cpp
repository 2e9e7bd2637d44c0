#include "core/process/BiChannelCommand.h"

#include "core/view/RedrawRequest.h"

namespace vk {

CommandResult BiChannelCommand(CommandContext& cx, int code)
{
    const BiChannelChoice& c = cx.wb.biChannel;
    if (!DerivationAllowed(cx.rec, cx.ui, code, c.BiChnl1, c.BiChnlResult, c.BiChnl2))
        return {};
    double& offset = cx.rec.desc(DepthSlot).yOffset;
    const double formerOffset = offset;
    if (code == DeriveSubtract && cx.settings().dive.BurnishDives) {
        cx.undo.Push(UndoKind::Baseline, DepthSlot, redraw::YScale);
        offset = 0;
    }
    CommandResult result = DeriveChannel(cx, code, 1, c.BiChnl1, c.BiChnlResult, c.BiChnl2);
    if (!result.changed.bySlot[static_cast<std::size_t>(c.BiChnlResult)].any()) {
        offset = formerOffset;  // refused: the baseline stays as it was
        return result;
    }
    if (code != DeriveAbsSum)
        cx.view.active = c.BiChnlResult;
    return result;
}

}  // namespace vk
