// Clicks in the strips of the example day: Alter, spline nodes with the live
// spline and Replace, frequency tags with their window.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>

#include "core/view/PixelMap.h"
#include "core/view/RedrawRequest.h"
#include "gui/calc/ClickTools.h"
#include "gui/calc/FrequencyWindow.h"
#include "gui/calc/SplineWindow.h"
#include "gui/graph/StripImage.h"
#include "support/ExampleWindowTest.h"

namespace vk {

using test::Grab;

namespace {

int Coloured(QWidget* w, QRgb colour)
{
    const QImage image = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

}  // namespace

class ClickToolsTest : public test::ExampleWindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        openExample();
        // Fifteen minutes of the day around its third dive.
        LinePositions& at = window->view().at;
        at.F1 = std::floor(truth[2].start - 300) * 1000;
        at.F2 = at.F1 + 900000;
        at.F4 = at.F1 + 100000;
        at.F5 = at.F2 - 100000;
        window->executeRedraw(redraw::Everything);
    }
    void cleanup() { closeExample(); }
    void alterChangesTheNearestSample();
    void nodesDrawTheSplineAndReplaceIt();
    void tagsWithTheFrequencyWindow();

private:
    void run(const char* item) { window->menus().action(item)->trigger(); }
    QWidget* strip() const { return window->strip(window->activeChannel()); }
    // The pixel of time t (ms) and value v in the active strip.
    QPoint pixel(double t, double v) const
    {
        const ChannelDescriptor& d = wb->rec.desc(window->activeChannel());
        const LinePositions& at = window->view().at;
        return {static_cast<int>(std::lround((t - at.F1) * strip()->width() / (at.F2 - at.F1))),
                ValueToRow(v, DisplayRangeOf(d), strip()->height(), DirectionOf(d))};
    }
    void click(QPoint p) { QTest::mouseClick(strip(), Qt::LeftButton, Qt::NoModifier, p); }
    std::vector<uint16_t> samples() const
    {
        std::vector<uint16_t> w;
        for (int32_t i = 0; i <= wb->rec.desc(0).DataCnt; ++i)
            w.push_back(ReadRaw(wb->rec, i, 0));
        return w;
    }
};

void ClickToolsTest::alterChangesTheNearestSample()
{
    const double interval = wb->rec.desc(0).SampRate;
    LinePositions& at = window->view().at;
    at.F1 = 0;
    at.F2 = 100 * interval;
    window->executeRedraw(redraw::Everything);
    const std::vector<uint16_t> before = samples();
    window->findChild<QCheckBox*>("alterData")->setChecked(true);
    click(pixel(10.4 * interval, 30));
    std::vector<uint16_t> after = samples();
    QVERIFY(after[10] != before[10]);
    QVERIFY(std::abs(ReadValue(wb->rec, 10, 0).value - 30) < 0.5);  // within a pixel's value
    after[10] = before[10];
    QVERIFY(after == before);
    QTest::keyClick(strip(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(samples() == before);
}

void ClickToolsTest::nodesDrawTheSplineAndReplaceIt()
{
    const std::vector<uint16_t> before = samples();
    run("calc.spline");
    auto* dialog = window->findChild<SplineWindow*>("splineWindow");
    QVERIFY(dialog && dialog->isVisible());
    const QRgb blue = qRgb(0, 0, 255);
    const LinePositions at = window->view().at;
    const double step = (at.F2 - at.F1) / 6;
    const int plain = Coloured(strip(), blue);
    for (int k = 1; k <= 3; ++k)
        click(pixel(at.F1 + k * step, 20 + 5 * (k % 2)));
    QCOMPARE(static_cast<int>(window->clickTools().nodes.nodes.size()), 3);
    const int threeNodes = Coloured(strip(), blue);
    QVERIFY(threeNodes > plain);  // the nodes, but no curve yet
    click(pixel(at.F1 + 4 * step, 20));
    const int fourNodes = Coloured(strip(), blue);
    QVERIFY(fourNodes > threeNodes + 40);  // the curve appears
    Grab(strip(), "spline-nodes");
    Grab(dialog, "spline-window");
    // A node in another strip is refused.
    const int other = window->activeChannel() == 0 ? 1 : 0;
    if (window->strip(other)) {
        QTest::mouseClick(window->strip(other), Qt::LeftButton, Qt::NoModifier, QPoint(100, 50));
        QCOMPARE(ui->texts().back(), std::string(" Node rejected. All nodes must belong to the same channel"));
        window->setActiveChannel(0);
    }
    // Dragging a node moves it alone; with "Move all nodes" all of them.
    const std::vector<Node> placed = window->clickTools().nodes.nodes;
    auto drag = [&](const Node& n, QPoint by) {
        const QPoint from = pixel(n.time, n.value), to = from + by;
        QTest::mousePress(strip(), Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), strip()->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(strip(), &move);
        QTest::mouseRelease(strip(), Qt::LeftButton, Qt::NoModifier, to);
    };
    drag(placed[1], QPoint(12, 0));
    const std::vector<Node>& now = window->clickTools().nodes.nodes;
    QCOMPARE(now.size(), placed.size());
    QVERIFY(now[1].time > placed[1].time + 5 * (at.F2 - at.F1) / strip()->width());
    QCOMPARE(now[0].time, placed[0].time);
    dialog->findChild<QCheckBox*>("cbxMoveAll")->setChecked(true);
    QVERIFY(!dialog->findChild<QCheckBox*>("cbxAddNodes")->isChecked());
    const std::vector<Node> before2 = now;
    drag(before2[2], QPoint(-8, 0));
    for (std::size_t k = 0; k < now.size(); ++k)
        QVERIFY(now[k].time < before2[k].time);
    QCOMPARE(static_cast<int>(now.size()), 4);  // no node added by the drags

    // Replace, then Ctrl+Z brings every sample back.
    dialog->findChild<QPushButton*>("btnReplace")->click();
    QApplication::processEvents();
    QVERIFY(window->clickTools().nodes.empty());
    QVERIFY(samples() != before);
    Grab(strip(), "spline-replaced");
    QTest::keyClick(strip(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(samples() == before);

    // A hundred nodes (clear of the edge zones, apart by more than a press
    // takes), and the 101st refused.
    run("calc.spline");
    const int y = strip()->height() / 2;
    for (int k = 0; k < MostNodes; ++k)
        click(QPoint(20 + 6 * k, y));
    QCOMPARE(static_cast<int>(window->clickTools().nodes.nodes.size()), MostNodes);
    click(QPoint(20 + 6 * MostNodes + 3, y));
    QCOMPARE(ui->texts().back(), std::string("This is the limit. No more points allowed."));
    QCOMPARE(static_cast<int>(window->clickTools().nodes.nodes.size()), MostNodes);
}

void ClickToolsTest::tagsWithTheFrequencyWindow()
{
    QVERIFY(!window->menus().action("calc.frequency.dispose-tags")->isEnabled());
    run("calc.frequency.calculate");
    run("calc.frequency.calculate");  // a second one does nothing
    QCOMPARE(window->findChildren<FrequencyWindow*>().size(), qsizetype{1});
    auto* dialog = window->findChild<FrequencyWindow*>("frequencyWindow");
    dialog->findChild<QLineEdit*>("edtSensitivity")->setText("5");
    dialog->findChild<QPushButton*>("btnCalc")->click();
    QCOMPARE(ui->texts().back(), std::string("The sensitivity must be a number from 0.1 to 2.0."));
    dialog->findChild<QLineEdit*>("edtSensitivity")->setText("0.5");
    dialog->findChild<QPushButton*>("btnCalc")->click();
    QApplication::processEvents();
    const TagList& tags = window->clickTools().tags;
    QVERIFY(tags.tags.size() >= 2);
    QCOMPARE(wb->settings.FrequSensibility, 0.5);
    QVERIFY(window->menus().action("calc.frequency.dispose-tags")->isEnabled());
    QVERIFY(Coloured(strip(), qRgb(255, 0, 0)) > 0);
    const QString memo = dialog->findChild<QPlainTextEdit*>("memResults")->toPlainText();
    QVERIFY(memo.startsWith("Average Min \t"));
    Grab(strip(), "frequency-tags");
    Grab(dialog, "frequency-window");

    // A tag inserted by a click updates the memo; export through the seam.
    const std::size_t count = tags.tags.size();
    dialog->findChild<QRadioButton*>("rbtInsertTag")->setChecked(true);
    const LinePositions& at = window->view().at;
    click(pixel((at.F4 + at.F5) / 2 + 1234, 15));
    QCOMPARE(tags.tags.size(), count + 1);
    QVERIFY(dialog->findChild<QPlainTextEdit*>("memResults")->toPlainText() != memo);
    const std::string file = dir->file("tags_Frequ.txt");
    ui->files.push_back(file);
    dialog->findChild<QPushButton*>("btnExport")->click();
    std::ifstream in(file);
    QVERIFY(in.good());

    // Exit, and Show result brings the window back with the last results.
    dialog->findChild<QPushButton*>("btnExit")->click();
    QApplication::processEvents();
    QCOMPARE(window->clickTools().tagClick, TagClick::None);
    run("calc.frequency.show-result");
    dialog = window->findChild<FrequencyWindow*>("frequencyWindow");
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(dialog->findChild<QPlainTextEdit*>("memResults")->toPlainText() != memo);

    // Dispose tags clears the list and switches itself and Show result off.
    run("calc.frequency.dispose-tags");
    QVERIFY(!tags.exists());
    QVERIFY(!window->menus().action("calc.frequency.dispose-tags")->isEnabled());
    QVERIFY(!window->menus().action("calc.frequency.show-result")->isEnabled());
    dialog->findChild<QPushButton*>("btnExit")->click();
    QApplication::processEvents();
    QCOMPARE(window->clickTools().tagClick, TagClick::None);
}

}  // namespace vk

QTEST_MAIN(vk::ClickToolsTest)
#include "ClickToolsTest.moc"
