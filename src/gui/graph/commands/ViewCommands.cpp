// The commands of moving around, y-zoom and baseline, and the View menu.

#include <map>

#include "core/setup/Workbench.h"
#include "core/view/ChartStyle.h"
#include "core/view/GridAndLines.h"
#include "core/view/MoveCommands.h"
#include "core/view/RedrawRequest.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/commands/Commands.h"
#include "gui/view/ChartStyleDialog.h"
#include "gui/view/SubsidiaryLinesDialog.h"
#include "gui/view/WindowHeightDialog.h"
#include "gui/widgets/ModalDialog.h"

namespace vk {

void RegisterViewCommands(CommandTable& t, TForm3& w)
{
    t.add("mniStyle", [&w](CommandContext& cx) {
        const int slot = cx.view.active;
        TfrmChartStyle dialog(
            cx.rec, cx.view, slot,
            [&w, &cx](bool on) {
                cx.view.interpolate = on;  // at once, OK or not
                w.executeRedraw(redraw::Readouts);
            },
            &w);
        if (ExecDialog(dialog) != QDialog::Accepted)
            return CommandResult{};
        return CommandResult{ApplyChartStyle(cx.rec, cx.view, slot, dialog.choice())};
    });
    t.add("mniGrid", [](CommandContext& cx) { return GridCommand(cx, cx.view.active); });
    t.add("mniWinHeight", [&w](CommandContext& cx) {
        TfrmWinHeight dialog(cx.rec, w.totalChannel(), &w);
        if (ExecDialog(dialog) != QDialog::Accepted)
            return CommandResult{};
        const std::array<int, SlotCount> heights = dialog.heights();
        for (int s = 0; s < SlotCount; ++s)
            cx.rec.desc(s).WndSze = static_cast<uint8_t>(heights[static_cast<std::size_t>(s)]);
        w.rebuildStrips();
        return CommandResult{redraw::Everything};
    });
    t.add("mniSubsidLine", [&w](CommandContext& cx) {
        const int slot = cx.view.active;
        TfrmSubsidLine dialog(cx.settings().subsidiaryLines[static_cast<std::size_t>(slot)], cx.ui, &w);
        return ExecDialog(dialog) == QDialog::Accepted ? CommandResult{redraw::ActiveStrip | redraw::SubsidiaryLines}
                                                       : CommandResult{};
    });
    // Move modes: which lines the arrow keys move, with the x-Zoom check marks.
    for (const auto& [mode, item] : MoveModeItems()) {
        const int m = mode;
        t.add(item, [&w, m](CommandContext&) {
            w.setMoveMode(m);
            return CommandResult{};
        });
    }
    t.add("mniBordAndCursors", [&w](CommandContext& cx) {
        cx.view.moveMode = ModeBordersAndCursors;
        w.checkMoveItems({ModeCursors, ModeBorders});
        return CommandResult{};
    });
    for (const auto& [item, mode] : std::map<const char*, int>{
             {"mniLeftBCursor", ModeB1}, {"mniRightBCursor", ModeB2}, {"mniBothBCursor", ModeBCursors}}) {
        const int m = mode;
        t.add(item, [m](CommandContext& cx) {
            cx.view.moveMode = m;  // the check marks stay
            return CommandResult{};
        });
    }
    t.addKey("keyShCursor1", [](CommandContext& cx) {
        cx.view.moveMode = ModeSh1;
        return CommandResult{};
    });
    t.addKey("keyShCursor2", [](CommandContext& cx) {
        cx.view.moveMode = ModeSh2;
        return CommandResult{};
    });

    // The pair commands, each leaving its move mode checked.
    auto pair = [&w](CommandResult (*command)(ViewContext&), std::initializer_list<int> checked) {
        const std::vector<int> modes(checked);
        return [&w, command, modes](CommandContext& cx) {
            w.checkMoveItems(modes);
            return command(cx);
        };
    };
    t.add("mniCursIntoBorders", pair(CursorsIntoBordersCommand, {ModeCursors}));
    t.add("mniBordToCurs", pair(BordersToCursorsCommand, {ModeBorders}));
    t.add("mniBCursInBorders", pair(BCursorsIntoBordersCommand, {ModeCursors}));
    t.add("mniShCurInBorders", pair(ShCursorsIntoBordersCommand, {ModeCursors}));
    t.add("mniF1F4F2F5", pair(BordersOntoCursorsCommand, {ModeBorders}));
    t.add("mniRefreshTotal", [](CommandContext&) { return CommandResult{redraw::TotalCurve | redraw::TotalLines}; });

    // The keys that move the lines of the move mode, and the step sizes.
    for (const auto& [name, step] : std::map<const char*, uint32_t (*)(ViewState&)>{{"keyStepLeft", StepLeft},
                                                                                    {"keyStepRight", StepRight},
                                                                                    {"keyHome", MoveHome},
                                                                                    {"keyEnd", MoveEnd},
                                                                                    {"keyPageLeft", PageLeft},
                                                                                    {"keyPageRight", PageRight}}) {
        const auto s = step;
        t.addKey(name, [s](CommandContext& cx) { return MoveCommand(cx, s); });
    }
    t.addKey("keyDoubleStep", [](CommandContext& cx) { return StepSizeCommand(cx, true); });
    t.addKey("keyHalveStep", [](CommandContext& cx) { return StepSizeCommand(cx, false); });

    // y-Zoom.
    t.add("mniYNumerical", [](CommandContext& cx) { return AskRangeCommand(cx); });
    t.add("mniZoomIn", [](CommandContext& cx) { return RangeStepCommand(cx, -1, 1); });
    t.add("mniZoomOut", [](CommandContext& cx) { return RangeStepCommand(cx, 1, -1); });
    t.add("mniShiftUp", [](CommandContext& cx) { return RangeStepCommand(cx, 1, 1); });
    t.add("mniShiftDown", [](CommandContext& cx) { return RangeStepCommand(cx, -1, -1); });

    // Baseline.
    for (const auto& [item, command] :
         std::map<const char*, BaselineCommand>{{"mniMeanF4F5", BaselineCommand::MeanF4F5},
                                                {"mniMeanF4plusF5", BaselineCommand::MeanF4plusF5},
                                                {"mniAtF4", BaselineCommand::AtF4},
                                                {"mniAtF5", BaselineCommand::AtF5},
                                                {"mniBaseNumerical", BaselineCommand::Numerical},
                                                {"mniIncrement", BaselineCommand::Increment},
                                                {"mniDecrement", BaselineCommand::Decrement}}) {
        const BaselineCommand c = command;
        t.add(item, [c](CommandContext& cx) { return BaselineOf(cx, c); });
    }
}

}  // namespace vk
