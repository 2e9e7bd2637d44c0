#include "gui/app/MainDialog.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>
#include <exception>

#include "core/dive/SurfaceCheck.h"
#include "core/example/ExampleRecording.h"
#include "core/files/ChannelSource.h"
#include "core/files/PathNames.h"
#include "core/help/ProgramHelp.h"
#include "core/setup/SaveSettings.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/FileUtil.h"
#include "core/store/VkDialogs.h"
#include "gui/app/ChannelTab.h"
#include "gui/app/GeneralTab.h"
#include "gui/app/ProgramFolders.h"
#include "gui/graph/OpenGraphWindow.h"
#include "gui/widgets/HelpViewer.h"

namespace vk {

MainDialog::MainDialog(Workbench& wb, VkDialogs& ui, HelpViewer& help, std::string lastSettings,
                       const std::string& setupFile, QWidget* parent)
        : QDialog(parent), wb_(wb), ui_(ui), help_(help), lastSettings_(std::move(lastSettings))
{
    setObjectName("mainDialog");
    setWindowTitle(QString::fromStdString("Varnik Dive Analysis, Main Dialog " + ProgramVersion()));

    tabs_ = new QTabWidget;
    general_ = new GeneralTab(wb_.settings);
    tabs_->addTab(general_, "General ");
    for (int slot = 0; slot < SlotCount; ++slot) {
        auto* tab = new ChannelTab(slot, wb_.rec, wb_.settings.skip, ui_);
        channels_[static_cast<std::size_t>(slot)] = tab;
        tabs_->addTab(tab, QString::fromStdString(wb_.rec.desc(slot).Caption));
        connect(tab, &ChannelTab::copyRequested, this,
                [this](CopyKind kind) { copyFromFirstSlot(static_cast<int>(kind)); });
        connect(tab, &ChannelTab::markingChanged, this, &MainDialog::updateTabMarks);
        connect(tab, &ChannelTab::readingProposed, this, [this] {
            for (ChannelTab* other : channels_) {
                other->fill();
                tabs_->setTabText(other->slot() + 1, QString::fromStdString(wb_.rec.desc(other->slot()).Caption));
            }
        });
    }

    auto* start = new QPushButton("Start");
    start->setObjectName("ButtonStart");
    start->setDefault(true);
    auto* help_button = new QPushButton("&Help");
    help_button->setObjectName("ButtonHelp");
    help_button->setAutoDefault(false);
    auto* close = new QPushButton("&Close");
    close->setObjectName("ButtonClose");
    close->setAutoDefault(false);
    auto* viewer = new QPushButton("File Viewer");
    viewer->setObjectName("btnFileViewer");
    viewer->setAutoDefault(false);
    status_ = new QLabel;
    status_->setObjectName("progressText");
    status_->setMinimumWidth(80);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(viewer);
    buttons->addWidget(start);
    buttons->addWidget(help_button);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    // At least as large as its fields need: no label is cut short.
    resize(sizeHint().expandedTo(QSize(660, 520)));

    connect(start, &QPushButton::clicked, this, &MainDialog::ButtonStartClick);
    connect(help_button, &QPushButton::clicked, this, &MainDialog::ButtonHelpClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(viewer, &QPushButton::clicked, this, &MainDialog::btnFileViewerClick);
    connect(general_, &GeneralTab::readSetupRequested, this, &MainDialog::readSetupFromField);
    connect(general_, &GeneralTab::browseSetupRequested, this, &MainDialog::btnCfgFileClick);
    connect(general_, &GeneralTab::saveSetupRequested, this, &MainDialog::btnSaveConfigClick);
    connect(general_, &GeneralTab::exampleRequested, this, &MainDialog::openExample);

    ReadSetup(lastSettings_, wb_.rec, wb_.settings);
    if (!setupFile.empty())
        readSetup(setupFile);
    AllocateStore(wb_.rec, ui_);
    FillDialog();
}

MainDialog::~MainDialog()
{
    delete graph_;
}

void MainDialog::FillDialog()
{
    general_->fill(wb_.setupFile);
    for (ChannelTab* tab : channels_) {
        tab->fill();
        tabs_->setTabText(tab->slot() + 1, QString::fromStdString(wb_.rec.desc(tab->slot()).Caption));
    }
    updateTabMarks();
}

void MainDialog::CollectDialog()
{
    general_->collect();
    wb_.setupFile = general_->setupFileName().toStdString();
    for (ChannelTab* tab : channels_)
        tab->collect();
}

void MainDialog::updateTabMarks()
{
    for (ChannelTab* tab : channels_) {
        const bool toCreate = tab->isFileToCreate();
        tabs_->tabBar()->setTabTextColor(tab->slot() + 1, toCreate ? QColor(Qt::red) : QColor());
        tabs_->setTabToolTip(tab->slot() + 1, toCreate ? "File to create" : QString());
    }
}

bool MainDialog::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        FillDialog();
        wb_.settings.colours.values[ColCrossCursor] = 32768;
    }
    return QDialog::event(event);
}

void MainDialog::readSetup(const std::string& path)
{
    wb_.setupFile = path;
    if (WhyNotASetup(path).empty()) {
        // The comments belong to the setup file read now.
        wb_.settings.Cmt1.clear();
        wb_.settings.Cmt2.clear();
        std::vector<std::string> unread;
        ReadSetup(path, wb_.rec, wb_.settings, &unread);
        if (!unread.empty()) {
            constexpr std::size_t Listed = 5;
            std::string text = FileNameOf(path) + ": these lines cannot be read; the values they would set stay as "
                                                  "they were:";
            for (std::size_t k = 0; k < std::min(unread.size(), Listed); ++k)
                text += "\r\n" + unread[k];
            if (unread.size() > Listed)
                text += "\r\n... and " + std::to_string(unread.size() - Listed) + " more";
            ui_.message(text, Severity::Warning);
        }
    } else if (FileExists(path)) {
        ui_.message(" " + FileNameOf(path) + " is not a Varnik setup file.", Severity::Error);
    }
    FillDialog();
}

void MainDialog::readSetupFromField()
{
    readSetup(general_->setupFileName().toStdString());
}

void MainDialog::btnCfgFileClick()
{
    FileRequest request;
    request.title = "Read config. file";
    request.start = wb_.setupFile;
    request.filter = "Setup files (*.cfg *.vks *.txt);;All files (*)";
    if (const auto chosen = ui_.chooseFile(request))
        readSetup(*chosen);
}

void MainDialog::openExample()
{
    // An example written before is read as it is: it may hold the user's
    // settings and results.
    const std::string folder = ExampleFolder();
    const example::ExampleFiles files = example::ExampleFilesIn(folder);
    if (!FileExists(files.setup) || !FileExists(files.data)) {
        std::string failure;
        {
            BusyCursor busy(ui_);
            ui_.status("Writing the example recording ...");
            try {
                example::WriteExample(folder);
            } catch (const std::exception& e) {
                failure = e.what();
            }
            ui_.status("");
        }
        if (!failure.empty()) {
            ui_.message(" The example recording could not be written: " + failure, Severity::Error);
            return;
        }
    }
    readSetup(files.setup);
    ui_.message(" The example recording of a fur seal is in " + folder +
                    ".\r\nStart loads it; the results are written beside it.",
                Severity::Information);
}

void MainDialog::btnSaveConfigClick()
{
    CollectDialog();
    SaveSettingsAs(wb_, ui_);
    general_->setSetupFileName(wb_.setupFile);
}

void MainDialog::ButtonHelpClick()
{
    help_.showPage("mainDial.rtf");
}

void MainDialog::btnFileViewerClick()
{
    CollectDialog();
    for (const SlotData& s : wb_.rec.slots)
        if (FileExists(s.desc.NameIn)) {
            ui_.openDocument(s.desc.NameIn);
            return;
        }
    ui_.message(" No data file to show.", Severity::Information);
}

void MainDialog::copyFromFirstSlot(int kind)
{
    CollectDialog();
    CopyFromFirstSlot(wb_.rec, static_cast<CopyKind>(kind));
    FillDialog();
}

void MainDialog::shake()
{
    const QPoint home = pos();
    QPoint at = home;
    for (int k = 0; k < 10; ++k) {
        at += (k % 2 == 0) ? QPoint(-3, -3) : QPoint(1, 1);
        move(at);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(15);
    }
    move(home);
}

void MainDialog::ButtonStartClick()
{
    if (graph_) {
        ui_.message("Close Vk graph-window before loading next channels", Severity::Error);
        return;
    }
    CollectDialog();
    StartHooks hooks;
    hooks.loadingSlot = [this](int slot) { tabs_->setCurrentIndex(slot + 1); };
    const StartResult result = StartRecording(wb_, ui_, hooks);
    ui_.status("");
    FillDialog();
    if (result == StartResult::LoadFailed) {
        shake();
        ui_.message(" Error. Missing data files.", Severity::Error);
        return;
    }
    if (result == StartResult::Loaded) {
        NoteSurfaceAfterStart(wb_, ui_);
        graph_ = OpenGraphWindow(wb_, ui_, help_);
    }
}

void MainDialog::FormClose()
{
    if (closed_)
        return;
    closed_ = true;
    general_->collect();
    if (WriteSetup(lastSettings_, wb_.rec, wb_.settings) != SetupWriteResult::Written)
        ui_.message(" The settings could not be kept in " + lastSettings_ + ".", Severity::Warning);
    delete graph_;
    ReleaseStore(wb_.rec);
}

void MainDialog::done(int result)
{
    // The graph window asks about modified channels; if it stays open, so does this dialog.
    if (graph_ && !graph_->close())
        return;
    // Settings changed since the Start from a setup file are offered for keeping there.
    if (!closed_ && !OfferToKeepSetup(wb_, ui_))
        return;
    FormClose();
    QDialog::done(result);
}

}  // namespace vk
