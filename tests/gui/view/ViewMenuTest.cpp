// The View menu on the example day: grid and subsidiary lines.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <vector>

#include "core/view/RedrawRequest.h"
#include "gui/graph/GraphPainter.h"
#include "gui/graph/StripImage.h"
#include "support/ExampleWindowTest.h"

namespace vk {

class ViewMenuTest : public test::ExampleWindowTest {
    Q_OBJECT

private Q_SLOTS:
    void init() { openExample(); }
    void cleanup() { closeExample(); }
    void gridAndSubsidiaryLines();
    void windowHeights();
    void chartStyle();

private:
    void run(const char* item) { window->menus().action(item)->trigger(); }
};

void ViewMenuTest::gridAndSubsidiaryLines()
{
    const int slot = window->activeChannel();
    ui->inputs.push_back("20");
    run("view.grid");
    QCOMPARE(wb->rec.desc(slot).GridDist, 20.0);

    bool shown = false;
    test::WhenDialogShows([&](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Subsidiary lines"));
        dialog->findChild<QCheckBox*>("cbxLine1")->setChecked(true);
        dialog->findChild<QLineEdit*>("edtLine1")->setText("abc");
        dialog->accept();
        QCOMPARE(ui->texts().back(), std::string("Line 1: 'abc' is not a valid floating point value"));
        QVERIFY(dialog->isVisible());
        dialog->findChild<QLineEdit*>("edtLine1")->setText("30");
        dialog->accept();
        shown = true;
    });
    run("view.subsidiary-lines");
    QVERIFY(shown);
    const SubsidiaryLines& lines = wb->settings.subsidiaryLines[static_cast<std::size_t>(slot)];
    QCOMPARE(lines[1].value, 30.0);
    QCOMPARE(lines[1].flag, 1.0);
    QCOMPARE(lines[0].flag, 1.0);
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        window->strip(slot)->grab().save(QString::fromUtf8(folder) + "/grid-and-line.png");
}

void ViewMenuTest::windowHeights()
{
    std::vector<int> loaded;
    for (int s = 0; s < SlotCount; ++s)
        if (wb->rec.at(s).ChannelUsed)
            loaded.push_back(s);
    QVERIFY(loaded.size() >= 2);
    const int hidden = loaded[1];
    window->setActiveChannel(hidden);
    auto heights = [&](std::vector<int> values) {
        test::WhenDialogShows([values](QWidget* w) {
            auto* dialog = qobject_cast<QDialog*>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("Change Window Height"));
            for (int s = 0; s < SlotCount; ++s)
                if (auto* bar = dialog->findChild<QScrollBar*>(QString("sbHeight%1").arg(s)); bar && bar->isVisible())
                    bar->setValue(values[static_cast<std::size_t>(s)]);
            if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
                dialog->grab().save(QString::fromUtf8(folder) + "/window-heights.png");
            dialog->accept();
        });
        run("view.window-height");
        QApplication::processEvents();
    };
    // 3, 0, 3: the middle strip goes, the active channel moves to one shown.
    std::vector<int> values(SlotCount, 3);
    values[static_cast<std::size_t>(hidden)] = 0;
    heights(values);
    QVERIFY(window->strip(hidden) == nullptr);
    QVERIFY(window->activeChannel() != hidden);
    QVERIFY(window->strip(window->activeChannel()) != nullptr);
    QCOMPARE(int{wb->rec.desc(hidden).WndSze}, 0);
    // All 0: every loaded channel gets a strip again, of equal height.
    heights(std::vector<int>(SlotCount, 0));
    for (const int s : loaded) {
        QVERIFY(window->strip(s) != nullptr);
        QCOMPARE(int{wb->rec.desc(s).WndSze}, 1);
    }
    QCOMPARE(window->strip(loaded[0])->height(), window->strip(loaded[1])->height());
}

void ViewMenuTest::chartStyle()
{
    const int slot = window->activeChannel();
    // A strip that is not the active one: its curve stays, its caption moves.
    const int other = slot == 0 ? 2 : 0;
    const auto band = [&](bool top) {
        const QImage strip = window->strip(other)->grab().toImage();
        constexpr int Rows = 14;
        return strip.copy(0, top ? 0 : strip.height() - Rows, strip.width(), Rows);
    };
    const QImage topBefore = band(true), bottomBefore = band(false);
    // Cancel keeps all but the interpolation, which acts at once.
    test::WhenDialogShows([](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Chart Style"));
        dialog->findChild<QRadioButton*>("rbtBottom")->setChecked(true);
        dialog->findChild<QCheckBox*>("cbxInterpolate")->setChecked(false);
        dialog->reject();
    });
    run("view.style");
    QCOMPARE(window->view().caption, CaptionPlace::Top);
    QVERIFY(!window->view().interpolate);
    // OK: the captions at the bottom of every strip, the style inverted bars.
    test::WhenDialogShows([](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
            dialog->grab().save(QString::fromUtf8(folder) + "/chart-style.png");
        dialog->findChild<QRadioButton*>("rbtBottom")->setChecked(true);
        dialog->findChild<QRadioButton*>("rbtBars")->setChecked(true);
        dialog->findChild<QRadioButton*>("rbtInverted")->setChecked(true);
        dialog->accept();
    });
    run("view.style");
    QCOMPARE(window->view().caption, CaptionPlace::Bottom);
    QCOMPARE(wb->rec.desc(slot).GrRepr, -2);
    QVERIFY(band(true) != topBefore);
    QVERIFY(band(false) != bottomBefore);
}

}  // namespace vk

QTEST_MAIN(vk::ViewMenuTest)
#include "ViewMenuTest.moc"
