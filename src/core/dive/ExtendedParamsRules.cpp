#include "core/dive/ExtendedParamsRules.h"

#include "core/store/VkDialogs.h"

namespace vk {

const std::array<const char*, 11> OperationItems{
    "", "Minimum", "Maximum", "Mean", "Median", "Integral", "Onset value", "End value", "Gradient", "Distance", "Way"};
const std::array<const char*, 6> SectionItems{"Dive", "Descent", "Bottom", "Ascent", "Max depth", "Surface"};

std::string ChannelItem(const Recording& rec, int slot)
{
    return HoldsData(rec, slot) ? rec.desc(slot).Caption : "<Not available>";
}

bool RowEnabled(int operation, int channel, int section, bool channelAvailable)
{
    return operation >= 1 && channel >= 0 && section >= 0 && channelAvailable;
}

void AcceptExtended(const std::array<ExtendedParameterRow, ExtendedRowCount>& rows, bool speed, int speedEntry,
                    const Recording& rec, DiveParameters& p, int& speedSlot, VkDialogs& ui)
{
    for (std::size_t k = 0; k < rows.size(); ++k) {
        ExtendedParameterRow row = rows[k];
        row.enabled = RowEnabled(row.operation, row.channel, row.section,
                                 row.channel >= 0 && row.channel < SlotCount && HoldsData(rec, row.channel));
        p.ExtendedParameters[k] = row;
    }
    p.SpeedAnalysis = speed;
    if (speedEntry >= 0 && speedEntry <= 1)
        speedSlot = speedEntry + 1;
    if (speed && (speedEntry < 0 || speedEntry > 1 || !HoldsData(rec, speedEntry + 1))) {
        ui.message(" Speed analysis (angles etc) is not possible with this channel.", Severity::Warning);
        p.SpeedAnalysis = 0;
    }
}

}  // namespace vk
