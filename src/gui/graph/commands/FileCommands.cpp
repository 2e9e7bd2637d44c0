// The File, Help, Export and Undo menus, the help item of every menu, Shift+Z.

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "core/files/PathNames.h"
#include "core/process/UndoStack.h"
#include "core/setup/SaveSettings.h"
#include "core/store/FileUtil.h"
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
    {"mniFileHelp", "mniFile.rtf"},        {"mniViewHelp", "mniView.rtf"},           {"mnixZoomHelp", "mnixZoom.rtf"},
    {"mniyZoomHelp", "mniyZoom.rtf"},      {"mniBaselineHelp", "mniBaseline.rtf"},   {"mniExportHelp", "mniExport.rtf"},
    {"mniProcessHelp", "mniProcess.rtf"},  {"mniBiChannelHelp", "dlgBiChannel.rtf"}, {"mniFilterHelp", "mniFilter.rtf"},
    {"mniSmoothHelp", "mniSmooth.rtf"},    {"mniCalcHelp", "mniCalc.rtf"},           {"mniHelpHelp", "mniHelp.rtf"},
    {"mniAnalysisHelp", "mniAnalysis.rtf"}};

// "&Image ...": the filter decides the format, whatever the name says; a
// name without an extension gets the filter's.
CommandResult SaveImage(CommandContext& cx, TForm3& w)
{
    FileRequest request;
    request.title = "Image of the Vk-window";
    request.save = true;
    request.filter = "JPEG files (*.jpg);;Bitmap (*.bmp)";
    request.selectedFilter = 1;
    auto chosen = cx.ui.chooseFile(request);
    if (!chosen)
        return 0;
    const PictureFormat format = request.selectedFilter == 0 ? PictureFormat::Jpeg : PictureFormat::Bitmap;
    if (ChangeExtension(*chosen, "") == *chosen)
        *chosen += format == PictureFormat::Jpeg ? ".jpg" : ".bmp";
    if (!SavePicture(w.picture(), *chosen, format))
        cx.ui.message(" Cannot write " + *chosen, Severity::Error);
    return 0;
}

CommandResult OpenManual(CommandContext& cx)
{
    const std::string manual = ManualPath();
    if (!FileExists(manual))
        cx.ui.message(" Error 2 at opening Manual.pdf", Severity::Error);  // the file is missing
    else if (!cx.ui.openDocument(manual))
        cx.ui.message(" Error 31 at opening Manual.pdf", Severity::Error);  // no program for PDF files
    return 0;
}

CommandResult ShowInfo(CommandContext& cx)
{
    const SlotData& s = cx.rec.at(cx.view.active);
    const ChannelDescriptor& d = s.desc;
    std::string text = "Varnik " + ProgramVersion() + "\r\n" + ProgramFolder() + "\r\n\r\n";
    text += "Channel " + std::to_string(cx.view.active + 1) + " (" + d.Caption + ")\r\n";
    text += "File: " + d.NameIn + "\r\n";
    text += "Samples: " + std::to_string(d.DataCnt - d.CorrSmpDelay + 1) + ", interval " + std::to_string(d.SampRate) +
            " ms\r\n";
    text += "Start: " + FormatDateTime(d.StartTime, '.') + "\r\n";
    for (const std::string& comment : {s.HeadCmt1, s.HeadCmt2})
        if (comment != " " && !comment.empty())
            text += comment + "\r\n";
    cx.ui.message(text, Severity::Information);
    return 0;
}

// "Undo": the newest step back; its channel becomes the active one.
CommandResult Undo(CommandContext& cx, TUndo& stack)
{
    const TUndo::PopResult r = stack.Pop();
    if (!r.undone)
        return r.redraw;
    cx.view.active = r.slot;
    return {r.redraw, r.changed};
}

}  // namespace

void RegisterFileCommands(CommandTable& t, TForm3& w)
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
    t.add("mniSaveSettings", [](CommandContext& cx) {
        SaveSettingsAs(cx.wb, cx.ui);
        return CommandResult{};
    });
    t.add("mniResultFile", [](CommandContext& cx) {
        FileRequest request;
        request.title = "Export results of analysis to: ";
        request.save = true;
        request.start = cx.settings().NameOutFile[0];
        request.filter = "Result files (*.xls);;All files (*)";
        if (const auto chosen = cx.ui.chooseFile(request))
            cx.settings().NameOutFile[0] = *chosen;
        return CommandResult{};
    });
    t.add("mniImage", [&w](CommandContext& cx) { return SaveImage(cx, w); });
    t.add("mniPrint", [&w](CommandContext& cx) {
        QPrinter printer;
        QPrintDialog dialog(&printer, &w);
        if (ExecDialog(dialog) == QDialog::Accepted && !PrintPicture(printer, w.picture()))
            cx.ui.message(" Printing failed.", Severity::Error);
        return CommandResult{};
    });
    t.add("mniVkMap", [&help](CommandContext&) {
        help.showBitmap(help.helpFolder() + "Vk_map.bmp");
        return CommandResult{};
    });
    t.add("mniManual", OpenManual);
    t.add("mniInfo", ShowInfo);
    t.add("mniExit", [&w](CommandContext&) {
        w.close();
        return CommandResult{};
    });
    t.add("mniUndo", [&w](CommandContext& cx) { return Undo(cx, *w.undoStack()); });
    t.add("mniUndoOptions", [&w](CommandContext&) {
        TfrmUndoOptions dialog(*w.undoStack(), &w);
        ExecDialog(dialog);
        return CommandResult{};
    });
    t.add("mniExportText", [&w](CommandContext& cx) {
        TfrmExportText dialog(cx.wb, cx.view, cx.ui, w.help(), &w);
        ExecDialog(dialog);
        return CommandResult{};
    });
    t.add("mniExportBinary", [&w](CommandContext& cx) {
        TfrmExportBin dialog(cx.wb, cx.view, cx.ui, w.help(), &w);
        ExecDialog(dialog);
        return CommandResult{};
    });
    t.addKey("keyThumbnail", [&w](CommandContext&) {
        w.thumbnailOfView();
        return CommandResult{};
    });
}

}  // namespace vk
