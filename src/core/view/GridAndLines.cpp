#include "core/view/GridAndLines.h"

#include <cmath>

#include "core/store/NumberInput.h"
#include "core/store/NumberText.h"
#include "core/store/VkDialogs.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr const char* NegativeGrid = "The grid distance must be 0 (no grid) or a positive number.";

}  // namespace

std::string ChannelTitle(const Recording& rec, int slot)
{
    return "Channel " + std::to_string(slot + 1) + " (" + rec.desc(slot).Caption + ")";
}

CommandResult GridCommand(ViewContext& cx, int slot)
{
    ChannelDescriptor& d = cx.rec.desc(slot);
    const std::optional<std::string> text =
        cx.ui.input(ChannelTitle(cx.rec, slot), " Grid distance (0 for no grid):", GeneralText(d.GridDist));
    if (!text)
        return {};
    double distance = 0;
    if (!TrimEnds(*text).empty() && !ParseDecimal(*text, distance)) {
        cx.ui.message(NotANumberText(*text), Severity::Error);
        return {};
    }
    if (distance < 0 || !std::isfinite(distance)) {
        cx.ui.message(NegativeGrid, Severity::Error);
        return {};
    }
    d.GridDist = distance;
    return {redraw::ActiveStrip | redraw::Grid};
}

int ApplySubsidiaryRows(SubsidiaryLines& lines, const std::array<SubsidiaryRow, SubsidiaryRowCount>& rows)
{
    SubsidiaryLines edited = lines;
    bool any = false;
    for (int n = 1; n <= SubsidiaryRowCount; ++n) {
        const SubsidiaryRow& row = rows[static_cast<std::size_t>(n - 1)];
        SubsidiaryLine& line = edited[static_cast<std::size_t>(n)];
        if (!row.checked) {
            line.flag = 0.0;
            continue;
        }
        double value = 0;
        if (!ParseDecimal(row.text, value))
            return n;
        line = {value, 1.0};
        any = true;
    }
    edited[0].flag = any ? 1.0 : 0.0;
    lines = edited;
    return 0;
}

}  // namespace vk
