// The Process menu: the work section's arithmetic, the bi-channel operations,
// the derivations of the active channel and its polynomial.

#include <QDialog>

#include "core/process/BiChannelCommand.h"
#include "core/process/ClockDrift.h"
#include "core/process/DeriveChannel.h"
#include "core/process/PointEditing.h"
#include "core/process/PolynomialSetting.h"
#include "core/process/Resampling.h"
#include "core/process/SectionOperation.h"
#include "core/view/RedrawRequest.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/commands/Commands.h"
#include "gui/process/AddRampDialog.h"
#include "gui/process/BiChannelDialog.h"
#include "gui/process/ClockDriftDialog.h"
#include "gui/process/PolynomialDialog.h"
#include "gui/process/SectionDialogs.h"
#include "gui/widgets/ModalDialog.h"

namespace vk {

namespace {

// The bi-channel dialog, then the operation; add and subtract show their result.
CommandResult BiChannel(CommandContext& cx, GraphWindow& w, BiChannelMode mode)
{
    BiChannelChoice& c = cx.wb.biChannel;
    BiChannelDialog dialog(cx.rec, c, mode, cx.ui, w.help(), &w);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return {};
    return BiChannelCommand(cx, static_cast<int>(mode));
}

}  // namespace

void RegisterProcessCommands(CommandTable& t, GraphWindow& w)
{
    const std::pair<const char*, int> sectionItems[] = {
        {"process.add", SectionAdd},           {"process.divide", SectionDivide},
        {"process.multiply", SectionMultiply}, {"process.set-constant", SectionConstant},
        {"process.sine", SectionSine},        {"process.cosine", SectionCosine}};
    for (const auto& [item, code] : sectionItems)
        t.add(item, [code](CommandContext& cx) {
            return ApplySectionOperation(cx, code, RampNone, cx.view.active, 0, cx.view.at.F5, cx.view.at.F4);
        });
    t.add("process.add-ramp", [&w](CommandContext& cx) {
        AddRampDialog dialog(cx.ui, w.help(), &w);
        if (ExecDialog(dialog) != QDialog::Accepted)
            return CommandResult{};
        return ApplySectionOperation(cx, dialog.code(), dialog.variant(), cx.view.active, dialog.height(),
                                     cx.view.at.F5, cx.view.at.F4);
    });
    t.add("process.bi-channel.subtract", [&w](CommandContext& cx) { return BiChannel(cx, w, BiChannelMode::Subtract); });
    t.add("process.bi-channel.add", [&w](CommandContext& cx) { return BiChannel(cx, w, BiChannelMode::Add); });
    t.add("process.bi-channel.abs", [&w](CommandContext& cx) { return BiChannel(cx, w, BiChannelMode::Abs); });
    const std::pair<const char*, int> derivations[] = {
        {"process.integrate", DeriveIntegrate}, {"process.differentiate", DeriveDifferentiate}, {"process.compass-difference", DeriveCompass}};
    for (const auto& [item, code] : derivations)
        t.add(item, [code](CommandContext& cx) {
            const int slot = cx.view.active;
            return DeriveChannel(cx, code, code == DeriveDifferentiate ? 0 : 1, slot, slot, slot);
        });
    t.add("process.insert-points",
          [](CommandContext& cx) { return InsertPoints(cx, cx.view.active, cx.view.at.F5, cx.view.at.F4); });
    t.add("process.delete-points",
          [](CommandContext& cx) { return DeletePoints(cx, cx.view.active, cx.view.at.F5, cx.view.at.F4); });
    t.add("process.reduce", [](CommandContext& cx) { return ReduceCommand(cx, cx.view.active); });
    const StepProgress bar = [&w](int64_t done, int64_t total) { w.stepProgress(done, total); };
    t.add("process.expand", [bar](CommandContext& cx) { return ExpandCommand(cx, cx.view.active, bar); });
    t.add("process.double-points", [bar](CommandContext& cx) { return DoublePointsCommand(cx, cx.view.active, bar); });
    t.add("process.clock-drift", [&w, bar](CommandContext& cx) {
        ClockDriftDialog dialog(cx.ui, &w);
        if (ExecDialog(dialog) != QDialog::Accepted)
            return CommandResult{};
        return CorrectClockDrift(cx, cx.view.active, dialog.drift(), bar);
    });
    t.add("process.sections.store", [&w](CommandContext& cx) {
        StoreSectionDialog dialog(cx.wb.sections, cx.view, w.help(), &w);
        ExecDialog(dialog);
        return CommandResult{};
    });
    t.add("process.sections.overwrite", [&w](CommandContext& cx) {
        auto* window = new SectionOverwriteDialog(cx.wb.sections, cx.ui, w);  // closes itself, goes with the graph window
        window->show();
        w.activateWindow();
        return CommandResult{redraw::StripCursors};
    });
    t.add("process.polynomial", [&w](CommandContext& cx) {
        PolynomialDialog dialog(cx.rec, cx.view.active, cx.ui, w.help(), &w);
        if (ExecDialog(dialog) != QDialog::Accepted)
            return CommandResult{};
        return SetPolynomial(cx, cx.view.active, dialog.setting());
    });
}

}  // namespace vk
