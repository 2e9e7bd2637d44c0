// The Calculations menu on the example day: the statistics window with its
// regression line, the histogram dialog, event counting.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "core/calc/EventCount.h"
#include "core/calc/Statistics.h"
#include "core/view/RedrawRequest.h"
#include "gui/calc/HistogramDialog.h"
#include "gui/calc/StatisticsWindow.h"
#include "gui/graph/GraphPainter.h"
#include "gui/graph/StripImage.h"
#include "support/ExampleWindowTest.h"

namespace vk {

using test::Grab;

namespace {

int LinesOf(const std::string& path)
{
    std::ifstream in(path);
    int n = 0;
    for (std::string line; std::getline(in, line);)
        ++n;
    return n;
}

}  // namespace

class CalcWindowTest : public test::ExampleWindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init() { openExample(); }
    void cleanup() { closeExample(); }
    void statisticsShowTheEngineAndTheLine();
    void histogramDrawsAndExports();
    void countEventsTellsTheCount();

private:
    void run(const char* item) { window->menus().action(item)->trigger(); }
    // Pixels of the strip in the regression line's colour.
    int lineColoured() const
    {
        const QImage strip = window->strip(window->activeChannel())->grab().toImage();
        const QRgb colour = TableColour(wb->settings, ColLinearRegression).rgb();
        int n = 0;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x)
                n += strip.pixel(x, y) == colour ? 1 : 0;
        return n;
    }
};

void CalcWindowTest::statisticsShowTheEngineAndTheLine()
{
    sectionOverADive();
    const DiveParameters& dive = wb->settings.dive;
    const StatisticsRequest request{
        window->view().at.F4, window->view().at.F5, wb->settings.CommSampInterval, {dive.TimeAbove, dive.TimeBelow}};
    const Statistics want = ComputeStatistics(wb->rec, window->activeChannel(), request);
    const std::string file = dir->file("statistics.txt");
    int coloured = 0;
    bool shown = false;
    test::WhenDialogShows([&](QWidget* w) {
        auto* stats = qobject_cast<StatisticsWindow*>(w);
        QVERIFY(stats);
        shown = true;
        QCOMPARE(stats->lines(), StatisticsLines(want, StatisticsWordsOf(wb->rec, window->activeChannel())));
        QVERIFY(stats->lines().at(13).rfind(" Time deeper than ", 0) == 0);  // depth, drawn downwards
        QCOMPARE(stats->windowTitle(), QString("Statistics"));
        coloured = lineColoured();
        Grab(stats, "statistics-window");
        Grab(window->strip(window->activeChannel()), "statistics-line");
        ui->inputs.push_back(file);
        stats->findChild<QPushButton*>("btnExport")->click();  // writes and closes
    });
    QTest::keyClick(window->strip(window->activeChannel()), Qt::Key_S, Qt::ControlModifier);
    QApplication::processEvents();
    QVERIFY(shown);
    QVERIFY(coloured > 20);
    QCOMPARE(lineColoured(), 0);  // gone with the window
    QCOMPARE(LinesOf(file), 2);   // header and row
}

void CalcWindowTest::histogramDrawsAndExports()
{
    sectionOverADive();
    const std::string file = dir->file("day.his");
    bool drawn = false;
    test::WhenDialogShows([&](QWidget* w) {
        auto* dialog = qobject_cast<HistogramDialog*>(w);
        QVERIFY(dialog);
        auto* exportButton = dialog->findChild<QPushButton*>("btnExport");
        QVERIFY(exportButton->isHidden());
        dialog->findChild<QLineEdit*>("edtBinSize")->setText("abc");
        dialog->findChild<QPushButton*>("btnDraw")->click();
        QCOMPARE(ui->texts().back(), std::string("'abc' is not a valid floating point value"));
        QVERIFY(exportButton->isHidden());
        dialog->findChild<QLineEdit*>("edtMinBin")->setText("0");
        dialog->findChild<QLineEdit*>("edtBinSize")->setText("2");
        dialog->findChild<QPushButton*>("btnDraw")->click();
        QVERIFY(!exportButton->isHidden());
        auto* plot = dialog->findChild<HistogramPlot*>("imgHistogram");
        QVERIFY(plot);
        const QImage& image = plot->image();
        // The bins that hold values span the plot: bars in its right half too.
        int black = 0, right = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == qRgb(0, 0, 0)) {
                    ++black;
                    right += x > image.width() / 2;
                }
        QVERIFY(black > 100);
        QVERIFY(right > 100);
        QMouseEvent move(QEvent::MouseMove, QPointF(100, 100), plot->mapToGlobal(QPointF(100, 100)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
        bool readout = false;
        for (QLabel* label : dialog->findChildren<QLabel*>())
            readout = readout || label->text().startsWith("y-data ");
        QVERIFY(readout);
        Grab(dialog, "histogram");
        dialog->findChild<QLineEdit*>("edtCut")->setText("5");
        dialog->findChild<QPushButton*>("btnDraw")->click();
        Grab(dialog, "histogram-cut");
        drawn = true;
        dialog->findChild<QLineEdit*>("edtHistFile")->setText(QString::fromStdString(file));
        exportButton->click();
    });
    run("calc.histogram");
    QVERIFY(drawn);
    QCOMPARE(LinesOf(file), 259);
    QCOMPARE(wb->calc.histogram[static_cast<std::size_t>(window->activeChannel())].binSize, 2.0);
}

void CalcWindowTest::countEventsTellsTheCount()
{
    window->view().at.F4 = 0;
    window->view().at.F5 = wb->rec.time.LongestSpan;
    const std::string file = dir->file("events.txt");
    test::WhenDialogShows([&](QWidget* w) {
        auto* threshold = w->findChild<QLineEdit*>("edtThreshold");
        QVERIFY(threshold);
        QVERIFY(!w->findChild<QLineEdit*>("edtResultFile")->isEnabled());
        w->findChild<QCheckBox*>("cbxStore")->setChecked(true);
        QVERIFY(w->findChild<QLineEdit*>("edtResultFile")->isEnabled());
        w->findChild<QLineEdit*>("edtResultFile")->setText(QString::fromStdString(file));
        threshold->setText("ten");
        QMetaObject::invokeMethod(w, "accept");
        QCOMPARE(ui->texts().back(), std::string("'ten' is not a valid floating point value"));
        QVERIFY(w->isVisible());
        threshold->setText("10");
        QMetaObject::invokeMethod(w, "accept");
    });
    run("calc.count-events");
    const Events want = CountEvents(wb->rec, window->activeChannel(), 0, wb->rec.time.LongestSpan, 10, false, false);
    QVERIFY(want.count > 5);
    QCOMPARE(ui->texts().back(), " Nr of events between F4 and F5 : " + std::to_string(want.count));
    QCOMPARE(LinesOf(file), static_cast<int>(want.count) + 1);
    QCOMPARE(wb->calc.events.threshold, std::string("10"));
}

}  // namespace vk

QTEST_MAIN(vk::CalcWindowTest)
#include "CalcWindowTest.moc"
