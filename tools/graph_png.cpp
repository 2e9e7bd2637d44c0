// Writes the graph window of a recording as a PNG, without a display: reads
// the setup file, runs Start and grabs the window on an offscreen screen.
//
//   graph_png <setup file> <picture.png> [width height [from to]]
//
// from and to (seconds from the start) choose the window instead of the
// opening view; the cursors then stand at an eighth from its ends.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/SetupFile.h"
#include "app/Start.h"
#include "graph/HelpViewer.h"
#include "graph/Unit3.h"
#include "store/ConsoleDialogs.h"

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5 && argc != 7) {
        std::fprintf(stderr, "usage: graph_png <setup file> <picture.png> [width height [from to]]\n");
        return 2;
    }
    const int width = argc >= 5 ? std::atoi(argv[3]) : 1920;
    const int height = argc >= 5 ? std::atoi(argv[4]) : 1080;
    // The offscreen platform takes its screen size from a configuration file.
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    {
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(QString(R"({"screens": [{"name": "offscreen", "x": 0, "y": 0, "width": %1, "height": %2,
                               "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                       .arg(width)
                       .arg(height)
                       .toUtf8());
    }
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    QApplication app(argc, argv);

    vk::ConsoleDialogs ui;
    vk::Workbench wb;
    if (!vk::ReadSetup(argv[1], wb.rec, wb.settings)) {
        std::fprintf(stderr, "graph_png: %s is not a setup file\n", argv[1]);
        return 1;
    }
    wb.setupFile = argv[1];
    vk::AllocateStore(wb.rec, ui);
    if (vk::StartRecording(wb, ui) != vk::StartResult::Loaded)
        return 1;
    vk::HelpViewer help(ui, "");
    auto* window = new vk::TForm3(wb, ui, help);
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
    const bool saved = window->grab().save(QString::fromLocal8Bit(argv[2]));
    delete window;
    if (!saved) {
        std::fprintf(stderr, "graph_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
