#include "gui/app/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace vk {

std::string ProgramFolder()
{
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}

std::string HelpFolder()
{
    const QDir dir(QCoreApplication::applicationDirPath() + "/../share/varnik/help");
    return QDir::cleanPath(dir.absolutePath()).toStdString() + "/";
}

std::string ManualPath()
{
    const QDir dir(QCoreApplication::applicationDirPath() + "/../share/varnik/manual");
    return QDir::cleanPath(dir.absolutePath()).toStdString() + "/Manual-Kestrin.pdf";
}

std::string ExampleFolder()
{
    return (QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/Varnik example").toStdString();
}

std::string RunFolder()
{
    static QTemporaryDir folder(QDir::tempPath() + "/varnik-run-XXXXXX");
    return folder.path().toStdString();
}

std::string LastSettingsPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return (folder + "/$VM3dvT$.&&&").toStdString();
}

}  // namespace vk
