// Writes the graph window of a recording as a PNG, without a display: reads
// the setup file, runs Start and grabs the window on an offscreen screen.
//
//   varnik-picture <setup file> <picture.png> [width height [from to | search=SHAPE[+stop]]]
//
// from and to (seconds from the start) choose the window instead of the
// opening view; the cursors then stand at an eighth from its ends. search=W
// presses "Search next" until a dive of that shape (V U Y W P L X) is framed,
// search=W+stop until it also has a dive stop.

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QAction>
#include <string>

#include "OffscreenScreen.h"
#include "core/dive/SurfaceCheck.h"
#include "core/files/ChannelSource.h"
#include "core/help/ProgramHelp.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/store/ConsoleDialogs.h"
#include "gui/graph/GraphMenus.h"
#include "gui/graph/GraphWindow.h"
#include "gui/widgets/HelpViewer.h"

int main(int argc, char** argv)
{
    if (argc == 2 && vk::AnswerHelpOrVersion(vk::VarnikPictureHelp(), argv[1]))
        return 0;
    if (argc != 3 && argc != 5 && argc != 6 && argc != 7) {
        return vk::RefuseCommandLine(vk::VarnikPictureHelp());
    }
    const int width = argc >= 5 ? std::atoi(argv[3]) : 1920;
    const int height = argc >= 5 ? std::atoi(argv[4]) : 1080;
    constexpr int SmallestSide = 64, LargestSide = 16384;
    if (std::min(width, height) < SmallestSide || std::max(width, height) > LargestSide) {
        std::fprintf(stderr, "varnik-picture: a picture of %d to %d pixels a side, not %s x %s\n", SmallestSide,
                     LargestSide, argv[3], argv[4]);
        return 2;
    }
    UseOffscreenScreen(width, height);
    QApplication app(argc, argv);

    vk::ConsoleDialogs ui;
    vk::Workbench wb;
    if (!vk::ReadSetup(argv[1], wb.rec, wb.settings)) {
        std::fprintf(stderr, "varnik-picture: %s is not a setup file\n", argv[1]);
        return 1;
    }
    wb.setupFile = argv[1];
    vk::AllocateStore(wb.rec, ui);
    if (vk::StartRecording(wb, ui) != vk::StartResult::Loaded)
        return 1;
    vk::NoteSurfaceAfterStart(wb, ui);
    vk::HelpViewer help(ui, "");
    auto* window = new vk::GraphWindow(wb, ui, help);
    if (argc == 7) {
        vk::LinePositions& at = window->view().at;
        at.F1 = std::atof(argv[5]) * 1000.0;
        at.F2 = std::atof(argv[6]) * 1000.0;
        at.F4 = at.F1 + (at.F2 - at.F1) / 8;
        at.F5 = at.F2 - (at.F2 - at.F1) / 8;
        window->view().cursorStep = std::max(1.0, (at.F2 - at.F1) / 16);
        window->executeRedraw(0xFFFFFFFFu);
    }
    window->showMaximized();
    QApplication::processEvents();
    if (argc == 6 && std::string(argv[5]).rfind("search=", 0) == 0) {
        const std::string want = std::string(argv[5]).substr(7);
        const bool stop = want.find("+stop") != std::string::npos;
        for (int k = 0; k < 2000; ++k) {
            const double before = window->view().at.F5;
            window->menus().action("analysis.search-next")->trigger();
            const vk::DiveState& dive = wb.dive;
            if (!(window->view().at.F5 > before))
                break;  // no further dive
            if (vk::ShapeLetter(dive.record.shape) == want.at(0) && (!stop || dive.stops.total() > 0))
                break;
        }
        QApplication::processEvents();
    }
    const bool saved = window->grab().save(QString::fromLocal8Bit(argv[2]));
    delete window;
    if (!saved) {
        std::fprintf(stderr, "varnik-picture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
