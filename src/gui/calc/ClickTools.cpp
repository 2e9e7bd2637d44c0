#include "gui/calc/ClickTools.h"

#include <QAction>
#include <QPointF>
#include <cmath>

#include "core/view/PixelMap.h"

#include "core/view/Alter.h"
#include "core/view/RedrawRequest.h"
#include "gui/graph/GraphMenus.h"

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

namespace {

// The pixel of a node in a strip of `size`, and back.
QPointF PixelOf(const Node& n, const ChannelDescriptor& d, const LinePositions& at, QSize size)
{
    return {TimeToColumn(n.time, at.F1, at.F2, size.width()),
            static_cast<double>(ValueToRow(n.value, DisplayRangeOf(d), size.height(), DirectionOf(d)))};
}

Node NodeAt(QPointF p, const ChannelDescriptor& d, const LinePositions& at, QSize size)
{
    return {ColumnToTime(p.x(), at.F1, at.F2, size.width()),
            RowToValue(static_cast<int>(std::lround(p.y())), DisplayRangeOf(d), size.height(), DirectionOf(d))};
}

}  // namespace

bool ClickTools::grabNode(const Recording& rec, const ViewState& view, int slot, QSize size, QPoint at)
{
    dragged_ = -1;
    if (nodes.slot != slot || !(view.at.F2 > view.at.F1))
        return false;
    for (std::size_t k = nodes.nodes.size(); k-- > 0;) {  // the newest on top
        const QPointF c = PixelOf(nodes.nodes[k], rec.desc(slot), view.at, size);
        if (std::abs(c.x() - at.x()) <= SplineNode::Reach && std::abs(c.y() - at.y()) <= SplineNode::Reach) {
            dragged_ = static_cast<int>(k);
            dragFrom_ = at;
            return true;
        }
    }
    return false;
}

bool ClickTools::dragNode(const Recording& rec, const ViewState& view, int slot, QSize size, QPoint at)
{
    if (dragged_ < 0 || nodes.slot != slot)
        return false;
    const QPoint offset = at - dragFrom_;
    dragFrom_ = at;
    const ChannelDescriptor& d = rec.desc(slot);
    for (std::size_t k = 0; k < nodes.nodes.size(); ++k)
        if (moveAll || static_cast<int>(k) == dragged_) {
            const Node n = NodeAt(PixelOf(nodes.nodes[k], d, view.at, size) + QPointF(offset), d, view.at, size);
            nodes.set(k, n.time, n.value);
        }
    return true;
}

void FollowTagList(GraphMenus& menus, const TagList& tags)
{
    for (const char* item : {"calc.frequency.dispose-tags", "calc.frequency.show-result"})
        if (QAction* a = menus.action(item))
            a->setEnabled(tags.exists());
}

}  // namespace vk
