#include "OffscreenScreen.h"

#include <QFile>
#include <QTemporaryDir>

void UseOffscreenScreen(int width, int height)
{
    // The platform reads its screens from a configuration file; it must last until the application starts.
    static QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return;
    }
    file.write(QString(R"({"screens": [{"name": "offscreen", "x": 0, "y": 0, "width": %1, "height": %2,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                   .arg(width)
                   .arg(height)
                   .toUtf8());
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
}
