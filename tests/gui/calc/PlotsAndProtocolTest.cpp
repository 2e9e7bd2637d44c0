// Channel against channel, the way-way diagram and the behaviour protocol on
// the example day (depth, temperature, speed).

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "core/calc/ChannelPlot.h"
#include "core/calc/WayWay.h"
#include "core/store/TimeBase.h"
#include "core/view/RedrawRequest.h"
#include "gui/calc/ChannelPlotWindow.h"
#include "gui/calc/PlotChoiceDialog.h"
#include "gui/calc/WayWayWindow.h"
#include "gui/process/ProtocolWindow.h"
#include "support/ExampleWindowTest.h"

namespace vk {

using test::Grab;

namespace {

int RedPixels(QWidget* w)
{
    const QImage shot = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            n += shot.pixel(x, y) == qRgb(255, 0, 0);
    return n;
}

QAction* Item(QMenu* menu, const char* text)
{
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return a;
    return nullptr;
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
    void wayWayDiagram();
    void protocolNotesKeys();

private:
    void run(const char* item) { window->menus().action(item)->trigger(); }
};

void PlotsAndProtocolTest::channelAgainstChannel()
{
    sectionOverADive();
    wb->biChannel = {0, 2, 1};  // depth across, speed up
    bool plotted = false;
    PlotFrame frame;
    test::WhenDialogShows([&](QWidget* w) {
        auto* choose = qobject_cast<PlotChoiceDialog*>(w);
        QVERIFY(choose);
        QVERIFY(choose->findChild<QLineEdit*>("edtResult")->isHidden());
        choose->findChild<QLineEdit*>("edtThr")->setText("20");  // deeper than 20 m in colour 1
        ui->colours = {0x00FF00};                                // "Color 2": green
        choose->findChild<QPushButton*>("btnColor2")->click();
        test::WhenDialogShows([&](QWidget* w2) {
            auto* plot = qobject_cast<ChannelPlotWindow*>(w2);
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
    run("calc.channel-plot");
    QVERIFY(plotted);
    QCOMPARE(wb->calc.plot.colour2, 0x00FF00);
    // The ellipse stays for the next plot.
    QCOMPARE(wb->calc.plot.ellipse.band, 40);

    // A colour channel that is not loaded is refused.
    wb->calc.plot.colourChannel.assign(1, '3');  // the speed channel, about to be unloaded
    wb->rec.at(2).ChannelUsed = false;
    wb->biChannel = {0, 1, 1};
    test::WhenDialogShows([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    run("calc.channel-plot");
    QVERIFY(ui->texts().back() == "Error. One of the channels is not present.");
    wb->rec.at(2).ChannelUsed = true;
}

void PlotsAndProtocolTest::wayWayDiagram()
{
    sectionOverADive();
    run("calc.way-way");
    auto* wayWay = window->findChild<WayWayWindow*>("wayWayWindow");
    QVERIFY(wayWay);
    QVERIFY(wayWay->isVisible());
    const int dive = wb->dive.EventCounter;
    QCOMPARE(wayWay->windowTitle(), QString("Dive%1 Way-way diagram").arg(dive));
    QApplication::processEvents();

    // A click names the point in the caption; with "Tag by click" it is tagged.
    WayWayDiagram* d = wayWay->diagram();
    const QRect r = d->imageRect();
    const QPoint at = r.center();
    Mouse(d, QEvent::MouseButtonPress, at);
    QCOMPARE(wayWay->windowTitle(),
             QString::fromStdString(WayWayClickCaption(dive, d->distanceAt(at.x()), d->depthAt(at.y()))));
    QCOMPARE(RedPixels(d), 0);
    Item(wayWay->popup(), "Tag by click")->trigger();
    Mouse(d, QEvent::MouseButtonPress, at);
    QCOMPARE(d->notes.size(), std::size_t{1});
    QVERIFY(RedPixels(d) > 10);
    // A text where the right button was pressed.
    Mouse(d, QEvent::MouseButtonPress, at + QPoint(-120, 40), Qt::RightButton);
    wayWay->popup()->hide();
    Item(wayWay->popup(), "Include text")->trigger();
    auto* typing = d->findChild<QLineEdit*>("edtWayWayText");
    QVERIFY(typing);
    typing->setText("turn");
    Mouse(d, QEvent::MouseButtonPress, at + QPoint(40, 0));  // the next click places it
    QCOMPARE(d->notes.size(), std::size_t{3});               // the text, then the new tag
    QCOMPARE(d->notes[1].text, std::string("turn"));
    Grab(wayWay, "way-way-diagram");

    // Undo takes the notes back one by one; with none left the bare diagram stays.
    Item(wayWay->popup(), "Undo")->trigger();
    Item(wayWay->popup(), "Undo")->trigger();
    QCOMPARE(d->notes.size(), std::size_t{1});
    Item(wayWay->popup(), "Undo")->trigger();
    Item(wayWay->popup(), "Undo")->trigger();
    QCOMPARE(RedPixels(d), 0);

    // The picture to the clipboard, the path to a file.
    Item(wayWay->popup(), "Copy to clipboard")->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), d->size());
    const std::string file = dir->file("dive.txt"), reference = dir->file("reference.txt");
    ui->files.push_back(file);
    Item(wayWay->popup(), "Export to file")->trigger();
    QVERIFY(ui->fileRequests.back().start.ends_with("Dive" + std::to_string(dive)));
    const WayWayRequest request{0, wb->settings.SpeedChannel, window->view().at.F4, window->view().at.F5};
    QVERIFY(ExportWayWay(wb->rec, request, reference));
    QCOMPARE(test::TempDir::read(file), test::TempDir::read(reference));
    QVERIFY(test::TempDir::read(file).size() > 100);

    // Closing the graph window closes the diagram; without a speed channel it is refused.
    QPointer<WayWayWindow> open = wayWay;
    wb->rec.at(wb->settings.SpeedChannel).ChannelUsed = false;
    run("calc.way-way");
    QVERIFY(ui->texts().back() == NoWayWayChannels);
    QVERIFY(open);  // the refusal leaves the last diagram
    window->close();
    QApplication::processEvents();
    QVERIFY(!open);
}

void PlotsAndProtocolTest::protocolNotesKeys()
{
    sectionOverADive();
    run("protocol.create");
    auto* protocol = window->findChild<ProtocolWindow*>("ListViewProtocol");
    QVERIFY(protocol);
    QCOMPARE(protocol->windowTitle(), QString("Protocol"));
    auto* list = protocol->findChild<QTreeWidget*>();
    QCOMPARE(list->headerItem()->text(2), QString("Behaviour"));

    const auto clock = [&](double f) { return FormatDateTime(wb->rec.time.GlobalStart + f, wb->settings.DateSep); };
    const std::string onset = clock(window->view().at.F4), ending = clock(window->view().at.F5);
    key(Qt::Key_7);
    key(Qt::Key_A);  // also analyses the section
    key(Qt::Key_A, Qt::ShiftModifier);
    key(Qt::Key_1, Qt::KeypadModifier);   // none
    key(Qt::Key_Z, Qt::ControlModifier);  // none: Undo
    key(Qt::Key_Semicolon);               // none
    QCOMPARE(protocol->rows().size(), std::size_t{3});
    QCOMPARE(protocol->rows()[0], (ProtocolRow{onset, ending, "7"}));
    QCOMPARE(protocol->rows()[1].behaviour, std::string("A"));
    QCOMPARE(protocol->rows()[2].behaviour, std::string("A"));
    // Q notes the cursors before its search moves them.
    const double f4 = window->view().at.F4, f5 = window->view().at.F5;
    key(Qt::Key_Q);
    QCOMPARE(protocol->rows().size(), std::size_t{4});
    QCOMPARE(protocol->rows()[3], (ProtocolRow{clock(f4), clock(f5), "Q"}));
    QVERIFY(window->view().at.F4 != f4);  // the search went on
    QCOMPARE(list->topLevelItemCount(), 4);
    QCOMPARE(list->topLevelItem(3)->text(0), QString::fromStdString(clock(f4)));

    // Cancel in the save dialog, then No: the window and its rows stay, and so
    // does the graph window.
    ui->answers = {Answer::No};
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(protocol->rows().size(), std::size_t{4});
    Grab(protocol, "protocol");
    // Saved: the rows in a file, the window gone.
    const std::string file = dir->file("seal-protocol");
    ui->files.push_back(file);
    QVERIFY(protocol->close());
    QCOMPARE(test::TempDir::read(file + ".txt"), ProtocolText(protocol->rows()));
}

}  // namespace vk

QTEST_MAIN(vk::PlotsAndProtocolTest)
#include "PlotsAndProtocolTest.moc"
