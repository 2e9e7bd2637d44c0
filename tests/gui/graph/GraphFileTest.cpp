// The graph window's File, Help, Export and Undo menus: pictures, printing,
// thumbnails, the export dialogs and undo, offscreen.

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <memory>

#include "core/dive/Thumbnail.h"
#include "core/files/BinaryChannelFile.h"
#include "core/process/UndoStack.h"
#include "core/setup/SetupFile.h"
#include "core/store/FileUtil.h"
#include "gui/files/BinaryExportDialog.h"
#include "gui/files/TextExportDialog.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/WindowPicture.h"
#include "gui/widgets/HelpViewer.h"
#include "support/GraphFixture.h"
#include "support/GuiFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

using namespace vk;

class GraphFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void undoTakesBackViewAndBaselineSteps();
    void picturesAsJpegAndBitmap();
    void printingGivesOnePage();
    void thumbnailsAskBeforeReplacing();
    void textExportRemembersAndAsks();
    void binaryExportOfTheEntireChannel();
    void fileAndHelpMenus();
    void closingWithAModifiedChannelOffersTheExport();

private:
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { test::Key(window, k, m); }
    void whenDialogShows(std::function<void(QWidget*)> inDialog) { test::WhenDialogShows(std::move(inDialog)); }

    std::unique_ptr<test::TempDir> dir;
    std::unique_ptr<Workbench> wb;
    std::unique_ptr<ScriptedDialogs> ui;
    std::unique_ptr<HelpViewer> help;
    QPointer<GraphWindow> window;
};

void GraphFileTest::init()
{
    dir = std::make_unique<test::TempDir>();
    wb = std::make_unique<Workbench>();
    test::AllocateAll(wb->rec, 1);
    wb->rec.time.GlobalStart = EncodeTime(2026, 1, 7, 6, 0, 0);
    test::Fill(wb->rec, 0, 12000, 1000, 0, 80, [](int32_t i) { return 40 + 30 * std::sin(i / 20.0); });
    test::Fill(wb->rec, 2, 6000, 2000, 0, 20, [](int32_t i) { return 10 + 5 * std::cos(i / 9.0); });
    wb->rec.at(1).ChannelUsed = false;
    for (int s : {0, 2})
        wb->rec.desc(s).NameIn = dir->file(s == 0 ? "depth.txt" : "speed.txt");
    wb->rec.time.LongestSpan = 11999000;
    wb->settings.NameOutFile[0] = dir->file("depth_Dve.xls");
    wb->results.thumbnailPrefix = dir->path() + "/Thumbnails/depth";
    ui = std::make_unique<ScriptedDialogs>();
    help = std::make_unique<HelpViewer>(*ui, VARNIK_HELP_DIR "/");
    window = test::OpenActiveGraphWindow(*wb, *ui, *help);
    QVERIFY(window);
}

void GraphFileTest::cleanup()
{
    delete window;
    help.reset();
    dir.reset();
}

void GraphFileTest::undoTakesBackViewAndBaselineSteps()
{
    QAction* undo = window->menus().action("process.undo");
    QCOMPARE(undo->text(), QString("Undo\tCtrl+Z"));
    QVERIFY(undo->isEnabled());
    const LinePositions start = window->view().at;
    key(Qt::Key_F3);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    QCOMPARE(undo->text(), QString("Undo Zoom\tCtrl+Z"));
    key(Qt::Key_U, Qt::ControlModifier);  // baseline increment
    QCOMPARE(undo->text(), QString("Undo baselne\tCtrl+Z"));
    QVERIFY(wb->rec.desc(0).yOffset != 0);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(wb->rec.desc(0).yOffset, 0.0);
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window->view().at, start);
    QCOMPARE(undo->text(), QString("Undo nothing\tCtrl+Z"));
    // The stack file lives in a folder of this run, not in the working folder.
    QVERIFY(QString::fromStdString(window->undoStack()->stackFile()).endsWith("/Undo.bin"));
    QVERIFY(!QString::fromStdString(window->undoStack()->stackFile()).startsWith(QDir::currentPath() + "/Undo"));

    // "Disable Undo" in the options dialog.
    whenDialogShows([](QWidget* d) {
        QCOMPARE(d->windowTitle(), QString("Undo options"));
        d->findChild<QCheckBox*>("cbxDisableUndo")->setChecked(true);
        static_cast<QDialog*>(d)->accept();
    });
    window->menus().action("process.undo-options")->trigger();
    QVERIFY(!undo->isEnabled());
    key(Qt::Key_Right);
    QCOMPARE(window->undoStack()->top(), 0);
}

void GraphFileTest::picturesAsJpegAndBitmap()
{
    const std::string jpeg = dir->file("window.jpg");
    ui->files = {jpeg};
    ui->filters = {0};
    window->menus().action("file.image")->trigger();
    QCOMPARE(ui->fileRequests.back().title, std::string("Image of the Vk-window"));
    QVERIFY(FileExists(jpeg));
    QCOMPARE(test::TempDir::read(jpeg).substr(0, 2), std::string("\xFF\xD8"));
    const QString identify = QStandardPaths::findExecutable("identify");
    if (!identify.isEmpty()) {
        QProcess p;
        p.start(identify, {"-format", "%Q", QString::fromStdString(jpeg)});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("90"));
    }
    // The bitmap filter with a ".jpg" name writes a bitmap all the same.
    const std::string bitmap = dir->file("really-a-bitmap.jpg");
    ui->files = {bitmap};
    ui->filters = {1};
    window->menus().action("file.image")->trigger();
    QCOMPARE(test::TempDir::read(bitmap).substr(0, 2), std::string("BM"));
    // Without an extension the picture gets the extension of its filter.
    ui->files = {dir->file("plain")};
    ui->filters = {1};
    window->menus().action("file.image")->trigger();
    QVERIFY(FileExists(dir->file("plain.bmp")));
    ui->files = {dir->file("photo")};
    ui->filters = {0};
    window->menus().action("file.image")->trigger();
    QVERIFY(!FileExists(dir->file("photo.bmp")));
    QCOMPARE(test::TempDir::read(dir->file("photo.jpg")).substr(0, 2), std::string("\xFF\xD8"));
}

void GraphFileTest::printingGivesOnePage()
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string pdf = dir->file("print.pdf");
    printer.setOutputFileName(QString::fromStdString(pdf));
    QVERIFY(PrintPicture(printer, window->picture()));
    const std::string bytes = test::TempDir::read(pdf);
    int pages = 0;
    for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1))
        pages += bytes.compare(at, 12, "/Type /Pages") != 0;
    QCOMPARE(pages, 1);
    QVERIFY(bytes.find("/Subtype /Image") != std::string::npos);
}

void GraphFileTest::thumbnailsAskBeforeReplacing()
{
    ThumbnailSettings t;
    t.TN_date = t.TN_time = true;
    const std::string stamp = ThumbnailStamp(t, 12, EncodeTime(2026, 1, 7, 6, 5, 0), 'U');
    QCOMPARE(stamp, std::string("12  7/1  06:05  U"));
    const QImage thumb = RenderThumbnail(window->scene(), 0, QSize(89, 49), stamp);
    QCOMPARE(thumb.format(), QImage::Format_Mono);
    QCOMPARE(thumb.pixelColor(0, 20), QColor(Qt::black));  // the frame
    const std::string folder = dir->path() + "/Thumbnails/depth";
    QVERIFY(SaveThumbnail(thumb, folder, 12, *ui));
    QVERIFY(FileExists(folder + "/12.bmp"));
    QVERIFY(ui->shown.empty());
    ui->answers = {Answer::Cancel};
    QVERIFY(!SaveThumbnail(thumb, folder, 12, *ui));
    QCOMPARE(ui->texts(), std::vector<std::string>{"12.bmp\r\nalready exist. Overwrite?"});

    key(Qt::Key_Z, Qt::ShiftModifier);  // Shift+Z: the view as "0.bmp"
    QVERIFY(FileExists(folder + "/0.bmp"));
    QVERIFY(window->findChild<QLabel*>("thumbnail")->isVisible());
}

void GraphFileTest::textExportRemembersAndAsks()
{
    {
        TextExportDialog dialog(*wb, window->view(), *ui, *help, window);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Export data section into text file"));
        QCOMPARE(dialog.findChild<QLineEdit*>("edtFileName")->text(),
                 QString::fromStdString(dir->file("depth_Dve.xls")));
        // Help shows the dialog's own page.
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->text() == "Help")
                b->click();
        QCOMPARE(help->shown(), std::string("dlgExportText.rtf"));
        QVERIFY(help->isVisible());
        auto groups = dialog.findChildren<QButtonGroup*>();
        QCOMPARE(groups.size(), 2);
        groups[0]->button(1)->click();  // entire channel
        groups[1]->button(2)->click();  // separate files
        dialog.findChild<QLineEdit*>("edtFileName")->setText(QString::fromStdString(dir->file("out.txt")));
        dialog.accept();
    }
    QVERIFY(FileExists(dir->file("out.000")));
    QVERIFY(!FileExists(dir->file("out.001")));
    QVERIFY(FileExists(dir->file("out.002")));
    QVERIFY(ui->shown.empty());
    {
        TextExportDialog again(*wb, window->view(), *ui, *help, window);  // the choices of the first use
        auto groups = again.findChildren<QButtonGroup*>();
        QCOMPARE(groups[0]->checkedId(), 1);
        QCOMPARE(groups[1]->checkedId(), 2);
        // Existing files: each is asked for, and No keeps it.
        const std::string before = test::TempDir::read(dir->file("out.000"));
        dir->write("out.002", "my own data");
        again.findChild<QLineEdit*>("edtFileName")->setText(QString::fromStdString(dir->file("out.txt")));
        ui->answers = {Answer::Cancel, Answer::Ok};
        window->view().at.F1 = 5000;  // the entire channel does not care
        again.accept();
        QCOMPARE(ui->texts().size(), std::size_t{2});
        QCOMPARE(test::TempDir::read(dir->file("out.000")), before);
        QVERIFY(test::TempDir::read(dir->file("out.002")) != "my own data");
    }
    // The active channel into one existing file: No leaves the dialog open and the file alone.
    TextExportDialog one(*wb, window->view(), *ui, *help, window);
    one.show();  // showing fills in the dive result file; the user then types another name
    one.findChildren<QButtonGroup*>()[1]->button(0)->click();
    one.findChild<QLineEdit*>("edtFileName")->setText(QString::fromStdString(dir->write("keep.txt", "keep")));
    ui->answers = {Answer::Cancel};
    one.accept();
    QVERIFY(one.isVisible());
    QCOMPARE(test::TempDir::read(dir->file("keep.txt")), std::string("keep"));
}

void GraphFileTest::binaryExportOfTheEntireChannel()
{
    window->view().at.F1 = 100000;
    window->view().at.F2 = 200000;
    BinaryExportDialog dialog(*wb, window->view(), *ui, *help, window);
    QCOMPARE(dialog.windowTitle(), QString("Export to binary file "));
    auto groups = dialog.findChildren<QButtonGroup*>();
    groups[0]->button(1)->click();  // entire channel
    dialog.findChild<QLineEdit*>("edtComment1")->setText("tag 7");
    dialog.findChild<QLineEdit*>("edtFileName")->setText(QString::fromStdString(dir->file("depth.bin")));
    dialog.accept();
    const std::string bytes = test::TempDir::read(dir->file("depth.bin"));
    QCOMPARE(bytes.size(), std::size_t{720 + 2 * 12000});
    const auto header = ParseInfoHeader(bytes);
    QVERIFY(header);
    QCOMPARE(*header->startTime, wb->rec.time.GlobalStart);  // from 0, whatever the window shows
    QCOMPARE(header->comment1, std::string("tag 7"));
    QCOMPARE(wb->rec.at(0).HeadCmt1, std::string("tag 7"));

    BinaryExportDialog separate(*wb, window->view(), *ui, *help, window);
    separate.findChildren<QButtonGroup*>()[1]->button(1)->click();
    QVERIFY(!separate.findChild<QLineEdit*>("edtComment1")->isEnabled());
    separate.findChild<QLineEdit*>("edtFileName")->setText(QString::fromStdString(dir->file("all.bin")));
    separate.accept();
    QVERIFY(FileExists(dir->file("all.000")));
    QVERIFY(!FileExists(dir->file("all.001")));
    QVERIFY(FileExists(dir->file("all.002")));
}

void GraphFileTest::fileAndHelpMenus()
{
    GraphMenus& m = window->menus();
    QVERIFY(m.action("file.help")->isEnabled());
    QVERIFY(m.action("export.help")->isEnabled());
    QVERIFY(m.action("calc.help")->isEnabled());
    m.action("file.help")->trigger();
    QCOMPARE(help->shown(), std::string("mniFile.rtf"));
    QCOMPARE(help->windowTitle(), QString("File menu"));  // the page's heading

    ui->files = {dir->file("session.cfg")};
    m.action("file.save-settings")->trigger();
    QCOMPARE(ui->fileRequests.back().title, std::string("Save settings in: "));
    QVERIFY(FileExists(dir->file("session.cfg")));
    QCOMPARE(wb->setupFile, dir->file("session.cfg"));

    ui->files = {dir->file("results.xls")};
    m.action("file.result-file")->trigger();
    QCOMPARE(ui->fileRequests.back().title, std::string("Export results of analysis to: "));
    QCOMPARE(wb->settings.NameOutFile[0], dir->file("results.xls"));

    m.action("help.info")->trigger();
    QVERIFY(ui->texts().back().rfind("Varnik 0.1.0.0\r\n", 0) == 0);
    QVERIFY(ui->texts().back().find("depth.txt") != std::string::npos);

    m.action("help.manual")->trigger();  // the build tree has the manual beside the help
    QCOMPARE(ui->opened.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(ui->opened[0]).endsWith("manual/Manual-Kestrin.pdf"));

    m.action("help.map")->trigger();
    QCOMPARE(help->windowTitle(), QString("Vk_map.bmp"));
}

void GraphFileTest::closingWithAModifiedChannelOffersTheExport()
{
    wb->rec.at(2).ChannelModified = true;
    ui->answers = {Answer::Yes};
    bool offered = false;
    QTimer::singleShot(50, [&offered] {
        if (QWidget* d = QApplication::activeModalWidget()) {
            offered = d->windowTitle() == "Export to binary file ";
            static_cast<QDialog*>(d)->reject();
        }
    });
    window->close();
    QTRY_VERIFY(offered);
    QVERIFY(window->isVisible());
    QCOMPARE(window->activeChannel(), 2);

    // Saved whole, the channel is no longer modified and the window goes on
    // closing; a channel answered No before is not asked about again.
    wb->rec.at(0).ChannelModified = true;
    ui->shown.clear();
    ui->answers = {Answer::No, Answer::Yes};
    const std::string saved = dir->file("saved.bin");
    test::WhenDialogShows([saved](QWidget* d) {
        d->findChildren<QButtonGroup*>()[0]->button(1)->click();  // entire channel
        d->findChild<QLineEdit*>("edtFileName")->setText(QString::fromStdString(saved));
        static_cast<QDialog*>(d)->accept();
    });
    window->close();
    QTRY_VERIFY(!window || !window->isVisible());
    QVERIFY(FileExists(saved));
    QVERIFY(!wb->rec.at(2).ChannelModified);
    QCOMPARE(ui->texts().size(), std::size_t{2});  // slot 0 (No), slot 2 (Yes): each once
}

QTEST_MAIN(GraphFileTest)
#include "GraphFileTest.moc"
