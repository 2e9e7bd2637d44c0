// The commands of moving around, y-zoom and baseline, and the View menu.

#include <map>

#include "core/setup/Workbench.h"
#include "core/view/ChartStyle.h"
#include "core/view/GridAndLines.h"
#include "core/view/MoveCommands.h"
#include "core/view/RedrawRequest.h"
#include "core/view/WindowLayout.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/commands/Commands.h"
#include "gui/view/ChartStyleDialog.h"
#include "gui/view/SubsidiaryLinesDialog.h"
#include "gui/view/WindowHeightDialog.h"
#include "gui/widgets/ModalDialog.h"

namespace vk {

void RegisterViewCommands(CommandTable& t, GraphWindow& w)
{
    t.add("view.style", [&w](CommandContext& cx) {
        const int slot = cx.view.active;
        ChartStyleDialog dialog(
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
    t.add("view.grid", [](CommandContext& cx) { return GridCommand(cx, cx.view.active); });
    t.add("view.window-height", [&w](CommandContext& cx) {
        WindowHeightDialog dialog(cx.rec, w.totalChannel(), &w);
        if (ExecDialog(dialog) != QDialog::Accepted)
            return CommandResult{};
        SetStripHeights(cx.rec, dialog.heights());
        w.rebuildStrips();
        return CommandResult{redraw::Everything};
    });
    t.add("view.subsidiary-lines", [&w](CommandContext& cx) {
        const int slot = cx.view.active;
        SubsidiaryLinesDialog dialog(cx.settings().subsidiaryLines[static_cast<std::size_t>(slot)], cx.ui, &w);
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
    t.add("x-zoom.borders-and-cursors", [&w](CommandContext& cx) {
        cx.view.moveMode = ModeBordersAndCursors;
        w.checkMoveItems({ModeCursors, ModeBorders});
        return CommandResult{};
    });
    for (const auto& [item, mode] : std::map<const char*, int>{
             {"x-zoom.left-b-cursor", ModeB1}, {"x-zoom.right-b-cursor", ModeB2}, {"x-zoom.both-b-cursors", ModeBCursors}}) {
        const int m = mode;
        t.add(item, [m](CommandContext& cx) {
            cx.view.moveMode = m;  // the check marks stay
            return CommandResult{};
        });
    }
    t.addKey("key.sh-cursor-1", [](CommandContext& cx) {
        cx.view.moveMode = ModeSh1;
        return CommandResult{};
    });
    t.addKey("key.sh-cursor-2", [](CommandContext& cx) {
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
    t.add("x-zoom.cursors-to-borders", pair(CursorsIntoBordersCommand, {ModeCursors}));
    t.add("x-zoom.borders-to-cursors", pair(BordersToCursorsCommand, {ModeBorders}));
    t.add("x-zoom.b-cursors-to-borders", pair(BCursorsIntoBordersCommand, {ModeCursors}));
    t.add("x-zoom.sh-cursors-to-borders", pair(ShCursorsIntoBordersCommand, {ModeCursors}));
    t.add("x-zoom.borders-at-cursors", pair(BordersOntoCursorsCommand, {ModeBorders}));
    t.add("view.refresh-total", [](CommandContext&) { return CommandResult{redraw::TotalCurve | redraw::TotalLines}; });

    // The keys that move the lines of the move mode, and the step sizes.
    for (const auto& [name, step] : std::map<const char*, uint32_t (*)(ViewState&)>{{"key.step-left", StepLeft},
                                                                                    {"key.step-right", StepRight},
                                                                                    {"key.home", MoveHome},
                                                                                    {"key.end", MoveEnd},
                                                                                    {"key.page-left", PageLeft},
                                                                                    {"key.page-right", PageRight}}) {
        const auto s = step;
        t.addKey(name, [s](CommandContext& cx) { return MoveCommand(cx, s); });
    }
    t.addKey("key.double-step", [](CommandContext& cx) { return StepSizeCommand(cx, true); });
    t.addKey("key.halve-step", [](CommandContext& cx) { return StepSizeCommand(cx, false); });

    // y-Zoom.
    t.add("y-zoom.numerical", [](CommandContext& cx) { return AskRangeCommand(cx); });
    t.add("y-zoom.zoom-in", [](CommandContext& cx) { return RangeStepCommand(cx, -1, 1); });
    t.add("y-zoom.zoom-out", [](CommandContext& cx) { return RangeStepCommand(cx, 1, -1); });
    t.add("y-zoom.shift-up", [](CommandContext& cx) { return RangeStepCommand(cx, 1, 1); });
    t.add("y-zoom.shift-down", [](CommandContext& cx) { return RangeStepCommand(cx, -1, -1); });

    // Baseline.
    for (const auto& [item, command] :
         std::map<const char*, BaselineCommand>{{"baseline.mean-between-cursors", BaselineCommand::MeanF4F5},
                                                {"baseline.mean-at-cursors", BaselineCommand::MeanF4plusF5},
                                                {"baseline.at-f4", BaselineCommand::AtF4},
                                                {"baseline.at-f5", BaselineCommand::AtF5},
                                                {"baseline.numerical", BaselineCommand::Numerical},
                                                {"baseline.increment", BaselineCommand::Increment},
                                                {"baseline.decrement", BaselineCommand::Decrement}}) {
        const BaselineCommand c = command;
        t.add(item, [c](CommandContext& cx) { return BaselineOf(cx, c); });
    }
}

}  // namespace vk
