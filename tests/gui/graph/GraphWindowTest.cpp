// The graph window on the offscreen platform: its parts, menus, read-outs and
// keys, and pixel checks where the picture is the behaviour.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>
#include <new>

#include "core/store/UndoSink.h"
#include "core/view/Overlays.h"
#include "core/view/PixelMap.h"
#include "core/view/Readouts.h"
#include "core/view/RedrawRequest.h"
#include "gui/graph/CommandTable.h"
#include "gui/graph/GraphPainter.h"
#include "gui/graph/GraphWindow.h"
#include "gui/graph/StripImage.h"
#include "gui/widgets/HelpViewer.h"
#include "support/GraphFixture.h"
#include "support/GuiFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

using namespace vk;

namespace {

using test::Fill;

QImage Render(const GraphScene& scene, int slot, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    PaintStripBase(p, size, scene, slot);
    PaintStripOverlay(p, size, scene, slot);
    return image;
}

int CountColour(const QImage& image, QColor colour, QRect area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

int Differences(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

const QColor Grey(192, 192, 192), Blue(0, 0, 255), Maroon(128, 0, 0), Black(0, 0, 0);

}  // namespace

class GraphWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void partsAndMenus();
    void readoutsInBothTimeModes();
    void tabMakesTheNextStripActive();
    void hintButtonShowsThePendingPage();
    void closingAsksAboutModifiedChannels();
    void backgroundCursorsAndOrientation();
    void constantChannelGridAndSubsidiaryLines();
    void thinningDoesNotChangeThePicture();
    void rotatedStylesBarsCaptionAndCrossLines();
    void envelopePictureMatchesEverySample();
    void aCommandThatThrowsLeavesTheRecordingAsItWas();
    void curvesDrawnTogetherAreTheCurvesDrawnAlone();

private:
    void open();

    std::unique_ptr<Workbench> wb;
    std::unique_ptr<ScriptedDialogs> ui;
    std::unique_ptr<HelpViewer> help;
    QPointer<GraphWindow> window;
};

void GraphWindowTest::init()
{
    wb = std::make_unique<Workbench>();
    test::AllocateAll(wb->rec, 2);
    wb->rec.time.GlobalStart = EncodeTime(2026, 1, 7, 6, 0, 0);
    Fill(wb->rec, 0, 7200, 1000, 0, 100, [](int32_t i) { return 50 + 40 * std::sin(i / 300.0); });
    Fill(wb->rec, 2, 3600, 2000, 4, 16, [](int32_t i) { return 10 + 5 * std::cos(i / 100.0); });
    wb->rec.at(1).ChannelUsed = false;
    wb->rec.desc(0).NameIn = "/data/seal/depth.txt";
    wb->rec.desc(2).NameIn = "/data/seal/speed.txt";
    wb->rec.time.LongestSpan = 7199000;
    ui = std::make_unique<ScriptedDialogs>();
    help = std::make_unique<HelpViewer>(*ui, VARNIK_HELP_DIR "/");
}

void GraphWindowTest::open()
{
    window = test::OpenActiveGraphWindow(*wb, *ui, *help);
    QVERIFY(window);
}

void GraphWindowTest::aCommandThatThrowsLeavesTheRecordingAsItWas()
{
    open();
    const uint16_t before = ReadRaw(wb->rec, 100, 0);
    // Writes a sample under its undo step, then runs out of memory.
    window->runCommand([](CommandContext& cx) -> CommandResult {
        cx.undo.PushRange(UndoKind::SingleValue, 0, 100, 101, redraw::SampleEdit);
        WriteRaw(cx.rec, 100, 7, 0);
        throw std::bad_alloc();
    });
    QCOMPARE(ReadRaw(wb->rec, 100, 0), before);
    QCOMPARE(ui->texts().size(), std::size_t{1});
    QVERIFY2(ui->texts()[0].find("could not be carried out (std::bad_alloc)") != std::string::npos,
             ui->texts()[0].c_str());
    // The window goes on: the next command runs.
    test::Key(window, Qt::Key_Right);
}

void GraphWindowTest::curvesDrawnTogetherAreTheCurvesDrawnAlone()
{
    // A full redraw draws the stale strips and the total window side by side;
    // each must look as it does drawn alone.
    open();
    window->executeRedraw(redraw::Everything);
    std::vector<StripImage*> images;
    for (const char* name : {"image0", "image2", "TotalImage"})
        images.push_back(window->findChild<StripImage*>(name));
    // None shown (the batch's offscreen window): nothing drawn ahead, nothing broken.
    DrawStaleTogether({});
    DrawStaleTogether({nullptr});
    for (StripImage* image : images)
        QVERIFY(image && image->stale());
    std::vector<QImage> together;
    for (StripImage* image : images) {
        together.push_back(image->grab().toImage().convertToFormat(QImage::Format_RGB32));
        QVERIFY(!images.back()->stale());  // the first one shown drew them all
    }
    for (std::size_t k = 0; k < images.size(); ++k) {
        images[k]->invalidate();
        const QImage alone = images[k]->picture().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(Differences(together[k], alone), 0);
    }
}

void GraphWindowTest::cleanup()
{
    delete window;
    help.reset();
}

void GraphWindowTest::partsAndMenus()
{
    open();
    QCOMPARE(window->windowTitle(), QString("Varnik Dive Analysis, Graph Window    /data/seal/depth.txt"));
    for (const char* name : {"TotalImage", "TotalimgTimeScale", "imgTime", "image0", "imageSc0", "image2", "imageSc2"})
        QVERIFY2(window->findChild<StripImage*>(name), name);
    QVERIFY(!window->findChild<StripImage*>("image1"));  // channel 1 is not loaded
    const WindowLayout& l = window->windowLayout();
    QCOMPARE(window->strip(0)->geometry(),
             QRect(l.strips[0].left, l.strips[0].top, l.strips[0].width, l.strips[0].height));
    QCOMPARE(window->view().at.F2, 7199000.0 / 120);

    QStringList titles;
    for (QAction* a : window->menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, QStringList({"&File", "&View", "x-Zoom", "y-Zoom", "Baseline", "Export", "&Process", "&Filter",
                                  "&Calculations", "Analysis", "Protocol", "&Help"}));
    GraphMenus& m = window->menus();
    QVERIFY(m.action("file.exit")->isEnabled());
    QVERIFY(m.action("x-zoom.left-border")->isEnabled());
    QVERIFY(m.action("view.style")->isEnabled());
    QVERIFY(m.action("calc.way-way")->isEnabled());  // refuses, when clicked, without a speed channel
    QCOMPARE(m.action("x-zoom.left-border")->text(), QString("Left Border\tF1"));
    QCOMPARE(m.action("x-zoom.left-cursor")->text(), QString("Left Cursor \tF4"));
    QCOMPARE(m.action("y-zoom.shift-up")->text(), QString("Shift &Up (Up)"));
    QVERIFY(m.action("x-zoom.both-borders")->isChecked());
    QCOMPARE(m.action("analysis.write-results")->toolTip(), QString("Analize, export results, search next"));
    QCOMPARE(m.action("process.undo")->data().toInt(), QKeySequence("Ctrl+Z")[0].toCombined());
    QVERIFY(m.action("process.bi-channel")->isEnabled());  // two channels: the submenu opens, its items wait
    QCOMPARE(m.actions().size(), 119);                     // every item and submenu of the menu tree

    // Commands are registered under the menu items' names: a misspelt name
    // fails when the table is filled, not later as an item that does nothing.
    CommandTable table(m);
    QVERIFY_THROWS_EXCEPTION(std::logic_error,
                             table.add("analysis.write-result", [](CommandContext&) { return CommandResult{}; }));
    table.add("analysis.write-results", [](CommandContext&) { return CommandResult{}; });
    QVERIFY(table.find("analysis.write-results"));
    QVERIFY(!table.find("analysis.write-result"));

    const QByteArray folder = qgetenv("VARNIK_GRAB_DIR");
    if (!folder.isEmpty())
        window->grab().save(QString::fromUtf8(folder) + "/graph-window.png");
}

void GraphWindowTest::readoutsInBothTimeModes()
{
    open();
    auto text = [&](const char* name) { return window->findChild<QLineEdit*>(name)->text(); };
    const double f4 = window->view().at.F4;                   // 7499.0 ms
    QCOMPARE(text("cursorF4Time"), QString("06:00:07.498"));  // 7498.96 ms
    QCOMPARE(text("cursorF4Date"), QString("07.01.2026"));
    const double v = 50 + 40 * std::sin(7 / 300.0) + (40 * std::sin(8 / 300.0) - 40 * std::sin(7 / 300.0)) * 0.499;
    QVERIFY(std::fabs(text("cursorF4Value").toDouble() - v) < 0.01);
    QCOMPARE(text("spanF4F5"), QString::fromStdString(FormatDuration(window->view().at.F5 - f4)));

    window->view().timeAxisMode = 1;
    window->executeRedraw(65536);
    QCOMPARE(text("cursorF4Date"), QString("7"));
    QCOMPARE(text("cursorF4Time"), QString());
    QCOMPARE(text("spanF4F5"), QString::number(std::floor(window->view().at.F5 / 1000) - 7));
}

void GraphWindowTest::tabMakesTheNextStripActive()
{
    open();
    QCOMPARE(window->activeChannel(), 0);
    QWidget* focus = window->findChild<QWidget*>("focus0");
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Tab);
    QCOMPARE(window->activeChannel(), 2);  // channel 1 has no strip
    QCOMPARE(window->windowTitle(), QString("Varnik Dive Analysis, Graph Window    /data/seal/speed.txt"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(window->activeChannel(), 0);
}

void GraphWindowTest::hintButtonShowsThePendingPage()
{
    open();
    auto* hint = window->findChild<QPushButton*>("hint");
    QVERIFY(!hint->isVisible());
    wb->rec.pendingHint = HintInvertData;
    window->executeRedraw(0);
    QVERIFY(hint->isVisible());
    QTest::mouseClick(hint, Qt::LeftButton);
    QCOMPARE(help->shown(), std::string("AlertInvert.rtf"));
    QVERIFY(help->plainText().contains("below zero"));
    QVERIFY(!hint->isVisible());
    QCOMPARE(wb->rec.pendingHint, int(HintNone));
    for (int code : {1, 3, 5})
        QVERIFY(QFile::exists(QString(VARNIK_HELP_DIR "/") + HintPage(code)));
}

void GraphWindowTest::closingAsksAboutModifiedChannels()
{
    open();
    wb->rec.at(0).ChannelModified = true;
    wb->rec.desc(0).Caption = "Depth";
    ui->answers = {Answer::Cancel};
    window->close();
    QVERIFY(window && window->isVisible());
    QCOMPARE(ui->texts(), std::vector<std::string>{" Channel Depth is modified. Save as binary file? "});
    ui->answers = {Answer::No};
    window->close();
    QTRY_VERIFY(!window);  // closed and deleted
}

void GraphWindowTest::backgroundCursorsAndOrientation()
{
    ViewState view = InitialView(7199000);
    const GraphScene scene{wb->rec, wb->settings, view};
    const QSize size(600, 200);
    QImage image = Render(scene, 0, size);
    QCOMPARE(image.pixelColor(300, 5), Grey);   // the background: palette colour 7
    QCOMPARE(image.pixelColor(0, 100), Black);  // the border: foreground colour 0
    const int f4 = LineColumn(view.at.F4, view.at.F1, view.at.F2, 600);
    QVERIFY(CountColour(image, Blue, QRect(f4, 10, 1, 180)) > 40);  // the dotted F4 cursor
    QCOMPARE(CountColour(image, Blue, QRect(f4, 0, 1, 200 / 24 - 1)), 0);

    // A rising curve starts low when drawn upwards and high when drawn downwards.
    auto firstRow = [](const QImage& img) {
        for (int y = 2; y < img.height() - 2; ++y)
            if (img.pixelColor(3, y) == Black)
                return y;
        return -1;
    };
    view.at.F1 = 0;
    view.at.F2 = 60000;  // sin rises from 50 at the start
    const int up = firstRow(Render(scene, 0, size));
    wb->rec.desc(0).GrRepr = -1;
    const int down = firstRow(Render(scene, 0, size));
    QVERIFY(up > 0 && down > 0);
    QCOMPARE(up + down, 200);  // mirror images about the middle
}

void GraphWindowTest::constantChannelGridAndSubsidiaryLines()
{
    ViewState view = InitialView(7199000);
    view.active = 2;  // no frame on channel 0
    const GraphScene scene{wb->rec, wb->settings, view};
    ChannelDescriptor& d = wb->rec.desc(0);
    wb->settings.colours.values[ColCursorF4F5] = 7;  // cursors the colour of the background
    const QSize size(400, 180);

    const double min = d.Min, max = d.Max;
    d.Min = d.Max = 50;  // the margin of an empty range is empty: nothing is drawn
    GraphScene quiet = scene;
    quiet.caption = CaptionPlace::Invisible;
    QImage image = Render(quiet, 0, size);
    QCOMPARE(CountColour(image, Grey, QRect(1, 1, 398, 178)), 398 * 178);

    d.Min = 0;
    d.Max = 16;
    d.GridDist = 5;
    image = Render(quiet, 0, size);
    for (int row : GridRows(d, 180))
        QVERIFY(CountColour(image, Maroon, QRect(2, row, 396, 1)) > 100);  // dotted
    QCOMPARE(GridRows(d, 180).front(), 170);

    d.GridDist = 0;
    SubsidiaryLines& lines = wb->settings.subsidiaryLines[0];
    lines[0].flag = 1;
    lines[1] = {8, 1};
    lines[2] = {8, 1};
    image = Render(quiet, 0, size);
    int rows = 0;
    for (int y = 2; y < 178; ++y)
        rows += CountColour(image, Maroon, QRect(2, y, 396, 1)) > 0;
    QCOMPARE(rows, 1);
    QVERIFY(CountColour(image, Maroon, QRect(2, 90, 396, 1)) > 150);  // dashed, at the value's row
    d.Min = min;
    d.Max = max;
}

void GraphWindowTest::thinningDoesNotChangeThePicture()
{
    // Spans of 6000 and 6001 ms at 1 ms per sample: the second skips samples.
    Recording& rec = wb->rec;
    Fill(rec, 2, 20000, 1, 0, 100, [](int32_t i) { return 50 + 30 * std::sin(i / 700.0); });
    ViewState view = InitialView(19999);
    view.active = 0;
    GraphScene scene{rec, wb->settings, view};
    scene.caption = CaptionPlace::Invisible;
    wb->settings.colours.values[ColCursorF4F5] = 7;
    const QSize size(500, 160);
    for (double span : {6000.0, 6001.0}) {
        view.at.F1 = 1000;
        view.at.F2 = 1000 + span;
        const QImage drawn = Render(scene, 2, size);
        // The same curve drawn from every sample, with the same mapping and pen.
        QImage every(size, QImage::Format_RGB32);
        QPainter p(&every);
        PaintStripBase(p, size, GraphScene{rec, wb->settings, ViewState{}}, 2);  // background only
        p.setClipRect(1, 1, size.width() - 2, size.height() - 2);
        p.setPen(QPen(QColor(128, 128, 128), 1));
        const DisplayRange r = DisplayRangeOf(rec.desc(2));
        QPolygon line;
        for (int32_t k = 1000; k <= 1000 + static_cast<int32_t>(span) + 1; ++k)
            line << QPoint(SampleColumn(k, view.at.F1, view.at.F2, 500),
                           ValueToRow(ReadValue(rec, k, 2).value, r, 160, DrawDirection::Upwards));
        line.prepend(QPoint(0, line.front().y()));
        p.drawPolyline(line);
        p.end();
        QCOMPARE(Differences(drawn, every), 0);
    }
}

void GraphWindowTest::rotatedStylesBarsCaptionAndCrossLines()
{
    // A rising ramp: with time running downwards (6) it starts left and ends right; 7 mirrors it.
    Recording& rec = wb->rec;
    Fill(rec, 2, 1000, 1000, 0, 100, [](int32_t i) { return i / 10.0; });
    ViewState view = InitialView(999000);
    view.at.F1 = 0;
    view.at.F2 = 999000;
    view.active = 0;
    wb->settings.colours.values[ColCursorF4F5] = 7;
    GraphScene scene{rec, wb->settings, view, nullptr, CaptionPlace::Invisible};
    const QSize size(300, 300);
    const QColor grey(128, 128, 128);
    auto columnIn = [&](const QImage& image, int row) {
        for (int x = 2; x < image.width() - 2; ++x)
            if (image.pixelColor(x, row) == grey)
                return x;
        return -1;
    };
    rec.desc(2).GrRepr = 6;
    QImage image = Render(scene, 2, size);
    QVERIFY(columnIn(image, 20) < 100);
    QVERIFY(columnIn(image, 280) > 200);
    rec.desc(2).GrRepr = 7;
    image = Render(scene, 2, size);
    QVERIFY(columnIn(image, 20) > 200);
    QVERIFY(columnIn(image, 280) < 100);

    // Bars reach from the zero row to each value.
    rec.desc(2).GrRepr = 2;
    image = Render(scene, 2, size);
    const int zeroRow = ValueToRow(0, DisplayRangeOf(rec.desc(2)), 300, DrawDirection::Upwards);
    QCOMPARE(image.pixelColor(250, zeroRow - 1), grey);
    QCOMPARE(image.pixelColor(250, ValueToRow(70, DisplayRangeOf(rec.desc(2)), 300, DrawDirection::Upwards)), grey);

    // " (Poly)" in purple after the name; B- and Sh-cursors where the flags ask for them.
    scene.caption = CaptionPlace::Top;
    rec.desc(2).bApplyPolynom = true;
    rec.desc(2).DisplayFlags = ShowBCursors | ShowShCursors;
    wb->settings.colours.values[ColCursorF4F5] = 16711680;
    view.at.Sh1 = 100000;
    view.at.Sh2 = 800000;
    image = Render(scene, 2, size);
    int purple = 0;  // the text is smoothed: count purplish pixels
    for (int y = 0; y < 20; ++y)
        for (int x = 100; x < 300; ++x) {
            const QColor c = image.pixelColor(x, y);
            purple += c.red() > c.green() + 40 && c.blue() > c.green() + 40;
        }
    QVERIFY(purple > 10);
    const int sh = LineColumn(view.at.Sh1, 0, 999000, 300);
    QVERIFY(CountColour(image, QColor(0, 128, 0), QRect(sh, 160, 1, 120)) > 100);  // solid, lower half
    QCOMPARE(CountColour(image, QColor(0, 128, 0), QRect(sh, 0, 1, 140)), 0);
    rec.desc(2).DisplayFlags = 0;
    QCOMPARE(CountColour(Render(scene, 2, size), QColor(0, 128, 0), QRect(0, 0, 300, 300)), 0);

    // Cross lines follow the mouse over the active strip.
    open();
    auto* cross = window->findChild<QCheckBox*>("crossLines");
    cross->setChecked(true);
    StripImage* strip = window->strip(0);
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), strip->mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &move);
    const QImage picture = strip->picture();
    QCOMPARE(picture.pixelColor(40, 5), Black);
    QCOMPARE(picture.pixelColor(strip->width() - 5, 30), Black);
    QCOMPARE(strip->cursor().shape(), Qt::BlankCursor);
}

void GraphWindowTest::envelopePictureMatchesEverySample()
{
    // 39 million samples: the envelope's picture and the every-sample one.
    Recording& rec = wb->rec;
    QVERIFY(rec.store.Allocate({true, false, false}));
    const int32_t n = SampleStore::Capacity;
    Fill(rec, 0, n, 1000, 0, 100, [](int32_t i) {
        const double slow = std::sin(i / 40000.0), fast = std::sin(i / 37.0);
        return 50 + 35 * slow + 8 * fast * (i % 100000 < 30000);
    });
    std::array<Envelope, 3> envelopes;
    BuildEnvelopes(rec, envelopes);
    ViewState view = InitialView(static_cast<double>(n - 1) * 1000);
    view.at.F1 = 0;
    view.at.F2 = view.T;
    GraphScene withEnvelope{rec, wb->settings, view, &envelopes, CaptionPlace::Invisible};
    GraphScene everySample{rec, wb->settings, view, nullptr, CaptionPlace::Invisible};
    wb->settings.colours.values[ColCursorF4F5] = 7;
    const QSize size(1536, 220);
    const QImage a = Render(withEnvelope, 0, size), b = Render(everySample, 0, size);
    const int differing = Differences(a, b);
    qInfo("pixels differing: %d of %d", differing, size.width() * size.height());
    QVERIFY(differing < size.width() * size.height() / 100);
}

QTEST_MAIN(GraphWindowTest)
#include "GraphWindowTest.moc"
