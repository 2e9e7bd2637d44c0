#include "support/BatchRunner.h"

#include <QCoreApplication>
#include <QProcess>

namespace vk::test {

BatchRun RunBatch(const QStringList& arguments, bool quiet, const QProcessEnvironment& environment)
{
    constexpr int Patience = 300000;  // ms
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start(QCoreApplication::applicationDirPath() + "/varnik-batch",
              (quiet ? QStringList{"--quiet"} : QStringList{}) + arguments);
    BatchRun result;
    if (run.waitForFinished(Patience) && run.exitStatus() == QProcess::NormalExit)
        result.exitCode = run.exitCode();
    result.out = run.readAllStandardOutput().toStdString();
    result.err = run.readAllStandardError().toStdString();
    return result;
}

}  // namespace vk::test
