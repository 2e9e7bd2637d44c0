#include "support/ExampleWindowTest.h"

#include <QTest>

#include "core/setup/SetupFile.h"
#include "support/DiveFixture.h"
#include "support/ScriptedDialogs.h"

namespace vk::test {

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
