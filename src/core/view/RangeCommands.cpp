#include "core/view/RangeCommands.h"

#include <cmath>
#include <cstdio>

#include "core/store/Channel.h"
#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "core/view/PixelMap.h"
#include "core/view/RedrawRequest.h"

namespace vk {

void RangeStep(ChannelDescriptor& d, int a, int b)
{
    double e = (d.Max - d.Min) / 8;
    if (DirectionOf(d) == DrawDirection::Downwards && a == b)
        e = -e;
    d.Min -= e * a;
    d.Max -= e * b;
}

void YScaleClick(ChannelDescriptor& d, int y, int height)
{
    if (height <= 0)
        return;
    const double c = (d.Max - d.Min) * (static_cast<double>(y) / height - 0.5);
    if (DirectionOf(d) == DrawDirection::Upwards) {
        d.Min += c;
        d.Max += c;
    } else {
        d.Min -= c;
        d.Max -= c;
    }
}

void ZoomRangeAround(ChannelDescriptor& d, int y, int height, double factor)
{
    if (height <= 0 || !(factor > 0) || !(d.Max > d.Min))
        return;
    // In Min .. Max, where the display range is the same widened evenly.
    const double v = RowToValue(y, DisplayRangeOf(d), height, DirectionOf(d)) + d.yOffset;
    d.Min = v - (v - d.Min) * factor;
    d.Max = v + (d.Max - v) * factor;
}

bool AskRange(ChannelDescriptor& d, VkDialogs& ui)
{
    const auto low = AskNumber(ui, "Input", " New y-min value:", GeneralText(d.Min - d.yOffset));
    if (!low)
        return false;
    const auto high = AskNumber(ui, "Input", " New y-max value:", GeneralText(d.Max - d.yOffset));
    if (!high)
        return false;
    d.Min = *low + d.yOffset;
    d.Max = *high + d.yOffset;
    return true;
}

uint32_t Baseline(BaselineCommand command, Recording& rec, const ViewState& view, VkDialogs& ui, UndoSink& undo)
{
    const int slot = view.active;
    ChannelDescriptor& d = rec.desc(slot);
    const ChannelView channel(rec, slot);
    if (d.bApplyPolynom) {
        ui.message("Not possible since polynom is enabled", Severity::Error);
        return redraw::Nothing;
    }
    const double rate = channel.interval();
    const auto first = static_cast<int32_t>(std::ceil(view.at.F4 / rate));
    const auto last = static_cast<int32_t>(std::floor(view.at.F5 / rate));
    double shift = 0;
    switch (command) {
    case BaselineCommand::MeanF4F5: {
        double sum = 0;
        int n = 0;
        for (int32_t i = first; i <= last; ++i) {
            const PhysValue v = ReadValue(rec, i, slot);
            if (v.status == 0) {
                sum += v.value;
                ++n;
            }
        }
        shift = n > 0 ? sum / n : 0;
        break;
    }
    case BaselineCommand::MeanF4plusF5:
        shift = (ReadValue(rec, first, slot).value + ReadValue(rec, last, slot).value) / 2;
        break;
    case BaselineCommand::AtF4:
    case BaselineCommand::AtF5: {
        const double t = command == BaselineCommand::AtF4 ? view.at.F4 : view.at.F5;
        const double old = d.yOffset;
        d.yOffset = 0;
        const double v = ReadValue(rec, static_cast<int32_t>(std::lround(t / rate)), slot).value;
        d.yOffset = old;
        shift = v - old;
        break;
    }
    case BaselineCommand::Numerical: {
        const auto v =
            AskNumber(ui, "Channel " + std::to_string(slot + 1) + " (" + d.Caption + ")", " New baseline at:", "0");
        if (!v)
            return redraw::Nothing;
        shift = *v;
        break;
    }
    case BaselineCommand::Increment: shift = (d.Max - d.Min) / 100; break;
    case BaselineCommand::Decrement: shift = -(d.Max - d.Min) / 100; break;
    }
    undo.Push(UndoKind::Baseline, slot, redraw::YScale);
    d.yOffset += shift;
    return redraw::YScale | redraw::Grid | redraw::SubsidiaryLines;
}

}  // namespace vk
