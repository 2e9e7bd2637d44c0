// A researcher's first hour with a record of their own: the fur-seal record
// loaded as a new user sets it up (column 3, ';', one header line, 5 s,
// everything else as it comes).

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>

#include "core/dive/SurfaceCheck.h"
#include "core/setup/Start.h"
#include "core/view/PixelMap.h"
#include "core/view/RedrawRequest.h"
#include "gui/dive/DiveParamsDialog.h"
#include "gui/graph/GraphMenus.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/StripImage.h"
#include "gui/widgets/HelpViewer.h"
#include "support/GuiFixture.h"
#include "support/ScriptedDialogs.h"

namespace vk {

class FirstHourTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void surfaceNoteAfterStart();
    void aWarningOnceThenInTheStatusLine();
    void wheelZoomsAroundTheMouse();
    void suggestionMarkedKeptOrDropped();

private:
    std::unique_ptr<Workbench> wb;
    std::unique_ptr<ScriptedDialogs> ui;
    std::unique_ptr<HelpViewer> help;
    QPointer<TForm3> window;
};

void FirstHourTest::init()
{
    wb = std::make_unique<Workbench>();
    ui = std::make_unique<ScriptedDialogs>();
    ChannelDescriptor& d = wb->rec.desc(0);
    d.NameIn = VARNIK_TEST_DATA "/furseal-5s.csv";
    d.ColumnValue = 3;
    d.InDelimiter = ';';
    d.HeaderText = 1;
    d.SampRate = 5000;
    for (int slot = 1; slot < SlotCount; ++slot)
        wb->rec.desc(slot).NameIn.clear();
    AllocateStore(wb->rec, *ui);
    QCOMPARE(StartRecording(*wb, *ui), StartResult::Loaded);
    NoteSurfaceAfterStart(*wb, *ui);
    help = std::make_unique<HelpViewer>(*ui, VARNIK_HELP_DIR "/");
    window = test::OpenActiveGraphWindow(*wb, *ui, *help);
    QVERIFY(window);
}

void FirstHourTest::cleanup()
{
    delete window;
    help.reset();
    wb.reset();
}

void FirstHourTest::surfaceNoteAfterStart()
{
    // The note in the status line, under the read-outs and behind Hint.
    QVERIFY(!ui->statusTexts.empty());
    QVERIFY(ui->statusTexts.back().rfind("The surface reads ", 0) == 0);
    auto* hint = window->findChild<QPushButton*>("btnHint");
    auto* words = window->findChild<QLabel*>("lblHint");
    QVERIFY(hint->isVisible());
    QVERIFY(words->isVisible());
    QCOMPARE(words->text().toStdString(), ui->statusTexts.back());
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        window->grab().save(QString::fromUtf8(folder) + "/surface-note.png");
    // Hint shows the page and the note goes.
    hint->click();
    QCOMPARE(help->shown(), std::string("AlertSurface.rtf"));
    QVERIFY(!hint->isVisible());
    QVERIFY(!words->isVisible());
}

void FirstHourTest::aWarningOnceThenInTheStatusLine()
{
    // A wiggle duration under the 5 s sampling interval: each dive would warn.
    DiveParameters& p = wb->settings.dive;
    p.Threshold = 4;
    p.TrekBaseline = 1;
    p.WiggDuration = 3;
    const std::string warning = " Wiggles: \".. over n sec\" too small. ";
    const auto boxes = [&] {
        return std::count_if(ui->shown.begin(), ui->shown.end(),
                             [&](const ScriptedDialogs::Entry& e) { return e.text == warning; });
    };
    for (int k = 0; k < 3; ++k)
        test::Key(window, Qt::Key_Q);
    QCOMPARE(boxes(), 1);
    QVERIFY(std::count(ui->statusTexts.begin(), ui->statusTexts.end(), warning) >= 2);
}

void FirstHourTest::suggestionMarkedKeptOrDropped()
{
    const DiveParameters defaults;
    const auto suggestThen = [&](bool keep) {
        test::WhenDialogShows([keep](QWidget* w) {
            auto* dialog = qobject_cast<TfrmDiveParms*>(w);
            QVERIFY(dialog);
            dialog->findChild<QPushButton*>("btnSuggest")->click();
            auto* threshold = dialog->findChild<QLineEdit*>("edtThreshold");
            QCOMPARE(threshold->text(), QString("2"));
            QVERIFY(threshold->property("suggested").toBool());
            QVERIFY(dialog->findChild<QCheckBox*>("cbxTrekBaseline")->isChecked());
            QVERIFY(dialog->findChild<QCheckBox*>("cbxTrekBaseline")->property("suggested").toBool());
            QCOMPARE(dialog->findChild<QLineEdit*>("edtWiggDuration")->text(), QString("10"));
            QVERIFY(!dialog->findChild<QLineEdit*>("edtWindowSize")->property("suggested").toBool());
            QVERIFY(dialog->findChild<QLabel*>("lblSuggested")->isVisible());
            if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
                dialog->grab().save(QString::fromUtf8(folder) + "/dive-parameters-suggested.png");
            if (keep)
                dialog->accept();
            else
                dialog->reject();
        });
        window->menus().action("mniParameters")->trigger();
    };
    // Cancel drops the suggestion, OK keeps it.
    suggestThen(false);
    QCOMPARE(wb->settings.dive, defaults);
    suggestThen(true);
    QCOMPARE(wb->settings.dive.Threshold, 2.0);
    QCOMPARE(wb->settings.dive.TrekBaseline, uint8_t{1});
    QCOMPARE(wb->settings.dive.WiggDuration, 10);

    // The first search with the parameters as they come offers it once.
    wb->settings.dive = defaults;
    bool offered = false;
    test::WhenDialogShows([&](QWidget* w) {
        auto* dialog = qobject_cast<TfrmDiveParms*>(w);
        QVERIFY(dialog);
        offered = dialog->findChild<QLineEdit*>("edtThreshold")->property("suggested").toBool();
        dialog->accept();
    });
    test::Key(window, Qt::Key_Q);
    QVERIFY(offered);
    const auto questions = [&] {
        const std::vector<std::string> t = ui->texts();
        return std::count_if(t.begin(), t.end(),
                             [](const std::string& x) { return x.find("Let this record") != std::string::npos; });
    };
    QCOMPARE(questions(), 1);
    QCOMPARE(wb->settings.dive.Threshold, 2.0);
    QVERIFY(window->view().at.F5 > window->view().at.F4);
    wb->settings.dive = defaults;
    test::Key(window, Qt::Key_Q);  // not asked again this run
    QCOMPARE(wb->settings.dive, defaults);
    QCOMPARE(questions(), 1);
}

namespace {

void Wheel(QWidget* w, QPoint at, int notches, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QWheelEvent event(QPointF(at), w->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, m,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

}  // namespace

void FirstHourTest::wheelZoomsAroundTheMouse()
{
    LinePositions& at = window->view().at;
    at.F1 = 0.4 * window->view().T;  // in the middle of the record
    at.F2 = 0.6 * window->view().T;
    window->executeRedraw(redraw::Everything);
    const LinePositions before = at;
    QWidget* strip = window->strip(0);
    const QPoint mouse(strip->width() / 4, strip->height() / 2);
    const double t = ColumnToTime(mouse.x(), at.F1, at.F2, strip->width());
    // One notch away: four fifths of the width, the time under the mouse staying there.
    Wheel(strip, mouse, 1);
    QCOMPARE(at.F2 - at.F1, 0.8 * (before.F2 - before.F1));
    QVERIFY(std::fabs(ColumnToTime(mouse.x(), at.F1, at.F2, strip->width()) - t) < (at.F2 - at.F1) / strip->width());
    test::Key(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(at, before);
    // Shift: a tenth of the window back in time; Undo again.
    Wheel(strip, mouse, 1, Qt::ShiftModifier);
    QCOMPARE(at.F1, before.F1 - 0.1 * (before.F2 - before.F1));
    QCOMPARE(at.F2 - at.F1, before.F2 - before.F1);
    test::Key(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(at, before);
    // Ctrl: the depth range, the value under the mouse staying at its row.
    const ChannelDescriptor d = wb->rec.desc(0);
    Wheel(strip, mouse, -1, Qt::ControlModifier);
    QCOMPARE(wb->rec.desc(0).Max - wb->rec.desc(0).Min, (d.Max - d.Min) * 1.25);
    test::Key(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(wb->rec.desc(0).Min, d.Min);
    QCOMPARE(wb->rec.desc(0).Max, d.Max);
}

}  // namespace vk

QTEST_MAIN(vk::FirstHourTest)
#include "FirstHourTest.moc"
