// Moving around in the graph window with keys and the mouse, offscreen.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "core/view/PixelMap.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/StripImage.h"
#include "gui/widgets/HelpViewer.h"
#include "support/GraphFixture.h"
#include "support/GuiFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

using namespace vk;

class GraphMoveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void keysMoveTheLinesOfTheChosenMode();
    void pairCommandsButtonsAndStepKeys();
    void yZoomKeysAndBaseline();
    void clicksAndDragsWithTheMouse();
    void edgeZonesWidenTheWindowAndTheRange();

private:
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier);
    void press(QWidget* w, QPoint a) { QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, a); }
    void release(QWidget* w, QPoint a) { QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, a); }
    void click(QWidget* w, QPoint a, QPoint b)
    {
        press(w, a);
        release(w, b);
    }
    bool checked(const char* name) { return window->menus().action(name)->isChecked(); }

    std::unique_ptr<Workbench> wb;
    std::unique_ptr<ScriptedDialogs> ui;
    std::unique_ptr<HelpViewer> help;
    QPointer<GraphWindow> window;
};

void GraphMoveTest::init()
{
    wb = std::make_unique<Workbench>();
    test::AllocateAll(wb->rec, 1);
    wb->rec.time.GlobalStart = EncodeTime(2026, 1, 7, 6, 0, 0);
    test::Fill(wb->rec, 0, 1201, 1000, 0, 80, [](int32_t i) { return 40 + 30 * std::sin(i / 20.0); });
    wb->rec.at(1).ChannelUsed = wb->rec.at(2).ChannelUsed = false;
    wb->rec.time.LongestSpan = 1200000;  // T = 1,200,000 ms
    ui = std::make_unique<ScriptedDialogs>();
    help = std::make_unique<HelpViewer>(*ui, VARNIK_HELP_DIR "/");
    window = test::OpenActiveGraphWindow(*wb, *ui, *help);
    QVERIFY(window);
}

void GraphMoveTest::cleanup()
{
    delete window;
    help.reset();
}

void GraphMoveTest::key(int k, Qt::KeyboardModifiers m)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
}

void GraphMoveTest::keysMoveTheLinesOfTheChosenMode()
{
    const LinePositions& at = window->view().at;
    QCOMPARE(at.F2, 10000.0);
    QCOMPARE(at.F4, 1250.0);
    QVERIFY(checked("x-zoom.both-borders"));
    key(Qt::Key_Right);  // no mode yet: nothing moves
    QCOMPARE(at.F1, 0.0);

    key(Qt::Key_F2);
    QCOMPARE(window->view().moveMode, 2);
    QVERIFY(checked("x-zoom.right-border") && !checked("x-zoom.both-borders"));
    key(Qt::Key_Left);
    QCOMPARE(at.F2, 7500.0);
    key(Qt::Key_F3);
    key(Qt::Key_Right);
    QCOMPARE(at.F1, 2500.0);
    QCOMPARE(at.F2, 10000.0);
    key(Qt::Key_Home);
    QCOMPARE(at.F1, 0.0);
    key(Qt::Key_F3, Qt::ShiftModifier);  // borders and cursors: two marks
    QVERIFY(checked("x-zoom.both-borders") && checked("x-zoom.both-cursors") && !checked("x-zoom.left-cursor"));
    key(Qt::Key_Right, Qt::ControlModifier);  // a page of the window (7500 ms) for both
    QCOMPARE(at.F1, 7500.0);
    QCOMPARE(at.F4, 8750.0);

    key(Qt::Key_F6);
    key(Qt::Key_End);
    QCOMPARE(at.F5, 1200000.0);
    key(Qt::Key_F5);
    key(Qt::Key_Left);  // F5 - F4 = 7500 >= cs 625
    QCOMPARE(at.F5, 1200000.0 - 625);
    key(Qt::Key_F8);
    key(Qt::Key_End);  // B1 onto B2
    QCOMPARE(at.B1, at.B2);
    key(Qt::Key_F10);  // both B-cursors: the menu bar does not take F10
    QCOMPARE(window->view().moveMode, 9);
    QVERIFY(checked("x-zoom.right-cursor"));  // the B-cursor keys leave the marks
    key(Qt::Key_F9, Qt::ShiftModifier);
    QCOMPARE(window->view().moveMode, 12);

    ui->inputs = {"17"};
    key(Qt::Key_E, Qt::ShiftModifier);
    QCOMPARE(wb->dive.EventCounter, 17);
    QCOMPARE(ui->shown.back().text, std::string("Type in event counter|Warning! Pause will be wrong"));
}

void GraphMoveTest::pairCommandsButtonsAndStepKeys()
{
    const LinePositions& at = window->view().at;
    key(Qt::Key_F6, Qt::ControlModifier);  // cursors into the borders
    QCOMPARE(at.F4, 2500.0);
    QCOMPARE(at.F5, 7500.0);
    QVERIFY(checked("x-zoom.both-cursors"));
    window->view().at.F4 = 5000;
    window->view().at.F5 = 13000;
    QTest::mouseClick(window->findChild<QToolButton*>("JumpF1F2"), Qt::LeftButton);  // borders to cursors
    QCOMPARE(at.F1, 4000.0);
    QCOMPARE(at.F2, 14000.0);
    QVERIFY(checked("x-zoom.both-borders"));
    QVERIFY(window->menus().action("x-zoom.borders-to-cursors")->isEnabled());
    QTest::mouseClick(window->findChild<QToolButton*>("FetchF4F5"), Qt::LeftButton);
    QCOMPARE(at.F4, 6500.0);
    key(Qt::Key_F10, Qt::ControlModifier);
    QCOMPARE(window->view().moveMode, 10);

    key(Qt::Key_F1);
    const double bs = window->view().borderStep;
    key(Qt::Key_PageUp);
    QCOMPARE(window->view().borderStep, 2 * bs);
    key(Qt::Key_F4);
    const double cs = window->view().cursorStep;
    key(Qt::Key_PageDown);
    QCOMPARE(window->view().cursorStep, cs / 2);

    // A click on the strips' time scale centres window and cursors on it.
    StripImage* scale = window->timeScaleImage();
    const double s = at.F2 - at.F1, c = std::floor((at.F1 + at.F2) / 2);
    const double t = at.F1 + 0.75 * s;
    QTest::mouseClick(scale, Qt::LeftButton, Qt::NoModifier, QPoint(scale->width() * 3 / 4, 5));
    QVERIFY(std::fabs(at.F1 - (4000 + (t - c))) < s / scale->width() + 1);
}

void GraphMoveTest::yZoomKeysAndBaseline()
{
    ChannelDescriptor& d = wb->rec.desc(0);
    d.Min = 0;
    d.Max = 80;
    key(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(std::make_pair(d.Min, d.Max), std::make_pair(10.0, 70.0));
    key(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(std::make_pair(d.Min, d.Max), std::make_pair(2.5, 77.5));
    d.Min = 0;
    d.Max = 80;
    key(Qt::Key_Up);
    QCOMPARE(std::make_pair(d.Min, d.Max), std::make_pair(-10.0, 70.0));
    key(Qt::Key_Down);
    QCOMPARE(std::make_pair(d.Min, d.Max), std::make_pair(0.0, 80.0));

    StripImage* scale = window->yScale(0);
    QTest::mouseClick(scale, Qt::LeftButton, Qt::NoModifier, QPoint(5, scale->height() / 2));
    QCOMPARE(std::make_pair(d.Min, d.Max), std::make_pair(0.0, 80.0));  // the middle: nothing

    d.Max = 50;
    key(Qt::Key_U, Qt::ControlModifier);  // Increment
    QCOMPARE(d.yOffset, 0.5);
    ui->inputs = {"3"};
    window->menus().action("baseline.numerical")->trigger();
    QCOMPARE(d.yOffset, 3.5);
    d.bApplyPolynom = true;
    key(Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(ui->texts().back(), std::string("Not possible since polynom is enabled"));
    QCOMPARE(d.yOffset, 3.5);
}

void GraphMoveTest::clicksAndDragsWithTheMouse()
{
    StripImage* strip = window->strip(0);
    strip->resize(600, strip->height());  // 600 pixels over F1..F2 = 0..10000
    const int y = strip->height() / 2;
    const LinePositions& at = window->view().at;
    auto column = [&](double t) { return LineColumn(t, at.F1, at.F2, 600); };

    // 20 pixels from F4 grab it, and a drag moves it.
    click(strip, QPoint(column(1250) + 20, y), QPoint(column(1250) + 70, y));
    QCOMPARE(window->view().moveMode, 4);
    QVERIFY(std::fabs(at.F4 - ColumnToTime(column(1250) + 70, 0, 10000, 600)) < 1e-9);
    // 21 pixels away nothing is grabbed, yet the move mode follows.
    window->view().moveMode = 0;
    const double f4 = at.F4;
    click(strip, QPoint(column(f4) - 21, y), QPoint(column(f4) - 100, y));
    QCOMPARE(at.F4, f4);
    QCOMPARE(window->view().moveMode, 4);
    // F4 dragged beyond F5 stays.
    click(strip, QPoint(column(f4), y), QPoint(column(at.F5) + 10, y));
    QCOMPARE(at.F4, f4);

    // 3 pixels apart is a click (the read-outs), 4 a drag (F5 moves).
    auto* value = window->findChild<QLineEdit*>("mouseValue");
    auto* time = window->findChild<QLineEdit*>("mouseTime");
    const int f5 = column(at.F5);
    const double f5Before = at.F5;
    click(strip, QPoint(f5 + 1, y), QPoint(f5 + 3, y + 1));
    QCOMPARE(at.F5, f5Before);
    QVERIFY(!value->text().isEmpty());
    click(strip, QPoint(f5 + 1, y), QPoint(f5 + 3, y + 2));
    QVERIFY(at.F5 != f5Before);

    // Two clicks 2 s apart (120 pixels) at equal heights, with "Diff.".
    window->findChild<QCheckBox*>("showDifference")->setChecked(true);
    click(strip, QPoint(150, y), QPoint(150, y));
    click(strip, QPoint(270, y), QPoint(270, y));
    QCOMPARE(value->text(), QString("0.0000"));
    QCOMPARE(time->text(), QString("00:00:02"));
}

void GraphMoveTest::edgeZonesWidenTheWindowAndTheRange()
{
    const LinePositions& at = window->view().at;
    StripImage* strip = window->strip(0);
    const int w = strip->width(), h = strip->height();
    click(strip, QPoint(w - 3, h / 2), QPoint(w - 3, h / 2));  // a click at the right edge
    QCOMPARE(at.F2, 15000.0);
    QCOMPARE(window->view().moveMode, 2);
    ChannelDescriptor& d = wb->rec.desc(0);
    d.Min = 0;
    d.Max = 80;
    click(strip, QPoint(w / 2, 3), QPoint(w / 2, 3));  // top edge: the maximum grows by a quarter
    QCOMPARE(d.Max, 100.0);
    d.Max = 80;
    click(strip, QPoint(w / 2, 3), QPoint(w / 2, h / 2));  // dragged from the top: the value let go at
    const DisplayRange r{-5, 85};
    QVERIFY(std::fabs(d.Max - RowToValue(h / 2, r, h, DrawDirection::Upwards)) < 1e-9);
    click(strip, QPoint(3, h / 2), QPoint(w / 4, h / 2));  // dragged from the left: F1 there
    QVERIFY(std::fabs(at.F1 - ColumnToTime(w / 4, 0, 15000, w)) < 1e-9);
}

QTEST_MAIN(GraphMoveTest)
#include "GraphMoveTest.moc"
