#include "gui/calc/ClickTools.h"

#include <cmath>

#include "core/view/Alter.h"
#include "core/view/RedrawRequest.h"

namespace vk {

CommandResult ClickTools::click(CommandContext& cx, int image, double t, double v, bool left)
{
    CommandResult result;
    if (alter)
        result.add(AlterSample(cx, image, t, v));
    if (addNodes && left && AddNode(nodes, image, t, v, cx.ui))
        result.add({redraw::ActiveChannel});
    // Tags are edited in their own channel's strip only.
    if (tagClick != TagClick::None && tags.slot == image && tags.interval > 0) {
        const auto index = static_cast<int32_t>(std::lround(t / tags.interval));
        const bool done = tagClick == TagClick::Insert ? InsertTag(tags, cx.rec, index, v, cx.ui)
                                                       : DiscardTag(tags, cx.rec, index, cx.ui);
        if (done && tagsChanged)
            tagsChanged();
        result.add({redraw::ActiveChannel});
    }
    return result;
}

}  // namespace vk
