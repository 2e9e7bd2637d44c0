#pragma once

// The fixture of the Qt tests on the dive analysis: a day of the example
// recording loaded through Start, its graph window open and active.

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

#include "core/example/ExampleRecording.h"
#include "core/setup/Start.h"
#include "gui/graph/GraphWindow.h"
#include "gui/widgets/HelpViewer.h"
#include "support/GuiFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk::test {

class ExampleWindowTest : public QObject {
protected:
    // From the test's init() and cleanup().
    void openExample();
    void closeExample();

    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { Key(window, k, m); }
    // The work section around the third dive of the day, the window around it.
    void sectionOverADive();

    std::unique_ptr<TempDir> dir;
    example::ExampleFiles files;
    std::unique_ptr<Workbench> wb;
    std::unique_ptr<ScriptedDialogs> ui;
    std::unique_ptr<HelpViewer> help;
    std::vector<example::DiveTruth> truth;  // the generated dives of the day
    QPointer<GraphWindow> window;
};

// Saves w as name.png into $VARNIK_GRAB_DIR, when it is set.
void Grab(QWidget* w, const char* name);

}  // namespace vk::test
