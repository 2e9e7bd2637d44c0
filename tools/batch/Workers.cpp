#include "batch/Workers.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <string>

#include "batch/Interruption.h"
#include "core/dive/StudyTables.h"

namespace vk {

namespace {

// Starts a progress line of a worker's standard output.
constexpr char ProgressMark = '\x1e';
constexpr int BarWidth = 25;

struct Worker {
    std::size_t job = 0;
    pid_t pid = -1;
    int out = -1, err = -1;  // read ends; -1 once at their end
    std::string outText, errText, pending;
    double share = 0;
    int dives = 0;
};

}  // namespace

const std::string& ProgramFile()
{
    static const std::string program = [] {
        std::error_code ec;
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
        return ec ? std::string("/proc/self/exe") : self.string();
    }();
    return program;
}

namespace {

bool Spawn(const WorkerJob& job, const WorkerOptions& options, Worker& w)
{
    int out[2], err[2];
    if (pipe(out) != 0)
        return false;
    if (pipe(err) != 0) {
        close(out[0]);
        close(out[1]);
        return false;
    }
    std::vector<std::string> args{"varnik-batch", "--worker"};
    if (options.jobs > 1)
        args.emplace_back("--serial-load");  // the workers share the cores already
    if (options.append)
        args.emplace_back("--append");
    if (options.outliersMissing) {
        args.emplace_back("--outliers");
        args.emplace_back("missing");
    }
    if (options.fitBouts) {
        args.emplace_back("--bout-criterion");
        args.emplace_back("fit");
    }
    if (options.suggest)
        args.emplace_back("--suggest");
    if (!options.report.empty()) {
        args.emplace_back("--report");
        args.push_back(options.report);
    }
    if (!job.part.empty()) {
        args.emplace_back("--part");
        args.push_back(job.part);
    }
    args.emplace_back("--name");
    args.push_back(job.name);
    args.push_back(job.setup);
    const std::string& program = ProgramFile();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        for (int fd : {out[0], out[1], err[0], err[1]})
            close(fd);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        std::fprintf(stderr, "cannot start a worker: %s\n", std::strerror(errno));
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    if (pid < 0) {
        close(out[0]);
        close(err[0]);
        return false;
    }
    w.pid = pid;
    StopOnInterrupt(pid);
    w.out = out[0];
    w.err = err[0];
    return true;
}

// Reads what is there; false at the pipe's end.
bool Drain(int fd, std::string& into)
{
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
        into.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    return n < 0 && (errno == EINTR || errno == EAGAIN);
}

// Splits the worker's standard output into its progress and the lines it keeps.
void TakeOutput(Worker& w)
{
    std::size_t end;
    while ((end = w.pending.find('\n')) != std::string::npos) {
        const std::string line = w.pending.substr(0, end + 1);
        w.pending.erase(0, end + 1);
        if (!line.empty() && line[0] == ProgressMark)
            std::sscanf(line.c_str() + 1, "%lf %d", &w.share, &w.dives);
        else
            w.outText += line;
    }
}

class ProgressBlock {
public:
    explicit ProgressBlock(bool shown) : shown_(shown) {}
    void clear()
    {
        if (!shown_)
            return;
        for (int k = 0; k < lines_; ++k)
            std::fprintf(stderr, "\x1b[1A\x1b[2K");
        lines_ = 0;
    }
    void draw(const std::deque<Worker>& running, const std::vector<WorkerJob>& jobs, std::size_t done)
    {
        if (!shown_)
            return;
        clear();
        for (const Worker& w : running) {
            const int filled = static_cast<int>(w.share * BarWidth);
            std::fprintf(stderr, "%-24.24s [%s%s] %3d %%  %d dives\n", jobs[w.job].name.c_str(),
                         std::string(static_cast<std::size_t>(filled), '#').c_str(),
                         std::string(static_cast<std::size_t>(BarWidth - filled), '.').c_str(),
                         static_cast<int>(w.share * 100), w.dives);
            ++lines_;
        }
        std::fprintf(stderr, "%zu of %zu recordings done\n", done, jobs.size());
        ++lines_;
        std::fflush(stderr);
    }

private:
    bool shown_;
    int lines_ = 0;
};

// The study tables of a job that has no analysis: a line saying why.
void KeepReason(const WorkerJob& job, const std::string& why)
{
    if (job.part.empty())
        return;
    StudyPart part;
    part.recording = job.name;
    part.summary.error = why;
    std::string error;
    if (!WriteStudyTables(job.part, {part}, error))
        std::fprintf(stderr, "%s\n", error.c_str());
}

// A worker that ended without its study tables gets a line saying how it ended.
void KeepFailure(const WorkerJob& job, int status)
{
    if (job.part.empty() || std::filesystem::exists(std::filesystem::path(job.part) / ManifestFile))
        return;
    KeepReason(job, WIFSIGNALED(status) ? "The analysis ended abnormally (signal " + std::to_string(WTERMSIG(status)) +
                                              ", " + strsignal(WTERMSIG(status)) + ")"
                                        : "The analysis ended without results");
}

}  // namespace

void ReportProgress(double share, int dives)
{
    std::printf("%c%.4f %d\n", ProgressMark, share, dives);
    std::fflush(stdout);
}

std::vector<bool> RunWorkers(const std::vector<WorkerJob>& jobs, const WorkerOptions& options)
{
    std::vector<bool> ok(jobs.size(), false);
    std::deque<Worker> running;
    std::size_t next = 0, done = 0;
    ProgressBlock block(options.showProgress);
    while (next < jobs.size() || !running.empty()) {
        while (next < jobs.size() && static_cast<int>(running.size()) < std::max(options.jobs, 1)) {
            Worker w;
            w.job = next++;
            if (!jobs[w.job].refusal.empty()) {
                block.clear();
                std::fprintf(stderr, "%s\n", jobs[w.job].refusal.c_str());
                KeepReason(jobs[w.job], jobs[w.job].refusal);
                ++done;
            } else if (Spawn(jobs[w.job], options, w)) {
                running.push_back(std::move(w));
            } else {
                std::fprintf(stderr, "%s: cannot start a worker: %s\n", jobs[w.job].setup.c_str(),
                             std::strerror(errno));
                KeepFailure(jobs[w.job], 0);
                ++done;
            }
        }
        block.draw(running, jobs, done);
        std::vector<pollfd> fds;
        for (const Worker& w : running)
            for (const int fd : {w.out, w.err})
                if (fd >= 0)
                    fds.push_back({fd, POLLIN, 0});
        if (!fds.empty() && poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            break;
        for (Worker& w : running) {
            for (int* fd : {&w.out, &w.err}) {
                if (*fd < 0)
                    continue;
                const auto at = std::find_if(fds.begin(), fds.end(), [fd](const pollfd& p) { return p.fd == *fd; });
                if (at == fds.end() || !(at->revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                if (!Drain(*fd, fd == &w.out ? w.pending : w.errText)) {
                    close(*fd);
                    *fd = -1;
                }
            }
            TakeOutput(w);
        }
        // Workers at the end of both pipes are done: their output goes out whole.
        for (auto w = running.begin(); w != running.end();) {
            if (w->out >= 0 || w->err >= 0) {
                ++w;
                continue;
            }
            int status = 0;
            while (waitpid(w->pid, &status, 0) < 0 && errno == EINTR) {
            }
            ForgetWorker(w->pid);
            ok[w->job] = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            KeepFailure(jobs[w->job], status);
            block.clear();
            std::fputs(w->errText.c_str(), stderr);
            if (WIFSIGNALED(status))
                std::fprintf(stderr, "%s: the worker analysing it was killed (signal %d, %s)\n",
                             jobs[w->job].setup.c_str(), WTERMSIG(status), strsignal(WTERMSIG(status)));
            std::fputs(w->outText.c_str(), stdout);
            std::fflush(stdout);
            ++done;
            w = running.erase(w);
        }
    }
    block.draw({}, jobs, done);
    return ok;
}

}  // namespace vk
