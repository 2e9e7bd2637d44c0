#pragma once

// Recordings in parallel: each in a process of its own (this program again,
// as a worker), so that each has its own recording, settings and toolkit and
// memory stays at one recording per process. At most `jobs` run at once; on
// a terminal one progress line per running recording and a total are drawn.

#include <string>
#include <vector>

namespace vk {

struct WorkerJob {
    std::string setup;
    std::string name;     // the recording's name in the study
    std::string part;     // folder for its study tables; empty for none
    std::string refusal;  // why it is not analysed at all; empty to analyse it
};

struct WorkerOptions {
    int jobs = 1;
    bool append = false;
    bool fitBouts = false;  // bouts grouped with the criterion fitted per recording
    bool suggest = false;   // --suggest
    bool outliersMissing = false;
    std::string report;  // the report's folder, for the picture of each record
    bool showProgress = false;
};

// Runs the jobs; their output is passed on when each ends. True for a
// worker that analysed its recording, per job.
std::vector<bool> RunWorkers(const std::vector<WorkerJob>& jobs, const WorkerOptions& options);

// This program's own file, so that a process started from it is named as the program in ps.
const std::string& ProgramFile();

// The worker's side: the progress line the parent reads.
void ReportProgress(double share, int dives);

}  // namespace vk
