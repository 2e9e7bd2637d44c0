#include <gtest/gtest.h>

#include "core/view/GridAndLines.h"
#include "support/ScriptedDialogs.h"

namespace vk {

TEST(GridAndLines, TheGridDistanceAsTyped)
{
    Recording rec;
    rec.desc(0).Caption = "Depth";
    ViewState view;
    ScriptedDialogs ui;
    NoUndo none;
    ViewContext cx{rec, view, ui, none};
    auto typed = [&](std::optional<std::string> text) {
        ui.inputs.push_back(std::move(text));
        return GridCommand(cx, 0);
    };
    EXPECT_NE(typed("5").redraw, 0u);
    EXPECT_EQ(rec.desc(0).GridDist, 5);
    EXPECT_EQ(ui.shown.back().text, "Channel 1 (Depth)| Grid distance (0 for no grid):");
    typed("  ");                              // empty: no grid
    EXPECT_EQ(ui.inputInitials.back(), "5");  // the current distance offered
    EXPECT_EQ(rec.desc(0).GridDist, 0);
    typed("2,5");
    EXPECT_EQ(rec.desc(0).GridDist, 2.5);
    // Refused, the grid staying: negative, not a number, infinite; Cancel.
    EXPECT_EQ(typed("-1").redraw, 0u);
    EXPECT_EQ(ui.texts().back(), "The grid distance must be 0 (no grid) or a positive number.");
    typed("ten");
    EXPECT_EQ(ui.texts().back(), "'ten' is not a valid floating point value");
    typed("1e999");
    typed(std::nullopt);
    EXPECT_EQ(rec.desc(0).GridDist, 2.5);
    EXPECT_EQ(ChannelTitle(rec, 0), "Channel 1 (Depth)");
}

TEST(GridAndLines, SubsidiaryRowsAsTheDialogStoresThem)
{
    SubsidiaryLines lines{};
    lines[4] = {7.5, 1.0};
    std::array<SubsidiaryRow, SubsidiaryRowCount> rows{};
    rows[0] = {true, "10"};
    rows[2] = {true, "-3,5"};
    rows[3] = {false, "99"};  // line 4 off, its value kept
    EXPECT_EQ(ApplySubsidiaryRows(lines, rows), 0);
    EXPECT_EQ(lines[1].value, 10);
    EXPECT_EQ(lines[1].flag, 1.0);
    EXPECT_EQ(lines[3].value, -3.5);
    EXPECT_EQ(lines[4].flag, 0.0);
    EXPECT_EQ(lines[4].value, 7.5);
    EXPECT_EQ(lines[0].flag, 1.0);  // the switch: some line on

    // A checked row that is not a number: named, nothing stored.
    const SubsidiaryLines before = lines;
    rows[5] = {true, "high"};
    EXPECT_EQ(ApplySubsidiaryRows(lines, rows), 6);
    EXPECT_EQ(lines, before);

    // No row checked: the switch off.
    for (SubsidiaryRow& r : rows)
        r.checked = false;
    EXPECT_EQ(ApplySubsidiaryRows(lines, rows), 0);
    EXPECT_EQ(lines[0].flag, 0.0);
    EXPECT_EQ(lines[1].value, 10);
}

}  // namespace vk
