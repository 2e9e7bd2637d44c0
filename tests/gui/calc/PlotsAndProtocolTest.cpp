// Channel against channel, the way-way diagram and the behaviour protocol on
// the example day (depth, temperature, speed).

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "core/calc/ChannelPlot.h"
#include "core/view/RedrawRequest.h"
#include "gui/calc/ChannelPlotWindow.h"
#include "gui/calc/PlotChoiceDialog.h"
#include "support/ExampleWindowTest.h"

namespace vk {

namespace {

void Grab(QWidget* w, const char* name)
{
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        w->grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

}  // namespace

class PlotsAndProtocolTest : public test::ExampleWindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init() { openExample(); }
    void cleanup() { closeExample(); }
    void channelAgainstChannel();

private:
    void run(const char* item) { window->menus().action(item)->trigger(); }
    // The work section around the third dive of the day.
    void sectionOverADive()
    {
        LinePositions& at = window->view().at;
        at.F4 = std::floor(truth[2].start - 60) * 1000;
        at.F5 = std::floor(truth[2].end + 60) * 1000;
        at.F1 = at.F4 - 200000;
        at.F2 = at.F5 + 200000;
        window->executeRedraw(redraw::Everything);
    }
};

void PlotsAndProtocolTest::channelAgainstChannel()
{
    sectionOverADive();
    wb->biChannel = {0, 2, 1};  // depth across, speed up
    bool plotted = false;
    PlotFrame frame;
    test::WhenDialogShows([&](QWidget* w) {
        auto* choose = qobject_cast<TfrmBiChannelPlot*>(w);
        QVERIFY(choose);
        QVERIFY(choose->findChild<QLineEdit*>("edtResult")->isHidden());
        choose->findChild<QLineEdit*>("edtThr")->setText("20");  // deeper than 20 m in colour 1
        ui->colours = {0x00FF00};                                // "Color 2": green
        choose->findChild<QPushButton*>("btnColor2")->click();
        test::WhenDialogShows([&](QWidget* w2) {
            auto* plot = qobject_cast<TfrmPlotChnlChnl*>(w2);
            QVERIFY(plot);
            plotted = true;
            ChannelPlotArea* area = plot->area();
            QCOMPARE(plot->findChild<QLabel*>("lblChannel1")->text(), QString("Depth [m]"));
            QCOMPARE(plot->findChild<QLabel*>("lblChannel2")->text(), QString("Speed [m/s]"));
            // Read-outs under the mouse.
            const QRect r = area->imageRect();
            Mouse(area, QEvent::MouseMove, QPoint(r.width() / 2, r.height() / 4), Qt::NoButton);
            const double a = PlotValueX(frame, r.width() / 2, r.width()),
                         b = PlotValueY(frame, r.height() / 4, r.height());
            QCOMPARE(plot->findChild<QLineEdit*>("edtValChn1")->text(), QString::number(a, 'f', 3));
            QCOMPARE(plot->findChild<QLineEdit*>("edtValChn2")->text(), QString::number(b, 'f', 3));
            // Reset, then drag the left handle 30 px out and the outer band handle 10 px out.
            plot->findChild<QPushButton*>("btnResetCircle")->click();
            QCOMPARE(wb->calc.plot.ellipse, ResetEllipse());
            Mouse(area, QEvent::MouseButtonPress, QPoint(97, 150));
            Mouse(area, QEvent::MouseMove, QPoint(67, 152));
            Mouse(area, QEvent::MouseButtonRelease, QPoint(67, 152));
            QCOMPARE(wb->calc.plot.ellipse.left, 70);
            QCOMPARE(wb->calc.plot.ellipse.top, 100);
            const HandleCorner outer = HandleCorners(wb->calc.plot.ellipse)[HandleOuter - 1];
            Mouse(area, QEvent::MouseButtonPress, QPoint(outer.x + 3, outer.y + 3));
            Mouse(area, QEvent::MouseButtonRelease, QPoint(outer.x - 7, outer.y + 3));
            QCOMPARE(wb->calc.plot.ellipse.band, 40);
            // The cloud is there, in both colours.
            const QImage shot = area->grab().toImage();
            int first = 0, second = 0;
            for (int y = 0; y < r.height(); ++y)
                for (int x = 0; x < r.width(); ++x) {
                    first += shot.pixel(x, y) == qRgb(255, 0, 0);
                    second += shot.pixel(x, y) == qRgb(0, 255, 0);
                }
            QVERIFY(first > 50);
            QVERIFY(second > 50);
            Grab(plot, "plot-channel-against-channel");
            plot->accept();
        });
        choose->accept();
    });
    const auto f4 = window->view().at.F4, f5 = window->view().at.F5;
    frame = PlotFrameOf(SectionSpan(wb->rec, 0, f4, f5), SectionSpan(wb->rec, 2, f4, f5));
    run("mniPlotChnlChnl");
    QVERIFY(plotted);
    QCOMPARE(wb->calc.plot.colour2, 0x00FF00);
    // The ellipse stays for the next plot.
    QCOMPARE(wb->calc.plot.ellipse.band, 40);

    // A colour channel that is not loaded is refused.
    wb->calc.plot.colourChannel.assign(1, '3');  // the speed channel, about to be unloaded
    wb->rec.at(2).ChannelUsed = false;
    wb->biChannel = {0, 1, 1};
    test::WhenDialogShows([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    run("mniPlotChnlChnl");
    QVERIFY(ui->texts().back() == "Error. One of the channels is not present.");
    wb->rec.at(2).ChannelUsed = true;
}

}  // namespace vk

QTEST_MAIN(vk::PlotsAndProtocolTest)
#include "PlotsAndProtocolTest.moc"
