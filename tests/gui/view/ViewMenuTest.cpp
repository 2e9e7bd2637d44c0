// The View menu on the example day: grid and subsidiary lines.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

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

private:
    void run(const char* item) { window->menus().action(item)->trigger(); }
};

void ViewMenuTest::gridAndSubsidiaryLines()
{
    const int slot = window->activeChannel();
    ui->inputs.push_back("20");
    run("mniGrid");
    QCOMPARE(wb->rec.desc(slot).GridDist, 20.0);

    bool shown = false;
    test::WhenDialogShows([&](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("FrmSubsidLine"));
        dialog->findChild<QCheckBox*>("cbxLine1")->setChecked(true);
        dialog->findChild<QLineEdit*>("edtLine1")->setText("abc");
        dialog->accept();
        QCOMPARE(ui->texts().back(), std::string("Line 1: 'abc' is not a valid floating point value"));
        QVERIFY(dialog->isVisible());
        dialog->findChild<QLineEdit*>("edtLine1")->setText("30");
        dialog->accept();
        shown = true;
    });
    run("mniSubsidLine");
    QVERIFY(shown);
    const SubsidiaryLines& lines = wb->settings.subsidiaryLines[static_cast<std::size_t>(slot)];
    QCOMPARE(lines[1].value, 30.0);
    QCOMPARE(lines[1].flag, 1.0);
    QCOMPARE(lines[0].flag, 1.0);
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        window->strip(slot)->grab().save(QString::fromUtf8(folder) + "/grid-and-line.png");
}

}  // namespace vk

QTEST_MAIN(vk::ViewMenuTest)
#include "ViewMenuTest.moc"
