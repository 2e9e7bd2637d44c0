#include "batch/ResultFiles.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "batch/Interruption.h"
#include "core/dive/ResultStep.h"
#include "core/dive/ResultTables.h"
#include "core/setup/SetupFile.h"
#include "core/setup/Start.h"
#include "core/setup/Workbench.h"
#include "core/store/FileUtil.h"

namespace vk {

namespace {

std::string StagingName(const std::string& file)
{
    return file + ".partial-" + std::to_string(getpid());
}

// The dive table a setup's run writes (the others are named after it); empty when unknown.
std::string DiveTableOf(const std::string& setup)
{
    Workbench wb;
    if (!ReadSetup(setup, wb.rec, wb.settings))
        return {};
    // Without its depth file a run fails before it writes anything: no clash.
    const std::string data = wb.rec.desc(AnalysisSlot).NameIn;
    if (!FileExists(data))
        return {};
    NameResultFiles(wb, data);
    std::error_code ec;
    const std::filesystem::path table = std::filesystem::weakly_canonical(wb.settings.NameOutFile[AnalysisSlot], ec);
    return ec ? wb.settings.NameOutFile[AnalysisSlot] : table.string();
}

}  // namespace

std::vector<std::string> ResultFileClashes(const std::vector<std::string>& setups)
{
    std::vector<std::string> refusals(setups.size()), tables;
    for (std::size_t k = 0; k < setups.size(); ++k) {
        tables.push_back(DiveTableOf(setups[k]));
        for (std::size_t e = 0; e < k && !tables[k].empty(); ++e)
            if (tables[e] == tables[k]) {
                refusals[k] = setups[k] + " writes the same result files as " + setups[e] + " (" + tables[k] +
                              "): not analysed, so that the dives of the two do not mix in one table";
                break;
            }
    }
    return refusals;
}

RecordingResultFiles::RecordingResultFiles(Workbench& wb, bool append) : wb_(wb), append_(append)
{
    for (const auto& [target, file] : NamedTables(wb)) {
        TableTarget t;
        t.requested = t.path = file;
        if (append) {
            t.keepAll = true;  // checked against the file's columns at the first line
        } else {
            t.state = TableTarget::Ready;  // a new file: its columns are ours
            t.staging = StagingName(file);
            std::remove(t.staging.c_str());  // a leftover of a killed run with this process number
            RemoveOnInterrupt(t.staging);
        }
        tables_.push_back({file, t.staging});
        *target = std::move(t);
    }
}

RecordingResultFiles::~RecordingResultFiles()
{
    if (committed_)
        return;
    for (const Table& t : tables_) {
        if (t.staging.empty())
            continue;
        std::remove(t.staging.c_str());
        ForgetRemoval(t.staging);
    }
}

std::string RecordingResultFiles::commit()
{
    ResultTargets& targets = wb_.dive.tables;
    FlushTables(targets);
    if (append_)
        CommitHeld(targets);
    if (std::string failure = TablesFailure(targets); !failure.empty())
        return failure;
    if (append_) {
        committed_ = true;
        return {};
    }
    // Every table of the run is written: the earlier ones go aside, the new ones take their names.
    for (const Table& t : tables_) {
        if (!FileExists(t.final))
            continue;
        if (!KeepAside(t.final))
            return "Cannot move the earlier results " + t.final + " aside to " + t.final + ".1: " +
                   SystemReason(errno);
        std::fprintf(stderr, "earlier results kept as %s.1\n", t.final.c_str());
    }
    for (const Table& t : tables_) {
        if (!FileExists(t.staging))
            continue;  // the run had no lines for it
        if (std::rename(t.staging.c_str(), t.final.c_str()) != 0)
            return "Cannot put " + t.final + " in place: " + SystemReason(errno);
        ForgetRemoval(t.staging);
    }
    committed_ = true;
    return {};
}

}  // namespace vk
