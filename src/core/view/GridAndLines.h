#pragma once

// The horizontal lines of a strip the user sets: the grid and up to nine
// subsidiary lines at chosen values.

#include <array>
#include <string>

#include "core/view/Command.h"
#include "core/view/SubsidiaryLines.h"

namespace vk {

// "Channel 1 (Depth)": the caption of the channel's dialogs.
std::string ChannelTitle(const Recording& rec, int slot);

// "&Grid ...": asks for the channel's grid distance (empty for 0, no grid).
// A negative, infinite or not numeric entry is said, and the grid stays.
CommandResult GridCommand(ViewContext& cx, int slot);

// A row of the subsidiary-line dialog.
struct SubsidiaryRow {
    bool checked = false;
    std::string text;
};
inline constexpr int SubsidiaryRowCount = SubsidiaryLineCount - 1;

// Stores the rows: a checked row switches its line on at its value, an
// unchecked one off (its value kept); entry 0 switches the lines on when any
// row is checked. A checked row whose text is not a number changes nothing:
// its number (1 .. 9) is returned, else 0.
int ApplySubsidiaryRows(SubsidiaryLines& lines, const std::array<SubsidiaryRow, SubsidiaryRowCount>& rows);

}  // namespace vk
