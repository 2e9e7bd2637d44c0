// The main dialog driven as a user would: typing into fields and leaving them,
// the copy buttons, setup files and Start. Runs on the offscreen platform.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "ExampleArchive.h"
#include "core/example/ExampleRecording.h"
#include "core/files/ChannelExport.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/FileUtil.h"
#include "gui/app/ChannelTab.h"
#include "gui/app/MainDialog.h"
#include "gui/widgets/ConfirmationBox.h"
#include "gui/widgets/HelpViewer.h"
#include "gui/widgets/TypedTimeField.h"
#include "support/GuiFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

using namespace vk;

class MainDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void fieldsAreCheckedWhenLeft();
    void copyButtonsCopyFromTheFirstChannel();
    void setupFilesAreReadAndSaved();
    void startLoadsATextRecording();
    void startLoadsABinaryChannel();
    void failedStartsSaySo();
    void lastSettingsCarryOverToTheNextRun();
    void helpShowsTheMainDialogPage();
    void theExampleIsWrittenOnceAndRead();
    void fileViewerAndConfirmation();
    void readLayoutProposesAndFillsTheTabs();
    void anArchiveOffersItsSensors();

private:
    void openForm();
    ChannelTab* tab(int slot) const;
    template <typename T>
    T* field(int slot, const char* name) const
    {
        return tab(slot)->findChild<T*>(name);
    }
    template <typename T>
    T* widget(const char* name) const
    {
        return form->findChild<T*>(name);
    }
    void enter(QWidget* edit, const QString& text);
    void leave();
    void grab(const QString& name);

    std::unique_ptr<test::TempDir> dir;
    std::unique_ptr<Workbench> wb;
    std::unique_ptr<ScriptedDialogs> ui;
    std::unique_ptr<HelpViewer> help;
    std::unique_ptr<MainDialog> form;
    example::ExampleFiles example;
};

void MainDialogTest::init()
{
    dir = std::make_unique<test::TempDir>();
    example = example::WriteExample(dir->path(), 1);
    openForm();
}

void MainDialogTest::openForm()
{
    wb = std::make_unique<Workbench>();
    ui = std::make_unique<ScriptedDialogs>();
    help = std::make_unique<HelpViewer>(*ui, VARNIK_HELP_DIR "/");
    form = std::make_unique<MainDialog>(*wb, *ui, *help, dir->file("last.cfg"));
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void MainDialogTest::cleanup()
{
    form.reset();
    help.reset();
    dir.reset();
}

ChannelTab* MainDialogTest::tab(int slot) const
{
    for (ChannelTab* t : form->findChildren<ChannelTab*>())
        if (t->slot() == slot)
            return t;
    return nullptr;
}

// Types into a field the way a user does: focus, select all, type.
void MainDialogTest::enter(QWidget* edit, const QString& text)
{
    auto* tabs = form->findChild<QTabWidget*>();
    for (QWidget* w = edit; w; w = w->parentWidget())
        if (tabs->indexOf(w) >= 0)
            tabs->setCurrentWidget(w);
    edit->setFocus();
    if (qobject_cast<QLineEdit*>(edit)) {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    QTest::keyClicks(edit, text);
}

// Leaving a field: the focus moves on, and the field's exit check runs.
void MainDialogTest::leave()
{
    widget<QPushButton>("ButtonClose")->setFocus();
    QApplication::processEvents();
}

void MainDialogTest::grab(const QString& name)
{
    const QByteArray folder = qgetenv("VARNIK_GRAB_DIR");
    if (!folder.isEmpty())
        form->grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

void MainDialogTest::fieldsAreCheckedWhenLeft()
{
    QCOMPARE(form->windowTitle(), QString("Varnik Dive Analysis, Main Dialog 0.1.0.0"));
    QCOMPARE(field<QLineEdit>(0, "EditfName")->toolTip(), QString("To disable channel blank this field"));

    enter(field<QLineEdit>(0, "EditSI"), "12x");
    leave();
    QCOMPARE(ui->texts(), std::vector<std::string>{"Illegal value"});
    QCOMPARE(wb->rec.desc(0).SampRate, 8);
    QCOMPARE(field<QLineEdit>(0, "EditSI")->text(), QString("8"));
    enter(field<QLineEdit>(0, "EditSI"), "250");
    leave();
    QCOMPARE(wb->rec.desc(0).SampRate, 250);

    ui->shown.clear();
    enter(field<QLineEdit>(1, "EditColumn"), "c3");
    leave();
    enter(field<QLineEdit>(1, "EditHead"), "two");
    leave();
    QCOMPARE(ui->texts(),
             (std::vector<std::string>{"Invalid column nr", "Invalid column nr", "Invalid number of header lines"}));
    ui->shown.clear();
    enter(field<QLineEdit>(1, "EditColumn"), "4");
    leave();
    QCOMPARE(ui->texts(), std::vector<std::string>{"Invalid number of header lines"});
    QCOMPARE(wb->rec.desc(1).ColumnValue, 4);

    ui->shown.clear();
    enter(field<QLineEdit>(1, "EditHead"), "2");
    leave();
    auto* separator = field<QComboBox>(1, "cbxSeparator");
    enter(separator->lineEdit(), "space(s)");
    leave();
    QCOMPARE(wb->rec.desc(1).InDelimiter, ' ');
    QCOMPARE(separator->currentText(), QString("Space(s)"));
    enter(separator->lineEdit(), "tab");
    leave();
    QCOMPARE(wb->rec.desc(1).InDelimiter, '\t');
    enter(separator->lineEdit(), ";");
    leave();
    QCOMPARE(wb->rec.desc(1).InDelimiter, ';');
    enter(separator->lineEdit(), "");
    leave();
    QCOMPARE(ui->texts(), std::vector<std::string>{"Invalid separator"});
    QCOMPARE(wb->rec.desc(1).InDelimiter, ';');

    ui->shown.clear();
    field<QCheckBox>(1, "cbxAutoScaling")->click();
    QVERIFY(field<QLineEdit>(1, "EditMin")->isEnabled());
    enter(field<QLineEdit>(1, "EditMin"), "abc");
    leave();
    enter(field<QLineEdit>(1, "EditMax"), "12,5");
    leave();
    QCOMPARE(ui->texts(), std::vector<std::string>{"Illegal value"});
    QCOMPARE(wb->rec.desc(1).LowRng, 0.0);
    QCOMPARE(wb->rec.desc(1).HighRng, 12.5);
    QCOMPARE(wb->rec.desc(1).AutoScaling, false);

    // Lines that carry their times: the start and the interval come from the file.
    ui->shown.clear();
    enter(field<QLineEdit>(1, "timeColumn"), "2");
    leave();
    enter(field<QLineEdit>(1, "dateColumn"), "one");
    leave();
    QCOMPARE(ui->texts(), std::vector<std::string>{"Invalid column nr"});
    QCOMPARE(wb->rec.desc(1).TimeColumn, 2);
    QCOMPARE(wb->rec.desc(1).DateColumn, 0);
    QVERIFY(!field<QLineEdit>(1, "EditSI")->isEnabled());
    QVERIFY(!field<QWidget>(1, "DateStart")->isEnabled());
    enter(field<QLineEdit>(1, "timeColumn"), "0");
    leave();
    QVERIFY(field<QLineEdit>(1, "EditSI")->isEnabled());

    // A binary file: header fields off, the range only without "Read header".
    field<QRadioButton>(2, "rdbBinary")->click();
    QCOMPARE(wb->rec.desc(2).format, ChannelFormat::Binary);
    QVERIFY(!field<QLineEdit>(2, "EditColumn")->isEnabled());
    QVERIFY(!field<QLineEdit>(2, "EditMin")->isEnabled());
    field<QCheckBox>(2, "cbxReadHeader")->click();
    QVERIFY(field<QLineEdit>(2, "EditMin")->isEnabled());
    QCOMPARE(wb->rec.desc(2).UseFileInfo, false);

    // Start date and time take typed digits, with or without separators.
    auto* date = field<TypedTimeField>(0, "DateStart");
    auto* time = field<TypedTimeField>(0, "TimeStart");
    enter(date, "07012026");
    leave();
    enter(time, "063049");
    leave();
    QCOMPARE(date->text(), QString("07.01.2026"));
    QCOMPARE(time->text(), QString("06:30:49"));
    QCOMPARE(wb->rec.desc(0).StartTime, EncodeTime(2026, 1, 7, 6, 30, 49));
    enter(time, "7:5");
    leave();
    QCOMPARE(wb->rec.desc(0).StartTime, EncodeTime(2026, 1, 7, 7, 5, 0));
    // Text that is no date is refused and the field keeps its date.
    enter(date, "31.02.2026");
    leave();
    QCOMPARE(date->text(), QString("07.01.2026"));
    QCOMPARE(ui->shown.back().text,
             std::string("'31.02.2026' is not a date: type it as 07.01.2026, 7.1.26 or 07012026"));
    QCOMPARE(wb->rec.desc(0).StartTime, EncodeTime(2026, 1, 7, 7, 5, 0));
    // A start date before 1982 becomes 1982; 29 February of a leap year the last day of February.
    enter(date, "4.3.1975");
    leave();
    QCOMPARE(date->date(), QDate(1982, 3, 4));
    QCOMPARE(wb->rec.desc(0).StartTime, EncodeTime(1982, 3, 4, 7, 5, 0));
    enter(date, "1976-02-29");
    leave();
    QCOMPARE(date->date(), QDate(1982, 2, 28));

    // A range finer than the four decimals the fields show keeps its digits
    // when the dialog is filled again and collected at Start or Save.
    enter(field<QLineEdit>(1, "EditMin"), "0.00001");
    leave();
    enter(field<QLineEdit>(1, "EditMax"), "0.00004");
    leave();
    form->FillDialog();
    QCOMPARE(field<QLineEdit>(1, "EditMin")->text(), QString("0.0000"));
    form->CollectDialog();
    QCOMPARE(wb->rec.desc(1).LowRng, 0.00001);
    QCOMPARE(wb->rec.desc(1).HighRng, 0.00004);
    grab("main-channel");
}

void MainDialogTest::copyButtonsCopyFromTheFirstChannel()
{
    enter(field<QLineEdit>(0, "EditfName"), QString::fromStdString(example.data));
    QCOMPARE(wb->rec.desc(0).NameIn, example.data);
    QVERIFY(field<QLabel>(0, "lblPreview")->text().startsWith("Varnik example logger"));
    enter(field<QLineEdit>(0, "EditHead"), "2");
    leave();
    QVERIFY(field<QLabel>(0, "lblPreview")->text().startsWith(QString("07.01.2026 \u21E5 06:00:00")));
    enter(field<QLineEdit>(0, "EditColumn"), "3");
    leave();

    auto click = [&](int slot, CopyKind kind, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(tab(slot)->findChild<QPushButton*>(QString("btnCopy%1").arg(static_cast<int>(kind))), button);
    };
    click(0, CopyKind::FileNames);
    click(0, CopyKind::Format);
    click(0, CopyKind::CountColumns);
    for (int s : {1, 2}) {
        QCOMPARE(field<QLineEdit>(s, "EditfName")->text(), QString::fromStdString(example.data));
        QCOMPARE(wb->rec.desc(s).HeaderText, 2);
        QCOMPARE(field<QLineEdit>(s, "EditColumn")->text(), QString::number(3 + s));
    }
    enter(field<QLineEdit>(0, "EditMin"), "");  // auto scaling is on: the range fields are off
    QVERIFY(!field<QLineEdit>(0, "EditMin")->isEnabled());
    field<QCheckBox>(0, "cbxAutoScaling")->click();
    enter(field<QLineEdit>(0, "EditMin"), "-7");
    leave();
    click(1, CopyKind::AutoScaling, Qt::RightButton);  // right button: with Min and Max
    QCOMPARE(wb->rec.desc(2).AutoScaling, false);
    QCOMPARE(wb->rec.desc(2).LowRng, -7.0);
    click(2, CopyKind::CountExtensions);
    QCOMPARE(wb->rec.desc(1).NameIn, dir->path() + "/seal-example.001");
    QVERIFY(ui->shown.empty());
}

void MainDialogTest::setupFilesAreReadAndSaved()
{
    auto* name = widget<QLineEdit>("EditCfgfName");
    enter(name, QString::fromStdString(example.setup));
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(wb->rec.desc(0).NameIn, example.data);
    QCOMPARE(field<QLineEdit>(2, "EditColumn")->text(), QString("5"));
    QCOMPARE(widget<QLineEdit>("edtCmt1")->text().left(9), QString("Synthetic"));
    QVERIFY(ui->shown.empty());  // Enter read the file and did not press Start

    enter(widget<QLineEdit>("edtCmt2"), "my own note");
    enter(field<QLineEdit>(1, "EditSI"), "2000");
    leave();
    const std::string saved = dir->file("saved settings.cfg");
    ui->files = {saved};
    QTest::mouseClick(widget<QPushButton>("btnSaveConfig"), Qt::LeftButton);
    QCOMPARE(ui->fileRequests.back().title, std::string("Save settings in: "));
    Recording rec;
    Settings settings;
    QVERIFY(ReadSetup(saved, rec, settings));
    QCOMPARE(rec.desc(1).SampRate, 2000);
    QCOMPARE(settings.Cmt2, std::string("my own note"));
    QCOMPARE(name->text(), QString::fromStdString(saved));

    // Saving over a file of another kind leaves it alone and says so.
    const std::string other = dir->write("notes.txt", "my notes\n");
    ui->files = {other};
    QTest::mouseClick(widget<QPushButton>("btnSaveConfig"), Qt::LeftButton);
    QCOMPARE(test::TempDir::read(other), std::string("my notes\n"));
    QCOMPARE(ui->texts().back(), std::string(" notes.txt is not a Varnik setup file; it was left as it is."));

    // A line whose value cannot be read is named; the others are read.
    const std::string odd = dir->write("odd.cfg", test::TempDir::read(saved) + "Dive Threshold\tdeep\r\n");
    enter(name, QString::fromStdString(odd));
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(wb->rec.desc(1).SampRate, 2000);
    QVERIFY2(ui->texts().back().find("odd.cfg: these lines cannot be read") != std::string::npos &&
                 ui->texts().back().find("\"Dive Threshold deep\"") != std::string::npos,
             ui->texts().back().c_str());

    // A channel to create: its tab is marked and shows no format.
    {
        Recording r;
        Settings st;
        QVERIFY(ReadSetup(saved, r, st));
        r.desc(2).NameIn = dir->file("speed.002");
        r.desc(2).format = ChannelFormat::Created;
        QCOMPARE(WriteSetup(dir->file("create.cfg"), r, st), SetupWriteResult::Written);
    }
    enter(name, QString::fromStdString(dir->file("create.cfg")));
    QTest::keyClick(name, Qt::Key_Return);
    auto* tabs = form->findChild<QTabWidget*>();
    QCOMPARE(tabs->tabToolTip(3), QString("File to create"));
    QCOMPARE(tabs->tabToolTip(2), QString());
    QVERIFY(field<QRadioButton>(2, "rdbText")->isChecked());
    QVERIFY(!field<QCheckBox>(2, "cbxAutoScaling")->isChecked());
    QVERIFY(!field<QCheckBox>(2, "cbxAutoScaling")->isEnabled());
    QVERIFY(field<QRadioButton>(2, "rdbText")->isHidden() || !field<QRadioButton>(2, "rdbText")->isVisible());

    // "Read config. file" with its file dialog.
    ui->files = {saved};
    QTest::mouseClick(widget<QPushButton>("btnCfgFile"), Qt::LeftButton);
    QCOMPARE(wb->rec.desc(1).SampRate, 2000);
    QCOMPARE(widget<QLineEdit>("edtCmt2")->text(), QString("my own note"));
}

void MainDialogTest::startLoadsATextRecording()
{
    auto* name = widget<QLineEdit>("EditCfgfName");
    enter(name, QString::fromStdString(example.setup));
    QTest::keyClick(name, Qt::Key_Return);
    grab("main-general");
    QTest::mouseClick(widget<QPushButton>("ButtonStart"), Qt::LeftButton);
    QVERIFY(ui->texts().empty());
    QVERIFY(form->graphWindow() && form->graphWindow()->isVisible());
    QCOMPARE(form->findChild<QTabWidget*>()->currentIndex(), 3);  // the last channel loaded is in front
    for (int s = 0; s < 3; ++s) {
        QVERIFY(wb->rec.at(s).ChannelUsed);
        QCOMPARE(wb->rec.desc(s).DataCnt, 86399);
        QCOMPARE(wb->rec.desc(s).CorrSmpDelay, 0);
    }
    QCOMPARE(wb->rec.time.GlobalStart, EncodeTime(2026, 1, 7, 6, 0, 0));
    QCOMPARE(wb->settings.NameOutFile[0], dir->path() + "/seal-example_Dve.xls");
    QCOMPARE(wb->results.bouts, dir->path() + "/seal-example_Dve_Bout.xls");
    QVERIFY(ui->busyDepth == 0);
    QCOMPARE(form->statusLabel()->text(), QString());
    grab("main-after-start");

    // A second Start waits until the graph window is closed.
    QTest::mouseClick(widget<QPushButton>("ButtonStart"), Qt::LeftButton);
    QCOMPARE(ui->texts(), std::vector<std::string>{"Close Vk graph-window before loading next channels"});
    form->graphWindow()->close();
    QTRY_VERIFY(!form->graphWindow());
    ui->shown.clear();
    QTest::mouseClick(widget<QPushButton>("ButtonStart"), Qt::LeftButton);
    QVERIFY(ui->texts().empty());
    QVERIFY(form->graphWindow());

    // Closing the dialog closes the graph window first, which asks about modified channels.
    wb->rec.at(0).ChannelModified = true;
    ui->answers = {Answer::Cancel};
    QTest::mouseClick(widget<QPushButton>("ButtonClose"), Qt::LeftButton);
    QVERIFY(form->isVisible());
    QVERIFY(form->graphWindow());
    ui->answers = {Answer::No};
    QTest::mouseClick(widget<QPushButton>("ButtonClose"), Qt::LeftButton);
    QVERIFY(!form->isVisible());
}

void MainDialogTest::startLoadsABinaryChannel()
{
    // A binary depth file, written by the export from a loaded text recording.
    Workbench source;
    test::AllocateAll(source.rec);
    QVERIFY(ReadSetup(example.setup, source.rec, source.settings));
    QCOMPARE(StartRecording(source, *ui), StartResult::Loaded);
    ui->shown.clear();
    const std::string bin = dir->file("depth.000");
    QVERIFY(ExportBinary(source.rec, bin, 0, 600000.0, 1200000.0));

    enter(field<QLineEdit>(0, "EditfName"), QString::fromStdString(bin));
    field<QRadioButton>(0, "rdbBinary")->click();
    QVERIFY(field<QCheckBox>(0, "cbxReadHeader")->isChecked());
    for (int s : {1, 2})
        enter(field<QLineEdit>(s, "EditfName"), "");
    QTest::mouseClick(widget<QPushButton>("ButtonStart"), Qt::LeftButton);
    QVERIFY(ui->texts().empty());
    QVERIFY(!wb->rec.at(1).ChannelUsed);
    QCOMPARE(wb->rec.desc(0).DataCnt, 600);
    QCOMPARE(wb->rec.time.GlobalStart, EncodeTime(2026, 1, 7, 6, 10, 0));
    QCOMPARE(form->findChild<QTabWidget*>()->tabText(1), QString("Depth [m]"));  // from the header
    for (int32_t i = 0; i <= 600; ++i)
        QCOMPARE(ReadRaw(wb->rec, i, 0), ReadRaw(source.rec, 600 + i, 0));
}

void MainDialogTest::failedStartsSaySo()
{
    for (int s = 0; s < 3; ++s)
        enter(field<QLineEdit>(s, "EditfName"), "");
    QTest::mouseClick(widget<QPushButton>("ButtonStart"), Qt::LeftButton);
    QCOMPARE(ui->texts(), std::vector<std::string>{" Invalid filename(s)"});

    ui->shown.clear();
    const QPoint before = form->pos();
    enter(field<QLineEdit>(1, "EditfName"), QString::fromStdString(dir->write("short.txt", "1\n2\n")));
    enter(field<QLineEdit>(1, "EditHead"), "5");
    leave();
    QTest::mouseClick(widget<QPushButton>("ButtonStart"), Qt::LeftButton);
    QCOMPARE(ui->texts(),
             (std::vector<std::string>{"Header too large or UNIX formatted file", " Error. Missing data files."}));
    QCOMPARE(form->pos(), before);  // shaken, and back in its place
}

void MainDialogTest::lastSettingsCarryOverToTheNextRun()
{
    auto* name = widget<QLineEdit>("EditCfgfName");
    enter(name, QString::fromStdString(example.setup));
    QTest::keyClick(name, Qt::Key_Return);
    enter(widget<QLineEdit>("edtCmt1"), "kept for next time");
    QTest::mouseClick(widget<QPushButton>("ButtonClose"), Qt::LeftButton);
    QVERIFY(!form->isVisible());
    QVERIFY(FileExists(dir->file("last.cfg")));

    form.reset();
    help.reset();
    openForm();
    QCOMPARE(widget<QLineEdit>("edtCmt1")->text(), QString("kept for next time"));
    QCOMPARE(field<QLineEdit>(0, "EditfName")->text(), QString::fromStdString(example.data));
    QCOMPARE(wb->rec.store.tableCount(), SampleStore::TableEntries);
}

void MainDialogTest::helpShowsTheMainDialogPage()
{
    QTest::mouseClick(widget<QPushButton>("ButtonHelp"), Qt::LeftButton);
    QVERIFY(help->isVisible());
    QCOMPARE(help->windowTitle(), QString("Main dialog"));  // the page's heading
    QCOMPARE(help->shown(), std::string("mainDial.rtf"));
    // A long page gets a tall window, a short one a short window.
    const int tall = help->height();
    help->showPage("AlertRunMean.rtf");
    QVERIFY(help->height() < tall);
    QCOMPARE(help->windowTitle(), QString("Running mean cut to 200 points"));
    help->showPage("mainDial.rtf");
    QVERIFY(help->plainText().contains("Skip void data"));
    QVERIFY(ui->shown.empty());
    const QByteArray folder = qgetenv("VARNIK_GRAB_DIR");
    if (!folder.isEmpty())
        help->grab().save(QString::fromUtf8(folder) + "/help.png");
    QTest::keyClick(help.get(), Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    QVERIFY(help->plainText().isEmpty());

    help->showPage("noSuchPage.rtf");
    QCOMPARE(ui->texts().size(), std::size_t{1});
    QVERIFY(ui->texts()[0].find("noSuchPage.rtf") != std::string::npos);
}

// "Example recording" writes the example into the user's documents the first
// time and reads what is there afterwards; a folder that cannot be made is said.
void MainDialogTest::theExampleIsWrittenOnceAndRead()
{
    const QByteArray home = qgetenv("HOME");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {  // also when a check fails
        qputenv("HOME", home);
        if (!configHome.isNull())
            qputenv("XDG_CONFIG_HOME", configHome);
    });
    const std::string userHome = dir->file("home");
    qputenv("HOME", QByteArray::fromStdString(userHome));
    qunsetenv("XDG_CONFIG_HOME");
    const std::string folder = userHome + "/Documents/Varnik example";

    QTest::mouseClick(widget<QPushButton>("btnExample"), Qt::LeftButton);
    QCOMPARE(wb->rec.desc(0).NameIn, folder + "/seal-example.txt");
    QCOMPARE(widget<QLineEdit>("EditCfgfName")->text(), QString::fromStdString(folder + "/seal-example.cfg"));
    QCOMPARE(ui->texts(), std::vector<std::string>{" The example recording of a fur seal is in " + folder +
                                                   ".\r\nStart loads it; the results are written beside it."});
    QCOMPARE(ui->busyDepth, 0);
    QCOMPARE(form->statusLabel()->text(), QString());

    // The user's own settings in it are read again, not written over.
    {
        Recording rec;
        Settings settings;
        QVERIFY(ReadSetup(folder + "/seal-example.cfg", rec, settings));
        settings.Cmt2 = "my own note";
        QCOMPARE(WriteSetup(folder + "/seal-example.cfg", rec, settings), SetupWriteResult::Written);
    }
    QTest::mouseClick(widget<QPushButton>("btnExample"), Qt::LeftButton);
    QCOMPARE(widget<QLineEdit>("edtCmt2")->text(), QString("my own note"));
    QTest::mouseClick(widget<QPushButton>("ButtonStart"), Qt::LeftButton);
    QVERIFY(form->graphWindow());
    QCOMPARE(wb->rec.desc(0).DataCnt, 2 * 86400 - 1);
    form->graphWindow()->close();
    QTRY_VERIFY(!form->graphWindow());

    // No documents folder can be made where a file stands.
    const std::string blocked = dir->file("blocked");
    std::filesystem::create_directory(blocked);
    dir->write("blocked/Documents", "a file\n");
    qputenv("HOME", QByteArray::fromStdString(blocked));
    ui->shown.clear();
    QTest::mouseClick(widget<QPushButton>("btnExample"), Qt::LeftButton);
    QCOMPARE(ui->texts().size(), std::size_t{1});
    QVERIFY2(ui->texts()[0].rfind(" The example recording could not be written: ", 0) == 0, ui->texts()[0].c_str());
    QCOMPARE(wb->rec.desc(0).NameIn, folder + "/seal-example.txt");
    QCOMPARE(ui->busyDepth, 0);
}

void MainDialogTest::fileViewerAndConfirmation()
{
    QTest::mouseClick(widget<QPushButton>("btnFileViewer"), Qt::LeftButton);
    QCOMPARE(ui->texts(), std::vector<std::string>{" No data file to show."});
    enter(field<QLineEdit>(1, "EditfName"), QString::fromStdString(example.data));
    QTest::mouseClick(widget<QPushButton>("btnFileViewer"), Qt::LeftButton);
    QCOMPARE(ui->opened, std::vector<std::string>{example.data});

    // The bitmap view is as wide as the picture (and its scroll bar).
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const std::string map = dir->file("Vk_map.bmp");
    QVERIFY(picture.save(QString::fromStdString(map)));
    help->showBitmap(map);
    QCOMPARE(help->windowTitle(), QString("Vk_map.bmp"));
    QVERIFY(help->width() >= 300 && help->width() < 340);

    ConfirmationBox confirm(form.get());
    confirm.setText("Result file exists.");
    confirm.setCaptions("Append", "Cancel", "Overwrite");
    confirm.showAux(true);
    auto press = [&](const char* caption) {
        QTimer::singleShot(0, [&confirm, caption] {
            for (QPushButton* b : confirm.findChildren<QPushButton*>())
                if (b->text() == caption)
                    b->click();
        });
        return confirm.ask();
    };
    QCOMPARE(press("Append"), 1);
    QCOMPARE(press("Overwrite"), 7);
    QCOMPARE(press("Cancel"), 2);
    QTimer::singleShot(0, [&confirm] { QTest::keyClick(&confirm, Qt::Key_Escape); });
    QCOMPARE(confirm.ask(), 2);
    QCOMPARE(confirm.windowTitle(), QString("Confirmation"));
}

// A CSV export of another logger: ISO times, pressure and temperature by
// their headers, a comment line above. "Read layout" proposes it all, shows
// the lines with the columns marked; Cancel changes nothing, OK fills the tabs.
void MainDialogTest::readLayoutProposesAndFillsTheTabs()
{
    std::string text = "# exported by a tag program\r\nTime,Pressure [dbar],Temp [C],Light\r\n";
    for (int k = 0; k < 600; ++k)
        text += "2025-11-03T22:" + std::string(k / 30 < 10 ? "0" : "") + std::to_string(k / 30) + ":" +
                (k % 30 * 2 < 10 ? "0" : "") + std::to_string(k % 30 * 2) + ".000Z," + std::to_string(k % 50) +
                ".5,12." + std::to_string(k % 10) + "," + std::to_string(100 + k) + "\r\n";
    const std::string csv = dir->write("tag export.csv", text);
    for (int s = 0; s < SlotCount; ++s)
        wb->rec.desc(s).NameIn.clear();
    form->FillDialog();
    enter(field<QLineEdit>(1, "EditfName"), QString::fromStdString(csv));
    QVERIFY(field<QPushButton>(1, "readLayout")->isEnabled());
    tab(1)->collect();
    const ChannelDescriptor before = wb->rec.desc(1);

    QString summary, pressureHeader, firstPressure;
    int columns = 0, marked = 0;
    test::WhenDialogShows("readLayoutDialog", [&](QWidget* dialog) {
        summary = dialog->findChild<QLabel*>("layoutSummary")->text();
        auto* table = dialog->findChild<QTableWidget*>("layoutTable");
        columns = table->columnCount();
        pressureHeader = table->horizontalHeaderItem(1)->text();
        firstPressure = table->item(2, 1)->text();
        for (int r = 0; r < table->rowCount(); ++r)
            marked += table->item(r, 2)->background() != table->item(r, 3)->background();
        if (!qEnvironmentVariableIsEmpty("VARNIK_GRAB_DIR"))
            dialog->grab().save(qEnvironmentVariable("VARNIK_GRAB_DIR") + "/read-layout.png");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    field<QPushButton>(1, "readLayout")->click();
    QVERIFY(summary.contains("Separator: ,    Header lines: 2    Columns: 4"));
    QVERIFY(summary.contains("This channel: column 3 \"Temp [C]\""));
    QVERIFY(summary.contains("Times: times in column 1 \"Time\""));
    QVERIFY(summary.contains("Start: 03.11.2025 22:00:00    Interval: 2000 ms"));
    QCOMPARE(columns, 4);
    QCOMPARE(pressureHeader, QString("2: Pressure [dbar]"));
    QCOMPARE(firstPressure, QString("0.5"));
    QCOMPARE(marked, 30);                // every line shown
    QVERIFY(wb->rec.desc(1) == before);  // Cancel

    bool othersOffered = false;
    test::WhenDialogShows("readLayoutDialog", [&](QWidget* dialog) {
        othersOffered = dialog->findChild<QCheckBox*>("fillOtherTabs")->isChecked();
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == "OK")
                b->click();
    });
    field<QPushButton>(1, "readLayout")->click();
    QVERIFY(othersOffered);
    const ChannelDescriptor& depth = wb->rec.desc(0);
    QCOMPARE(depth.ColumnValue, 2);
    QCOMPARE(depth.InDelimiter, ',');
    QCOMPARE(depth.HeaderText, 2);
    QCOMPARE(depth.TimeColumn, 1);
    QCOMPARE(depth.Caption, std::string("Pressure [dbar]"));
    QCOMPARE(depth.StartTime, EncodeTime(2025, 11, 3, 22, 0, 0));
    QCOMPARE(depth.SampRate, 2000);
    QCOMPARE(wb->rec.desc(1).ColumnValue, 3);
    QCOMPARE(wb->rec.desc(2).ColumnValue, 4);
    QCOMPARE(wb->rec.desc(1).Caption, std::string("Temp [C]"));
    // The tabs show it: fields, their enabling, the tab's caption.
    QCOMPARE(field<QLineEdit>(0, "EditColumn")->text(), QString("2"));
    QCOMPARE(field<QLineEdit>(0, "timeColumn")->text(), QString("1"));
    QVERIFY(!field<QLineEdit>(0, "EditSI")->isEnabled());
    QCOMPARE(field<QLineEdit>(0, "EditfName")->text(), QString::fromStdString(csv));
    QCOMPARE(form->findChild<QTabWidget*>()->tabText(1), QString("Pressure [dbar]"));
    QVERIFY(ui->shown.empty());
}

// A tag archive named on a tab: the tab turns to the archive, lists its
// sensors and shows the chosen one's start and interval.
void MainDialogTest::anArchiveOffersItsSensors()
{
    const auto archive = example::WriteExampleArchive(dir->path(), 4.0);
    enter(field<QLineEdit>(2, "EditfName"), QString::fromStdString(archive.data));
    QVERIFY(field<QRadioButton>(2, "rdbArchive")->isChecked());
    QCOMPARE(wb->rec.desc(2).format, ChannelFormat::Archive);
    auto* sensors = field<QComboBox>(2, "archiveSensor");
    QVERIFY(sensors->isVisible());
    QCOMPARE(sensors->count(), 5);
    QVERIFY(!field<QLineEdit>(2, "EditColumn")->isEnabled());
    QVERIFY(!field<QPushButton>(2, "readLayout")->isEnabled());
    sensors->setCurrentIndex(3);
    Q_EMIT sensors->activated(3);
    QCOMPARE(wb->rec.desc(2).archiveVariable, std::string("A"));
    QCOMPARE(wb->rec.desc(2).ColumnValue, 2);
    QCOMPARE(field<QLineEdit>(2, "EditSI")->text(), QString("250"));
    QCOMPARE(wb->rec.desc(2).StartTime, EncodeTime(2026, 1, 7, 6, 0, 0));
    grab("archive-tab");
    // Back to a text file: the text fields again.
    enter(field<QLineEdit>(2, "EditfName"), QString::fromStdString(example.data));
    QVERIFY(field<QRadioButton>(2, "rdbText")->isChecked());
    QVERIFY(!sensors->isVisible());
    QVERIFY(field<QLineEdit>(2, "EditColumn")->isEnabled());
}

QTEST_MAIN(MainDialogTest)
#include "MainDialogTest.moc"
