#include "app/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace vk {

std::string ProgramVersion()
{
#ifdef VARNIK_VERSION
    return VARNIK_VERSION;
#else
    return "-1";
#endif
}

std::string ProgramFolder()
{
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}

std::string HelpFolder()
{
    const QDir dir(QCoreApplication::applicationDirPath() + "/../share/varnik/help");
    return QDir::cleanPath(dir.absolutePath()).toStdString() + "/";
}

std::string LastSettingsPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return (folder + "/$VM3dvT$.&&&").toStdString();
}

}  // namespace vk
