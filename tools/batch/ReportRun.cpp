#include "batch/ReportRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "batch/RecordingRun.h"
#include "batch/Workers.h"
#include "core/dive/StudyTables.h"
#include "gui/report/StudyReport.h"

namespace vk {

namespace {

// A process draws at least this many recordings' pictures: fewer, and
// starting it and reading the study costs more than it saves.
constexpr std::size_t LeastRecordingsPerShare = 4;

// Starts this program on one share; -1 when it could not be started. The
// child only starts the program: everything it needs is made before the fork.
pid_t StartShare(const std::string& study, const std::string& report, int share, int shares)
{
    std::vector<std::string> args{"varnik-batch",
                                  ReportShareOption,
                                  std::to_string(share) + "/" + std::to_string(shares),
                                  "--study",
                                  study,
                                  "--report",
                                  report};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string& program = ProgramFile();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(program.c_str(), argv.data());
        std::fprintf(stderr, "cannot start a process for the report's pictures: %s\n", std::strerror(errno));
        _exit(127);
    }
    return pid;
}

bool Drawn(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The toolkit started and the study tables read; false after saying why not.
bool ReadForReport(const std::string& study, std::vector<RecordingStudy>& recordings)
{
    StartOffscreenToolkit();
    std::string error;
    if (ReadStudy(study, recordings, error))
        return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

}  // namespace

int DrawReportShare(const std::string& study, const std::string& report, int share, int shares)
{
    std::vector<RecordingStudy> recordings;
    std::string error;
    if (!ReadForReport(study, recordings))
        return 1;
    for (auto k = static_cast<std::size_t>(share); k < recordings.size(); k += static_cast<std::size_t>(shares))
        if (!DrawRecordingPictures(report, recordings[k], error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    return 0;
}

int WriteReport(const std::string& study, const std::string& report, int jobs)
{
    if (report.empty())
        return 0;
    std::vector<RecordingStudy> recordings;
    std::string error;
    if (!ReadForReport(study, recordings))
        return 1;
    const int shares = static_cast<int>(std::clamp<std::size_t>(recordings.size() / LeastRecordingsPerShare, 1,
                                                                static_cast<std::size_t>(std::max(jobs, 1))));
    std::vector<pid_t> started;
    bool drawn = true;
    if (shares > 1) {
        std::error_code ec;
        std::filesystem::create_directories(report, ec);
        std::fflush(nullptr);  // nothing buffered is written twice
        for (int share = 1; share < shares; ++share) {
            const pid_t pid = StartShare(study, report, share, shares);
            if (pid < 0)
                drawn = false;
            else
                started.push_back(pid);
        }
        for (auto k = std::size_t{0}; drawn && k < recordings.size(); k += static_cast<std::size_t>(shares))
            drawn = DrawRecordingPictures(report, recordings[k], error);
        for (const pid_t pid : started)
            drawn = Drawn(pid) && drawn;
        if (!drawn) {
            std::fprintf(stderr, "%s\n",
                         error.empty() ? "The report's pictures could not all be drawn; the report is not written."
                                       : error.c_str());
            return 1;
        }
    }
    if (!WriteStudyReport(report, recordings, error, shares > 1)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("report: %s\n", (std::filesystem::path(report) / "index.html").string().c_str());
    return 0;
}

}  // namespace vk
