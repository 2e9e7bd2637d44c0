// varnik-batch: the automatic dive analysis over whole recordings, without a
// window. For each setup file: Start, then the automatic analysis from the
// first to the last sample with the setup's dive parameters, writing the dive,
// wiggle and bout result files as the program does (images and thumbnails
// too when the setup asks, drawn offscreen by the program's painter).
//
// Its usage and options: `varnik-batch --help` (core/help/ProgramHelp.cpp).
//
// Each run writes fresh result files: earlier ones are kept as "<name>.1"
// ("<name>.2", ... for older ones). With --append the lines are added to them.
// Questions take the answer that changes nothing and are printed to standard
// error with every message. A recording that cannot be loaded, or whose depth
// channel holds no values, is reported and the exit status is 1; the others
// still run. The progress is drawn only on a terminal.
//
// -j N runs up to N recordings at once (default: the number of cores), each
// in a process of its own. --study DIR also writes the study tables
// DIR/dives.tsv, DIR/bouts.tsv and DIR/recordings.tsv. --task runs only the
// I-th setup (counted from 1) of a list file with one setup per line (I from
// SLURM_ARRAY_TASK_ID when not given), its study tables going to
// DIR/parts/I; --merge DIR joins DIR/parts/* into DIR's study tables. Each
// task writes a manifest after its tables; the merge refuses a task that is
// missing or not what its manifest says, unless --partial, which joins the
// whole tasks and gives each other one a recordings.tsv line saying why.
// --report DIR writes DIR/index.html with its pictures from the study tables
// (which go to DIR too when --study is not given).
// --bout-criterion fit groups each recording's bouts with the pause where the
// two processes fitted to its pauses between dives cross, instead of the
// setup's bout pause (fixed, the default); a recording whose pauses give no
// criterion keeps the setup's and says why.
// --suggest lets each record suggest the dive parameters its setup leaves as
// the program has them (threshold, surface baseline, end of dive, wiggles,
// temperature and speed) and prints which it took.
// A value far beyond the bulk of a file's values (a logger's write error)
// refuses its recording, naming the value, its line and the bound; with
// --outliers missing such values are taken as missing and their lines listed.

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "batch/Describe.h"
#include "batch/Interruption.h"
#include "batch/RecordingRun.h"
#include "batch/ReportRun.h"
#include "batch/ResultFiles.h"
#include "batch/Workers.h"
#include "core/dive/StudySummary.h"
#include "core/dive/StudyTables.h"
#include "core/help/ProgramHelp.h"
#include "gui/report/StudyReport.h"

namespace {

using namespace vk;
namespace fs = std::filesystem;

// A bar on the terminal, redrawn when the whole percentage changes.
class TerminalProgress {
public:
    explicit TerminalProgress(bool shown) : shown_(shown) {}
    void update(double share, int dives)
    {
        const int percent = static_cast<int>(share * 100);
        if (!shown_ || percent == percent_)
            return;
        percent_ = percent;
        const int filled = percent / 4;
        std::fprintf(stderr, "\r[%s%s] %3d %%  %d dives", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(25 - filled), '.').c_str(), percent, dives);
        std::fflush(stderr);
    }
    void done()
    {
        if (shown_ && percent_ >= 0)
            std::fprintf(stderr, "\n");
        percent_ = -1;
    }

private:
    bool shown_;
    int percent_ = -1;
};

struct Options {
    std::string answer;       // --help or --version: that, and nothing else
    bool quiet = false;       // no progress
    bool append = false;      // add to the result files instead of starting fresh ones
    int jobs = 0;             // 0: the number of cores
    std::string study;        // folder of the study tables; empty for none
    std::string report;       // folder of the report; empty for none
    std::string part;         // a worker's folder for its study tables
    bool worker = false;      // run by RunWorkers: progress as lines for the parent
    bool serialLoad = false;  // a worker beside others reads and analyses on one core
    bool task = false;
    long taskIndex = 0;  // from 1; 0: from SLURM_ARRAY_TASK_ID
    long taskCount = 0;  // the setups the task's list holds
    std::string merge;
    bool partial = false;          // --partial: merge the whole tasks, name the others
    bool fitBouts = false;         // --bout-criterion fit
    bool suggest = false;          // --suggest: the record's suggestion where the setup leaves the program's values
    bool outliersMissing = false;  // --outliers missing
    bool describe = false;         // --describe: the arguments are data files to propose setups for
    std::string templatePath, outDir;
    std::vector<std::string> setups;
    std::vector<std::string> names;          // the recordings' names in the study, one per setup
    std::vector<std::string> refusals;       // per setup: why it is not analysed; empty to analyse it
    int reportShare = -1, reportShares = 0;  // a process drawing a share of the report's pictures
};

// Processes at once: -j, or one a core.
int Jobs(const Options& o)
{
    return o.jobs > 0 ? o.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

bool Number(const std::string& text, long& value)
{
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

// Reads the arguments; false (after saying why) when they make no sense.
bool Parse(int argc, char** argv, Options& o)
{
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        auto value = [&](std::string& into) {
            if (k + 1 >= argc)
                return false;
            into = argv[++k];
            return true;
        };
        long n = 0;
        std::string text;
        if (arg == "--help" || arg == "-h" || arg == "--version") {
            o.answer = arg;
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "--append") {
            o.append = true;
        } else if (arg == "--worker") {
            o.worker = true;
        } else if (arg == ReportShareOption) {
            long share = 0, shares = 0;
            const std::size_t slash = value(text) ? text.find('/') : std::string::npos;
            if (slash == std::string::npos || !Number(text.substr(0, slash), share) ||
                !Number(text.substr(slash + 1), shares) || share < 0 || share >= shares)
                return false;
            o.reportShare = static_cast<int>(share);
            o.reportShares = static_cast<int>(shares);
        } else if (arg == "--serial-load") {
            o.serialLoad = true;
        } else if (arg == "-j" || arg.rfind("-j", 0) == 0) {
            if (arg == "-j" ? !value(text) : (text = arg.substr(2), false))
                return false;
            if (!Number(text, n) || n < 1) {
                std::fprintf(stderr, "-j wants a number of recordings at once, 1 or more, not '%s'\n", text.c_str());
                return false;
            }
            o.jobs = static_cast<int>(n);
        } else if (arg == "--study") {
            if (!value(o.study))
                return false;
        } else if (arg == "--report") {
            if (!value(o.report))
                return false;
        } else if (arg == "--part") {
            if (!value(o.part))
                return false;
        } else if (arg == "--name") {
            std::string name;
            if (!value(name))
                return false;
            o.names.push_back(name);
        } else if (arg == "--outliers") {
            if (!value(text) || (text != "missing" && text != "refuse")) {
                std::fprintf(stderr, "--outliers wants missing or refuse\n");
                return false;
            }
            o.outliersMissing = text == "missing";
        } else if (arg == "--bout-criterion") {
            if (!value(text) || (text != "fit" && text != "fixed")) {
                std::fprintf(stderr, "--bout-criterion wants fit or fixed\n");
                return false;
            }
            o.fitBouts = text == "fit";
        } else if (arg == "--merge") {
            if (!value(o.merge))
                return false;
        } else if (arg == "--suggest") {
            o.suggest = true;
        } else if (arg == "--describe") {
            o.describe = true;
        } else if (arg == "--template") {
            if (!value(o.templatePath))
                return false;
        } else if (arg == "--out-dir") {
            if (!value(o.outDir))
                return false;
        } else if (arg == "--partial") {
            o.partial = true;
        } else if (arg == "--task") {
            o.task = true;
            if (k + 1 < argc && Number(argv[k + 1], n)) {
                o.taskIndex = n;
                ++k;
            }
        } else {
            o.setups.push_back(arg);
        }
    }
    return true;
}

// The setups of a list file, one per line; a name without a folder is taken
// from the list's folder. Empty lines and lines beginning with '#' are skipped.
std::vector<std::string> SetupList(const std::string& file)
{
    std::ifstream in(file);
    std::vector<std::string> setups;
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        fs::path p(line);
        setups.push_back(p.is_absolute() ? line : (fs::path(file).parent_path() / p).string());
    }
    return setups;
}

// The task's study tables go to DIR/parts/I.
std::string TaskPart(const std::string& study, long index)
{
    return (fs::path(study) / "parts" / std::to_string(index)).string();
}

// The task folders DIR/parts/1 .. DIR/parts/N, N the number of tasks the
// manifests name (or the highest folder there), so that a task that never
// wrote its folder is missed rather than passed over.
std::vector<std::string> TaskParts(const std::string& study)
{
    long count = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(study) / "parts", ec)) {
        long n = 0;
        if (!entry.is_directory() || !Number(entry.path().filename().string(), n))
            continue;
        count = std::max(count, n);
        Manifest manifest;
        std::string problem;
        if (ReadManifest(entry.path().string(), manifest, problem))
            count = std::max(count, manifest.task.count);
    }
    std::vector<std::string> parts;
    for (long n = 1; n <= count; ++n)
        parts.push_back(TaskPart(study, n));
    return parts;
}

int Merge(const std::string& study, const std::string& report, bool partial, int jobs)
{
    const std::vector<std::string> parts = TaskParts(study);
    if (parts.empty()) {
        std::fprintf(stderr, "%s/parts holds no task tables to merge\n", study.c_str());
        return 1;
    }
    MergeOptions options;
    options.partial = partial;
    for (std::size_t k = 0; k < parts.size(); ++k)
        options.names.push_back("task " + std::to_string(k + 1));
    std::string error;
    if (!MergeStudyTables(study, parts, error, options)) {
        std::fprintf(stderr, "%s\n%s\n", error.c_str(),
                     "Run the missing tasks again, or merge with --partial to join the whole ones.");
        return 1;
    }
    std::printf("%s: the study tables of %zu tasks\n", study.c_str(), parts.size());
    return WriteReport(study, report, jobs);
}

// Empty when files can be made in `folder` (made when missing), else why not:
// found before the first recording is analysed, not after the last.
std::string FolderUnwritable(const std::string& folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return "Cannot make the folder " + folder + ": " + ec.message();
    std::string probe = (fs::path(folder) / ".varnik-probe-XXXXXX").string();
    const int fd = mkstemp(probe.data());
    if (fd < 0)
        return "Cannot write in the folder " + folder + ": " + std::strerror(errno);
    close(fd);
    fs::remove(probe, ec);
    return {};
}

// The recordings one after another in this process.
int RunHere(const Options& o)
{
    std::vector<StudyPart> parts;
    int status = 0;
    const std::vector<std::string> names = o.names.size() == o.setups.size() ? o.names : RecordingNames(o.setups);
    for (std::size_t k = 0; k < o.setups.size(); ++k) {
        const std::string& setup = o.setups[k];
        if (k < o.refusals.size() && !o.refusals[k].empty()) {
            StudyPart refused;
            refused.recording = names[k];
            refused.summary.error = o.refusals[k];
            std::fprintf(stderr, "%s\n", o.refusals[k].c_str());
            parts.push_back(std::move(refused));
            status = 1;
            continue;
        }
        TerminalProgress bar(!o.quiet && !o.worker && isatty(fileno(stderr)));
        RecordingOptions ro;
        ro.name = names[k];
        ro.append = o.append;
        ro.report = o.report;
        ro.studyLines = !o.part.empty() || !o.study.empty() || !o.report.empty();
        ro.loadParts = o.serialLoad ? 1 : 0;
        ro.analysisThreads = o.serialLoad ? 1 : 0;
        ro.fitBouts = o.fitBouts;
        ro.suggest = o.suggest;
        ro.outliersMissing = o.outliersMissing;
        if (o.worker)
            ro.progress = ReportProgress;
        else
            ro.progress = [&bar](double share, int dives) { bar.update(share, dives); };
        parts.push_back(RunRecording(setup, ro));
        bar.done();
        if (!parts.back().summary.error.empty())
            status = 1;
    }
    const std::string folder = !o.part.empty() ? o.part : !o.study.empty() ? o.study : o.report;
    if (!folder.empty()) {
        std::string error;
        if (!WriteStudyTables(folder, parts, error, {o.taskIndex, o.taskCount})) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    if (o.worker || !o.part.empty())
        return status;  // the report is made once the parts are joined
    return WriteReport(folder, o.report, Jobs(o)) != 0 ? 1 : status;
}

// The recordings in worker processes, their study tables joined in the setups' order.
int RunInWorkers(const Options& o, int jobs)
{
    std::vector<WorkerJob> work;
    std::string partsFolder;
    const std::string study = !o.study.empty() ? o.study : o.report;
    if (!study.empty()) {
        partsFolder = (fs::path(study) / (".parts-" + std::to_string(getpid()))).string();
        fs::remove_all(partsFolder);
    }
    const std::vector<std::string> names = RecordingNames(o.setups);
    for (std::size_t k = 0; k < o.setups.size(); ++k)
        work.push_back({o.setups[k], names[k], partsFolder.empty() ? "" : partsFolder + "/" + std::to_string(k + 1),
                        k < o.refusals.size() ? o.refusals[k] : std::string()});
    const std::vector<bool> ok = RunWorkers(
        work, {jobs, o.append, o.fitBouts, o.suggest, o.outliersMissing, o.report, !o.quiet && isatty(fileno(stderr))});
    int status = std::all_of(ok.begin(), ok.end(), [](bool b) { return b; }) ? 0 : 1;
    if (!partsFolder.empty()) {
        std::vector<std::string> parts;
        for (const WorkerJob& j : work)
            parts.push_back(j.part);
        std::string error;
        MergeOptions options;
        options.names = names;
        if (!MergeStudyTables(study, parts, error, options)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::error_code ec;
        fs::remove_all(partsFolder, ec);
    }
    return WriteReport(study, o.report, Jobs(o)) != 0 ? 1 : status;
}

}  // namespace

int main(int argc, char** argv)
{
    InstallInterruptHandlers();
    Options o;
    if (!Parse(argc, argv, o)) {
        return RefuseCommandLine(VarnikBatchHelp());
    }
    if (!o.answer.empty() && AnswerHelpOrVersion(VarnikBatchHelp(), o.answer))
        return 0;
    if (o.reportShares > 0)
        return DrawReportShare(o.study, o.report, o.reportShare, o.reportShares);
    if (!o.merge.empty())
        return Merge(o.merge, o.report, o.partial, Jobs(o));
    if (o.describe) {
        if (o.setups.empty()) {
            return RefuseCommandLine(VarnikBatchHelp());
        }
        return DescribeFiles(o.setups, o.templatePath, o.outDir);
    }
    for (const std::string* folder : {&o.study, &o.report})
        if (const std::string why = o.worker || folder->empty() ? "" : FolderUnwritable(*folder); !why.empty()) {
            std::fprintf(stderr, "%s: nothing analysed\n", why.c_str());
            return 1;
        }
    if (o.task) {
        if (o.setups.size() != 1) {
            return RefuseCommandLine(VarnikBatchHelp());
        }
        const char* fromSlurm = std::getenv("SLURM_ARRAY_TASK_ID");
        long index = o.taskIndex;
        if (index == 0 && !(fromSlurm && Number(fromSlurm, index))) {
            std::fprintf(stderr, "--task wants a task number, or SLURM_ARRAY_TASK_ID set\n");
            return 2;
        }
        const std::vector<std::string> list = SetupList(o.setups[0]);
        if (index < 1 || index > static_cast<long>(list.size())) {
            std::fprintf(stderr, "task %ld: %s lists %zu setups\n", index, o.setups[0].c_str(), list.size());
            return 2;
        }
        Options one = o;
        one.refusals = {ResultFileClashes(list)[static_cast<std::size_t>(index - 1)]};
        one.taskIndex = index;
        one.taskCount = static_cast<long>(list.size());
        one.setups = {list[static_cast<std::size_t>(index - 1)]};
        one.names = {RecordingNames(list)[static_cast<std::size_t>(index - 1)]};  // as one run over the list names it
        if (!o.study.empty() || !o.report.empty())
            one.part = TaskPart(!o.study.empty() ? o.study : o.report, index);
        return RunHere(one);
    }
    if (o.setups.empty()) {
        return RefuseCommandLine(VarnikBatchHelp());
    }
    if (!o.worker)
        o.refusals = ResultFileClashes(o.setups);
    const int jobs = Jobs(o);
    if (o.worker || jobs == 1 || o.setups.size() == 1)
        return RunHere(o);
    return RunInWorkers(o, jobs);
}
