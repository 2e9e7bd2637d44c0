#pragma once

// varnik-batch as a test runs it: the program beside the test, its exit code
// and both outputs.

#include <QProcessEnvironment>
#include <QStringList>
#include <functional>
#include <string>

namespace vk::test {

struct BatchRun {
    int exitCode = -1;  // -1: it did not end normally
    std::string out, err;
};

// With --quiet in front unless `quiet` is false; `environment` for the process when given.
// `inChild` runs in the child before the program starts (a resource limit, say).
BatchRun RunBatch(const QStringList& arguments, bool quiet = true,
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                  const std::function<void()>& inChild = {});

// The program's path beside the test.
QString BatchProgram();

}  // namespace vk::test
