#include "core/view/ChartStyle.h"

#include <algorithm>

#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr int Shapes = 4;
constexpr int MostB = 9;

}  // namespace

StyleRadios RadiosOf(int style)
{
    const int shape = style < 0 ? -style : style;
    if (shape < 1 || shape > Shapes)
        return {};
    return {shape, style < 0};
}

ChartStyleChoice CurrentChartStyle(const Recording& rec, const ViewState& view, int slot)
{
    const ChannelDescriptor& d = rec.desc(slot);
    return {RadiosOf(d.GrRepr), view.caption, d.Caption, d.LenF8F9, d.PosF8F9, view.timeAxisMode == 0};
}

uint32_t ApplyChartStyle(Recording& rec, ViewState& view, int slot, const ChartStyleChoice& c)
{
    ChannelDescriptor& d = rec.desc(slot);
    if (c.radios.shape >= 1 && c.radios.shape <= Shapes) {
        const int32_t style = c.radios.inverted ? -c.radios.shape : c.radios.shape;
        d.styleChosen = d.styleChosen || style != d.GrRepr;  // kept by the setup file and over every Start
        d.GrRepr = style;
    }
    d.Caption = CutCaption(c.name);
    d.LenF8F9 = static_cast<decltype(d.LenF8F9)>(std::clamp(c.lenF8F9, 0, MostB));
    d.PosF8F9 = static_cast<decltype(d.PosF8F9)>(std::clamp(c.posF8F9, 0, MostB));
    uint32_t request = redraw::ActiveStrip | redraw::ActiveCursors | redraw::YScale;
    const int mode = c.dateAndTime ? 0 : 1;
    if (c.caption != view.caption || mode != view.timeAxisMode)  // every strip and read-out shows them
        request |= redraw::AllStrips | redraw::Readouts | redraw::TimeScale;
    view.caption = c.caption;
    view.timeAxisMode = mode;
    return request;
}

std::string CutCaption(const std::string& text)
{
    if (text.size() <= CaptionMaxLength)
        return text;
    std::size_t end = CaptionMaxLength;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)  // inside a character
        --end;
    return text.substr(0, end);
}

}  // namespace vk
