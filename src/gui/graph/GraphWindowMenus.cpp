// The File, Help, Export and Undo menus of the graph window, the help items
// of every menu, and Shift+Z.

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>

#include "core/files/PathNames.h"
#include "core/process/UndoStack.h"
#include "core/setup/SaveSettings.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"
#include "gui/app/ProgramFolders.h"
#include "gui/files/BinaryExportDialog.h"
#include "gui/files/TextExportDialog.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/WindowPicture.h"
#include "gui/process/UndoOptionsDialog.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

namespace {

// Help items and their pages; an item is enabled when its page is there.
const std::pair<const char*, const char*> HelpItems[] = {
    {"mniFileHelp", "mniFile.rtf"},        {"mniViewHelp", "mniView.rtf"},           {"mnixZoomHelp", "mnixZoom.rtf"},
    {"mniyZoomHelp", "mniyZoom.rtf"},      {"mniBaselineHelp", "mniBaseline.rtf"},   {"mniExportHelp", "mniExport.rtf"},
    {"mniProcessHelp", "mniProcess.rtf"},  {"mniBiChannelHelp", "dlgBiChannel.rtf"}, {"mniFilterHelp", "mniFilter.rtf"},
    {"mniSmoothHelp", "mniSmooth.rtf"},    {"mniCalcHelp", "mniCalc.rtf"},           {"mniHelpHelp", "mniHelp.rtf"},
    {"mniAnalysisHelp", "mniAnalysis.rtf"}};

}  // namespace

QImage TForm3::picture() const
{
    return area_->grab().toImage();
}

void TForm3::connectMenus()
{
    auto on = [this](const char* name, std::function<void()> f) { onItem(name, std::move(f)); };
    for (const auto& [item, page] : HelpItems) {
        if (!QFileInfo::exists(QString::fromStdString(help_.helpFolder() + page)))
            continue;
        const std::string name = page;
        on(item, [this, name] { help_.showPage(name); });
    }
    on("mniSaveSettings", [this] { SaveSettingsAs(wb_, ui_); });
    on("mniResultFile", [this] {
        FileRequest request;
        request.title = "Export results of analysis to: ";
        request.save = true;
        request.start = wb_.settings.NameOutFile[0];
        request.filter = "Result files (*.xls);;All files (*)";
        if (const auto chosen = ui_.chooseFile(request))
            wb_.settings.NameOutFile[0] = *chosen;
    });
    on("mniImage", [this] { saveImage(); });
    on("mniPrint", [this] { print(); });
    on("mniVkMap", [this] { help_.showBitmap(help_.helpFolder() + "Vk_map.bmp"); });
    on("mniManual", [this] { openManual(); });
    on("mniInfo", [this] { showInfo(); });
    on("mniUndo", [this] { undoLast(); });
    on("mniUndoOptions", [this] {
        TfrmUndoOptions dialog(*undoStack_, this);
        dialog.exec();
        refreshUndoItem();
    });
    on("mniExportText", [this] {
        TfrmExportText dialog(wb_, view_, ui_, help_, this);
        dialog.exec();
    });
    on("mniExportBinary", [this] { exportBinary(); });
    refreshUndoItem();
}

void TForm3::exportBinary()
{
    TfrmExportBin dialog(wb_, view_, ui_, help_, this);
    dialog.exec();
}

void TForm3::saveImage()
{
    FileRequest request;
    request.title = "Image of the Vk-window";
    request.save = true;
    request.filter = "JPEG files (*.jpg);;Bitmap (*.bmp)";
    request.selectedFilter = 1;
    auto chosen = ui_.chooseFile(request);
    if (!chosen)
        return;
    // The filter decides the format, whatever the name says; a name without
    // an extension gets the filter's.
    const PictureFormat format = request.selectedFilter == 0 ? PictureFormat::Jpeg : PictureFormat::Bitmap;
    if (ChangeExtension(*chosen, "") == *chosen)
        *chosen += format == PictureFormat::Jpeg ? ".jpg" : ".bmp";
    if (!SavePicture(picture(), *chosen, format))
        ui_.message(" Cannot write " + *chosen, Severity::Error);
}

void TForm3::print()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted && !PrintPicture(printer, picture()))
        ui_.message(" Printing failed.", Severity::Error);
}

void TForm3::openManual()
{
    const std::string manual = ManualPath();
    if (!FileExists(manual)) {
        ui_.message(" Error 2 at opening Manual.pdf", Severity::Error);  // the file is missing
        return;
    }
    if (!ui_.openDocument(manual))
        ui_.message(" Error 31 at opening Manual.pdf", Severity::Error);  // no program for PDF files
}

void TForm3::showInfo()
{
    const SlotData& s = wb_.rec.at(view_.active);
    const ChannelDescriptor& d = s.desc;
    std::string text = "Varnik " + ProgramVersion() + "\r\n" + ProgramFolder() + "\r\n\r\n";
    text += "Channel " + std::to_string(view_.active + 1) + " (" + d.Caption + ")\r\n";
    text += "File: " + d.NameIn + "\r\n";
    text += "Samples: " + std::to_string(d.DataCnt - d.CorrSmpDelay + 1) + ", interval " + std::to_string(d.SampRate) +
            " ms\r\n";
    text += "Start: " + FormatDateTime(d.StartTime, '.') + "\r\n";
    if (s.HeadCmt1 != " " && !s.HeadCmt1.empty())
        text += s.HeadCmt1 + "\r\n";
    if (s.HeadCmt2 != " " && !s.HeadCmt2.empty())
        text += s.HeadCmt2 + "\r\n";
    ui_.message(text, Severity::Information);
}

void TForm3::refreshUndoItem()
{
    if (!undoStack_)
        return;
    QAction* a = menus_->action("mniUndo");
    a->setText(QString::fromStdString(undoStack_->MenuCaption()) + "\tCtrl+Z");
    a->setEnabled(undoStack_->enabled());
}

void TForm3::undoLast()
{
    BusyCursor busy(ui_);
    view_.saved = view_.at;
    const TUndo::PopResult r = undoStack_->Pop();
    if (r.undone) {
        setActiveChannel(r.slot);
        samplesChanged(r.slot);
    }
    executeRedraw(r.redraw);
}

void TForm3::thumbnailOfView()
{
    const ThumbnailSettings& t = wb_.settings.thumbnails;
    const QSize size(std::max(t.ThumbnailWidth, 8), std::max(t.ThumbnailHeight, 8));
    const QImage image = RenderThumbnail(scene(), view_.active, size, "");
    auto* label = findChild<QLabel*>("ThumbNail");
    const bool shown = label->isVisible();
    showThumbnail(image);
    label->setVisible(!shown);
    SaveThumbnail(image, wb_.results.thumbnailPrefix, 0, ui_);
}

void TForm3::showThumbnail(const QImage& image)
{
    auto* label = findChild<QLabel*>("ThumbNail");
    label->setPixmap(QPixmap::fromImage(image));
    label->resize(image.size());
    label->show();
}

}  // namespace vk
