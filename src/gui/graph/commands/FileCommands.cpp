// The File, Help, Export and Undo menus, the help item of every menu, Shift+Z.

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "core/files/PathNames.h"
#include "core/help/ProgramHelp.h"
#include "core/process/UndoStack.h"
#include "core/setup/SaveSettings.h"
#include "core/store/Channel.h"
#include "core/store/FileUtil.h"
#include "core/store/NumberText.h"
#include "core/store/TimeBase.h"
#include "core/store/VkDialogs.h"
#include "gui/app/ProgramFolders.h"
#include "gui/files/BinaryExportDialog.h"
#include "gui/files/TextExportDialog.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/WindowPicture.h"
#include "gui/graph/commands/Commands.h"
#include "gui/process/UndoOptionsDialog.h"
#include "gui/widgets/HelpViewer.h"
#include "gui/widgets/ModalDialog.h"

namespace vk {

namespace {

// Help items and their pages; an item is enabled when its page is there.
const std::pair<const char*, const char*> HelpItems[] = {
    {"file.help", "mniFile.rtf"},         {"view.help", "mniView.rtf"},
    {"x-zoom.help", "mnixZoom.rtf"},      {"y-zoom.help", "mniyZoom.rtf"},
    {"baseline.help", "mniBaseline.rtf"}, {"export.help", "mniExport.rtf"},
    {"process.help", "mniProcess.rtf"},   {"process.bi-channel.help", "dlgBiChannel.rtf"},
    {"filter.help", "mniFilter.rtf"},     {"filter.smooth.help", "mniSmooth.rtf"},
    {"calc.help", "mniCalc.rtf"},         {"help.help", "mniHelp.rtf"},
    {"analysis.help", "mniAnalysis.rtf"}};

// "&Image ...": the filter decides the format, whatever the name says; a
// name without an extension gets the filter's.
CommandResult SaveImage(CommandContext& cx, GraphWindow& w)
{
    FileRequest request;
    request.title = "Image of the Vk-window";
    request.save = true;
    request.filter = "JPEG files (*.jpg);;Bitmap (*.bmp)";
    request.selectedFilter = 1;
    auto chosen = cx.ui.chooseFile(request);
    if (!chosen)
        return {};
    const PictureFormat format = request.selectedFilter == 0 ? PictureFormat::Jpeg : PictureFormat::Bitmap;
    if (ChangeExtension(*chosen, "") == *chosen)
        *chosen += format == PictureFormat::Jpeg ? ".jpg" : ".bmp";
    if (!SavePicture(w.picture(), *chosen, format))
        cx.ui.message(" Cannot write " + *chosen, Severity::Error);
    return {};
}

CommandResult OpenManual(CommandContext& cx)
{
    const std::string manual = ManualPath();
    if (!FileExists(manual))
        cx.ui.message(" Error 2 at opening Manual.pdf", Severity::Error);  // the file is missing
    else if (!cx.ui.openDocument(manual))
        cx.ui.message(" Error 31 at opening Manual.pdf", Severity::Error);  // no program for PDF files
    return {};
}

CommandResult ShowInfo(CommandContext& cx)
{
    const SlotData& s = cx.rec.at(cx.view.active);
    const ChannelDescriptor& d = s.desc;
    std::string text = "Varnik " + ProgramVersion() + "\r\n" + ProgramFolder() + "\r\n\r\n";
    text += "Channel " + std::to_string(cx.view.active + 1) + " (" + d.Caption + ")\r\n";
    text += "File: " + d.NameIn + "\r\n";
    const ChannelView channel(cx.rec, cx.view.active);
    text += "Samples: " + std::to_string(channel.storedCount()) + ", interval " + GeneralText(channel.interval()) +
            " ms\r\n";
    text += "Start: " + FormatDateTime(d.StartTime, '.') + "\r\n";
    for (const std::string& comment : {s.HeadCmt1, s.HeadCmt2})
        if (comment != " " && !comment.empty())
            text += comment + "\r\n";
    cx.ui.message(text, Severity::Information);
    return {};
}

// "Undo": the newest step back; its channel becomes the active one.
CommandResult Undo(CommandContext& cx, UndoStack& stack)
{
    const UndoStack::PopResult r = stack.Pop();
    if (!r.undone)
        return r.redraw;
    cx.view.active = r.slot;
    return {r.redraw, r.changed};
}

}  // namespace

void RegisterFileCommands(CommandTable& t, GraphWindow& w)
{
    HelpViewer& help = w.help();
    for (const auto& [item, page] : HelpItems) {
        if (!QFileInfo::exists(QString::fromStdString(help.helpFolder() + page)))
            continue;
        const std::string name = page;
        t.add(item, [&help, name](CommandContext&) {
            help.showPage(name);
            return CommandResult{};
        });
    }
    t.add("file.save-settings", [](CommandContext& cx) {
        SaveSettingsAs(cx.wb, cx.ui);
        return CommandResult{};
    });
    t.add("file.result-file", [](CommandContext& cx) {
        FileRequest request;
        request.title = "Export results of analysis to: ";
        request.save = true;
        request.start = cx.settings().NameOutFile[0];
        request.filter = "Result files (*.xls);;All files (*)";
        if (const auto chosen = cx.ui.chooseFile(request))
            cx.settings().NameOutFile[0] = *chosen;
        return CommandResult{};
    });
    t.add("file.image", [&w](CommandContext& cx) { return SaveImage(cx, w); });
    t.add("file.print", [&w](CommandContext& cx) {
        QPrinter printer;
        QPrintDialog dialog(&printer, &w);
        if (ExecDialog(dialog) == QDialog::Accepted && !PrintPicture(printer, w.picture()))
            cx.ui.message(" Printing failed.", Severity::Error);
        return CommandResult{};
    });
    t.add("help.map", [&help](CommandContext&) {
        help.showBitmap(help.helpFolder() + "Vk_map.bmp");
        return CommandResult{};
    });
    t.add("help.manual", OpenManual);
    t.add("help.info", ShowInfo);
    t.add("file.exit", [&w](CommandContext&) {
        w.close();
        return CommandResult{};
    });
    t.add("process.undo", [&w](CommandContext& cx) { return Undo(cx, *w.undoStack()); });
    t.add("process.undo-options", [&w](CommandContext&) {
        UndoOptionsDialog dialog(*w.undoStack(), &w);
        ExecDialog(dialog);
        return CommandResult{};
    });
    t.add("export.text", [&w](CommandContext& cx) {
        TextExportDialog dialog(cx.wb, cx.view, cx.ui, w.help(), &w);
        ExecDialog(dialog);
        return CommandResult{};
    });
    t.add("export.binary", [&w](CommandContext& cx) {
        BinaryExportDialog dialog(cx.wb, cx.view, cx.ui, w.help(), &w);
        ExecDialog(dialog);
        return CommandResult{};
    });
    t.addKey("key.thumbnail", [&w](CommandContext&) {
        w.thumbnailOfView();
        return CommandResult{};
    });
}

}  // namespace vk
