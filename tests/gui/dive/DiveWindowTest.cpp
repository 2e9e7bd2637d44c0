// The dive analysis in the graph window, offscreen, on a day of the example
// recording: Search next, Analyse, undo, the shape buttons, dive stops by
// dialog and mouse, the parameter dialogs.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <memory>

#include "core/example/ExampleRecording.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/VkDialogs.h"
#include "core/view/PixelMap.h"
#include "gui/dive/DiveParamsDialog.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/StripImage.h"
#include "gui/widgets/HelpViewer.h"
#include "support/DiveFixture.h"
#include "support/ExampleWindowTest.h"
#include "support/GuiFixture.h"
#include "support/TempDir.h"

using namespace vk;

class DiveWindowTest : public test::ExampleWindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void searchNextFramesSuccessiveDives();
    void analyseAfterMovingTheBottomCursor();
    void undoTakesBackTheSearchAndItsBaseline();
    void onlyTheAnalysisChannel();
    void shapeButtonsReclassify();
    void diveStopsByDialogAndMouse();
    void parametersTypedAreUsedAndStored();
    void helpPagesShowTheirFigures();

private:
    QToolButton* shapeButton(int code) const;
    // Searches until a dive with a descent stop is framed.
    bool searchDiveWithStop();
    void grab(QWidget* w, const char* name);
};

void DiveWindowTest::init()
{
    openExample();
}

void DiveWindowTest::cleanup()
{
    closeExample();
}

QToolButton* DiveWindowTest::shapeButton(int code) const
{
    static const char* const names[] = {"shape.v",        "shape.u", "shape.y",   "shape.w",
                                        "shape.parabola", "shape.l", "shape.none"};
    return window->findChild<QToolButton*>(names[code]);
}

bool DiveWindowTest::searchDiveWithStop()
{
    for (int k = 0; k < 100; ++k) {
        key(Qt::Key_Q);
        if (wb->dive.stops.count[PhaseDescent] > 0)
            return true;
    }
    return false;
}

void DiveWindowTest::grab(QWidget* w, const char* name)
{
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        w->grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

void DiveWindowTest::searchNextFramesSuccessiveDives()
{
    const LinePositions& at = window->view().at;
    const auto* maxDepth = window->findChild<QLineEdit*>("maxDepth");
    std::size_t next = 0;
    for (int k = 0; k < 20; ++k) {
        key(Qt::Key_Q);
        const double f4 = at.F4 / 1000, f5 = at.F5 / 1000;
        // The generated dive it frames, and the ones passed over before it (none).
        while (next < truth.size() && truth[next].end < f4)
            ++next;
        QVERIFY(next < truth.size());
        const example::DiveTruth& d = truth[next++];
        QVERIFY2(f4 >= d.start - 4 && f4 < d.start, qPrintable(QString("dive %1 onset %2").arg(k).arg(f4)));
        QVERIFY2(f5 >= d.end && f5 <= d.end + 4,
                 qPrintable(QString("dive %1 end %2 truth %3..%4").arg(k).arg(f5).arg(d.start).arg(d.end)));
        QVERIFY(at.F4 < at.B1 && at.B1 <= at.B2 && at.B2 < at.F5);
        QVERIFY(at.F1 <= at.F4 && at.F5 <= at.F2);  // the window around the dive
        const DiveRecord& r = wb->dive.record;
        QVERIFY(shapeButton(r.shape)->isChecked());
        QCOMPARE(maxDepth->text(), QString::number(r.maxDepth, 'f', 2));
        QVERIFY(std::abs(r.maxDepth - d.maxDepth) < 0.5);
    }
    QVERIFY(ui->shown.empty());
    grab(window, "search-next");
}

void DiveWindowTest::analyseAfterMovingTheBottomCursor()
{
    key(Qt::Key_Q);
    key(Qt::Key_A);
    const double bottom = wb->dive.record.bottomDuration;
    QCOMPARE(bottom, window->view().at.B2 - window->view().at.B1);
    key(Qt::Key_F8);  // the left B-cursor, moved by hand
    key(Qt::Key_Right);
    const LinePositions& at = window->view().at;
    QVERIFY(at.B2 - at.B1 < bottom);
    key(Qt::Key_A);
    QCOMPARE(wb->dive.record.bottomDuration, at.B2 - at.B1);
    QVERIFY(ui->shown.empty());

    // A bottom cursor outside the dive: a warning, and the analysis goes on.
    window->view().at.B1 = at.F4 - 5000;
    key(Qt::Key_A);
    QCOMPARE(ui->texts(), std::vector<std::string>{"Bottom Cursor F8 F9 outside dive!"});
    QCOMPARE(wb->dive.record.bottomDuration, at.B2 - at.B1);
}

void DiveWindowTest::undoTakesBackTheSearchAndItsBaseline()
{
    const LinePositions start = window->view().at;
    QCOMPARE(wb->rec.desc(0).yOffset, 0.0);
    key(Qt::Key_Q);
    QVERIFY(std::abs(wb->rec.desc(0).yOffset - example::Simulator::SurfaceOffset) < 0.2);  // the surface baseline
    QVERIFY(window->view().at.F4 != start.F4);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window->view().at.F4, start.F4);
    QCOMPARE(window->view().at.F5, start.F5);
    QCOMPARE(window->view().at.F1, start.F1);
    QCOMPARE(wb->rec.desc(0).yOffset, 0.0);
    QCOMPARE(window->menus().action("process.undo")->text(), QString("Undo nothing\tCtrl+Z"));
}

void DiveWindowTest::onlyTheAnalysisChannel()
{
    key(Qt::Key_Tab);
    QCOMPARE(window->activeChannel(), 1);
    const LinePositions start = window->view().at;
    key(Qt::Key_Q);
    key(Qt::Key_A);
    QCOMPARE(ui->texts(), (std::vector<std::string>{"No analysis available for this channel.",
                                                    "No analysis available for this channel."}));
    QCOMPARE(window->view().at, start);
}

void DiveWindowTest::shapeButtonsReclassify()
{
    key(Qt::Key_Q);
    const int found = wb->dive.record.shape;
    const int other = found == ShapeNone ? ShapeV : ShapeNone;
    QTest::mouseClick(shapeButton(other), Qt::LeftButton);
    QCOMPARE(wb->dive.record.shape, other);
    QVERIFY(shapeButton(other)->isChecked());
    QVERIFY(!shapeButton(found)->isChecked());  // one down at a time
}

void DiveWindowTest::diveStopsByDialogAndMouse()
{
    QVERIFY(searchDiveWithStop());
    StopTable& stops = wb->dive.stops;
    const DiveStop first = stops.stop[0][0];

    // The mouse: the stop's end dragged 10 pixels to the right.
    StripImage* strip = window->strip(0);
    const LinePositions& at = window->view().at;
    const int x = LineColumn(first.end, at.F1, at.F2, strip->width());
    const int y = strip->height() / 4;
    QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(x, y));
    QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(x + 10, y));
    QCOMPARE(stops.stop[0][0].onset, first.onset);
    QVERIFY(stops.stop[0][0].end > first.end);

    // The dialog: the first row unchecked removes the stop.
    const int before = stops.total();
    test::WhenDialogShows([this](QWidget* d) {
        QCOMPARE(d->windowTitle(), QString("Change Dive stops"));
        QCOMPARE(test::FieldsWithoutTips(*d), QStringList{});
        grab(d, "dive-stops");
        d->findChild<QCheckBox*>("cbxStop01")->setChecked(false);
        static_cast<QDialog*>(d)->accept();
    });
    window->menus().action("analysis.dive-stops")->trigger();
    QCOMPARE(stops.total(), before - 1);
}

void DiveWindowTest::parametersTypedAreUsedAndStored()
{
    // Nr bins 31: the dialog says so and stays open with 30.
    test::WhenDialogShows([this](QWidget* d) {
        QCOMPARE(d->windowTitle(), QString("Dive Parameters"));
        grab(d, "dive-parameters");
        d->findChild<QLineEdit*>("edtNrBins")->setText("31");
        d->findChild<QLineEdit*>("edtThreshold")->setText("60");
        d->findChild<QPushButton*>("btnOK")->click();
        QVERIFY(d->isVisible());
        QCOMPARE(d->findChild<QLineEdit*>("edtNrBins")->text(), QString("30"));
        // Return in a field accepts, as OK does; it must not toggle the wiggle method.
        const QString method = d->findChild<QPushButton*>("btnWiggMethod")->text();
        auto* threshold = d->findChild<QLineEdit*>("edtThreshold");
        threshold->setFocus();
        QTest::keyClick(threshold, Qt::Key_Return);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->findChild<QPushButton*>("btnWiggMethod")->text(), method);
    });
    window->menus().action("analysis.parameters")->trigger();
    QCOMPARE(ui->texts(), std::vector<std::string>{"Nr bins max 30"});
    QCOMPARE(wb->settings.dive.Threshold, 60.0);
    QCOMPARE(wb->settings.dive.NrBins, 30);

    // The next search goes by it: only dives deeper than 60 m.
    for (int k = 0; k < 5; ++k) {
        key(Qt::Key_Q);
        QVERIFY(wb->dive.record.maxDepth > 60);
    }
    // And the setup file keeps it.
    const std::string setup = dir->file("saved.cfg");
    QCOMPARE(WriteSetup(setup, wb->rec, wb->settings), SetupWriteResult::Written);
    Recording rec;
    Settings settings;
    QVERIFY(ReadSetup(setup, rec, settings));
    QCOMPARE(settings.dive.Threshold, 60.0);
    QCOMPARE(settings.dive.NrBins, 30);

    // A result file that exists already: its caption says so, in red. A thumbnail
    // too narrow for its stamp is reported.
    wb->settings.NameOutFile[0] = dir->write("seal_Dve.xls", "earlier results\n");
    DiveParamsDialog dialog(*wb, 0, true, *ui, *help, window);
    auto* diveFile = dialog.findChild<QLineEdit*>("edtDiveFile")->parentWidget();
    QCOMPARE(static_cast<QGroupBox*>(diveFile)->title(), QString("Result File Dive. Already exist. Append results."));
    QVERIFY(diveFile->styleSheet().contains("red"));
    ui->shown.clear();
    auto* width = dialog.findChild<QLineEdit*>("edtTNWidth");
    width->setText("10");
    Q_EMIT width->editingFinished();
    QCOMPARE(ui->texts(), std::vector<std::string>{"Too much text for thumbnail\r\nIncrease width"});

    // Every field says in words what it does; those with a unit name it.
    QCOMPARE(test::FieldsWithoutTips(dialog), QStringList{});
    QVERIFY(dialog.findChild<QLineEdit*>("edtThreshold")->toolTip().contains("(m)"));
    QVERIFY(dialog.findChild<QLineEdit*>("edtSlopEoD")->toolTip().contains("(m/s)"));

    // The extended and shape dialogs open from it and write straight into the set.
    QCOMPARE(dialog.findChild<QPushButton*>("btnOK")->text(), QString("Start"));
    QVERIFY(!dialog.findChild<QCheckBox*>("cbxSearchNext")->isEnabled());
    test::WhenDialogShows([this](QWidget* d) {
        QCOMPARE(d->windowTitle(), QString("Dive shapes"));
        QCOMPARE(test::FieldsWithoutTips(*d), QStringList{});
        grab(d, "dive-shapes");
        d->findChild<QLineEdit*>("edtLShapeParm")->setText("0.5");
        static_cast<QDialog*>(d)->accept();
    });
    dialog.findChild<QPushButton*>("btnShapes")->click();
    QCOMPARE(wb->settings.dive.LShapeParm, 0.2);
    test::WhenDialogShows([this](QWidget* d) {
        QCOMPARE(d->windowTitle(), QString("Extended dive characteristics"));
        QCOMPARE(test::FieldsWithoutTips(*d), QStringList{});
        grab(d, "extended");
        static_cast<QDialog*>(d)->accept();
    });
    dialog.findChild<QPushButton*>("btnExtended")->click();
}

void DiveWindowTest::helpPagesShowTheirFigures()
{
    const std::pair<const char*, const char*> pages[] = {{"mniAnalysis.rtf", "DiveFrame.png"},
                                                         {"DivPar.rtf", "DiveFrame.png"},
                                                         {"dlgDiveShapes.rtf", "DiveShapes.png"},
                                                         {"dlgExtDivParms.rtf", "DiveSections.png"},
                                                         {"dlgDiveStops.rtf", "DiveFrame.png"}};
    for (const auto& [page, figure] : pages) {
        help->showPage(page);
        auto* browser = help->findChild<QTextBrowser*>();
        QVERIFY(browser->toHtml().contains(QString("<img src=\"%1\"").arg(figure)));
        QVERIFY(!browser->loadResource(QTextDocument::ImageResource, QUrl(figure)).toByteArray().isEmpty());
    }
    QVERIFY(ui->shown.empty());
    QVERIFY(window->menus().action("analysis.help")->isEnabled());
    // The pages the parameter dialog's labels open, with their pictures.
    for (const char* html : {"Dive/DiveStops.htm", "ThrBottAndRelBottSrf.htm"})
        QVERIFY(QFileInfo::exists(QString::fromStdString(help->helpFolder()) + html));
    DiveParamsDialog dialog(*wb, 0, false, *ui, *help, window);
    QTest::mouseClick(dialog.findChild<QLabel*>("lblSlimness"), Qt::LeftButton);
    QCOMPARE(ui->opened, std::vector<std::string>{help->helpFolder() + "ThrBottAndRelBottSrf.htm"});
}

QTEST_MAIN(DiveWindowTest)
#include "DiveWindowTest.moc"
