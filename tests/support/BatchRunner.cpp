#include "support/BatchRunner.h"

#include <QCoreApplication>
#include <QProcess>

namespace vk::test {

QString BatchProgram()
{
    return QCoreApplication::applicationDirPath() + "/varnik-batch";
}

BatchRun RunBatch(const QStringList& arguments, bool quiet, const QProcessEnvironment& environment,
                  const std::function<void()>& inChild)
{
    constexpr int Patience = 300000;  // ms
    QProcess run;
    run.setProcessEnvironment(environment);
    if (inChild)
        run.setChildProcessModifier(inChild);
    run.start(BatchProgram(), (quiet ? QStringList{"--quiet"} : QStringList{}) + arguments);
    BatchRun result;
    if (run.waitForFinished(Patience) && run.exitStatus() == QProcess::NormalExit)
        result.exitCode = run.exitCode();
    result.out = run.readAllStandardOutput().toStdString();
    result.err = run.readAllStandardError().toStdString();
    return result;
}

}  // namespace vk::test
