#include "support/ExampleWindowTest.h"

#include <QTest>
#include <cmath>

#include "core/files/ChannelSource.h"
#include "core/setup/SetupFile.h"
#include "core/view/RedrawRequest.h"
#include "support/DiveFixture.h"
#include "support/ScriptedDialogs.h"

namespace vk::test {

void ExampleWindowTest::sectionOverADive()
{
    LinePositions& at = window->view().at;
    at.F4 = std::floor(truth[2].start - 60) * 1000;
    at.F5 = std::floor(truth[2].end + 60) * 1000;
    at.F1 = at.F4 - 200000;
    at.F2 = at.F5 + 200000;
    window->executeRedraw(redraw::Everything);
}

void Grab(QWidget* w, const char* name)
{
    if (const QByteArray folder = qgetenv("VARNIK_GRAB_DIR"); !folder.isEmpty())
        w->grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

void ExampleWindowTest::openExample()
{
    dir = std::make_unique<TempDir>();
    files = example::WriteExample(dir->path(), 1);
    wb = std::make_unique<Workbench>();
    ui = std::make_unique<ScriptedDialogs>();
    QVERIFY(ReadSetup(files.setup, wb->rec, wb->settings));
    AllocateStore(wb->rec, *ui);
    QCOMPARE(StartRecording(*wb, *ui), StartResult::Loaded);
    truth = Simulate(86400).dives;
    help = std::make_unique<HelpViewer>(*ui, VARNIK_HELP_DIR "/");
    window = OpenActiveGraphWindow(*wb, *ui, *help);
    QVERIFY(window);
    ui->shown.clear();
}

void ExampleWindowTest::closeExample()
{
    delete window;
    help.reset();
    wb.reset();
    dir.reset();
}

}  // namespace vk::test
